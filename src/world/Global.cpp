#include "world/Global.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"

// Set by the frame's constructor, cleared when its destruction begins.
CMainFrame* g_pMainFrame = nullptr;

CMainFrame* GetMainFrame() {
    return g_pMainFrame;
}

MapMaster* GetMapMaster() {
    CMainFrame* f = GetMainFrame();
    return f ? f->map_master : nullptr;
}

int IsEditMode() {
    CMainFrame* f = GetMainFrame();
    return f ? f->m_bEditing : 0;
}

std::vector<Player*>* GetPlayerArray() {
    CMainFrame* f = GetMainFrame();
    return f ? &f->m_PlayerArray : nullptr;
}

int GetDrawEnabled() {
    return 1;
}

int SetMessageLine(const std::string& text) {
    if (CMainFrame* f = GetMainFrame()) {
        f->m_strMessageLine = text;
        f->m_MessageLine.SetText(text);
    }
    return 1;
}

std::string GetBaseDirectory() {
    CMainFrame* f = GetMainFrame();
    return f ? f->m_strGameFolder : std::string();
}

void AssertFailed(int line, const char* file, const char* expression) {
    const char* name = file ? file : "";
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    FatalMessage("assertion failed (%d:%s)\n%s", line, name, expression ? expression : "");
}

void FatalMessage(const char* format, ...) {
    if (!format) std::exit(1);
    va_list args;
    va_start(args, format);
    std::string text = qv::FormatV(format, args);
    va_end(args);
    if (CMainFrame* f = GetMainFrame()) f->m_bAssertShowing = 1;
    qv::MessageAnswer answer = qv::ShowMessage(text, qv::MessageButtons::RetryCancel);
    if (answer != qv::MessageAnswer::Retry) std::exit(1);
    if (CMainFrame* f = GetMainFrame()) f->m_bAssertShowing = 0;
}

void ReportFileException(const qv::FileError& error) {
    std::string text = error.cause == qv::FileError::NotFound
                           ? qv::Format("%s not found.", error.fileName.c_str())
                           : qv::Format("Problem with file %s.", error.fileName.c_str());
    qv::ShowMessage(text, qv::MessageButtons::Ok);
    if (CMainFrame* f = GetMainFrame())
        f->RequestQuit(2);
    else
        std::exit(2);
}
