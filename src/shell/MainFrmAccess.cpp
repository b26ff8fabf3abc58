// The accessors that answer from the main frame itself (the debug view, the
// message line) and the messages that mark the frame while they show.

#include <cstdarg>
#include <cstdlib>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "world/Global.h"

// Set by the frame's constructor, cleared when its destruction begins.
CMainFrame* g_pMainFrame = nullptr;

CMainFrame* GetMainFrame() {
    return g_pMainFrame;
}

CPopupChain* GetPopupChain() {
    return GetMainFrame();
}

int SetMessageLine(const std::string& text) {
    if (CMainFrame* f = GetMainFrame()) {
        f->m_strMessageLine = text;
        f->m_MessageLine.SetText(text);
    }
    return 1;
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
    qv::ShowMessage(FileErrorText(error), qv::MessageButtons::Ok);
    if (CMainFrame* f = GetMainFrame())
        f->RequestQuit(2);
    else
        std::exit(2);
}
