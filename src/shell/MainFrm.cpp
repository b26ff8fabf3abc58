#include "shell/MainFrm.h"

#include "platform/MessageLoop.h"
#include "world/Global.h"

extern CMainFrame* g_pMainFrame;

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
}

CMainFrame::~CMainFrame() {
    // Nothing more is delivered to a frame that is going away.
    qv::MessageLoop::Instance().Forget(this);
    // The screen goes with the frame; the software cursor, which outlives it,
    // lets go of its surfaces.
    ReleaseDirectDraw();
    // The groups go first: their creatures leave the map while it still exists.
    m_World.DeleteGroups();
    // From here on the accessors answer as if there were no frame.
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

void CMainFrame::RequestQuit(int code) {
    m_bQuitRequested = 1;
    m_iQuitCode = code;
    qv::MessageLoop::Instance().PostQuit(code);
}
