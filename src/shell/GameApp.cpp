#include "shell/GameApp.h"

#include <new>

#include "media/MouseCursor.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "shell/BuildTools.h"
#include "shell/MainFrm.h"
#include "windows/AboutDlg.h"

CGameApp::CGameApp() = default;

CGameApp::~CGameApp() {
    if (m_pMainWnd || m_pBuildTools || GetMouseCursor()) ExitInstance();
}

void CGameApp::SetBuildTools(std::unique_ptr<CBuildTools> tools) {
    m_pBuildTools = std::move(tools);
}

int CGameApp::InitInstance() {
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    m_dwStartTime = loop.GetClock().Now();
    try {
        m_pMainWnd = std::make_unique<CMainFrame>();
    } catch (const std::bad_alloc&) {
        qv::ShowMessage("Could not allocate enough memory", qv::MessageButtons::Ok);
        m_iExitCode = kStartFailed;
        return 0;
    }
    m_pMainWnd->m_Start.m_StartTrace = m_Trace;
    m_pMainWnd->m_Settings.m_strSettingsFile = m_strSettingsFile;
    if (!m_pMainWnd->Create()) {
        m_iExitCode = kStartFailed;
        return 0;
    }
    return 1;
}

int CGameApp::Run() {
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    m_iExitCode = loop.Run();
    return m_iExitCode;
}

int CGameApp::ExitInstance() {
    // The editor refers to the frame: it goes first.
    m_pBuildTools.reset();
    if (m_pMainWnd) {
        if (m_Trace) m_Trace("frame destroyed");
        qv::MessageLoop::Instance().SetMainHandler(nullptr);
        m_pMainWnd.reset();
    }
    if (m_Trace) m_Trace("software cursor deleted");
    SetMouseCursor(nullptr);
    return m_iExitCode;
}

int CGameApp::OnAppAbout() {
    CAboutDlg about;
    return about.Popup();
}
