#include "shell/FrameHost.h"

#include "creatures/Player.h"
#include "media/DDWnd.h"
#include "media/MouseCursor.h"
#include "platform/MessageLoop.h"
#include "shell/BuildTools.h"
#include "shell/MainFrm.h"

int CFrameHost::Quantity(int amount) {
    CQuantityWnd window(&amount);
    return window.Popup() == 1 ? window.m_iAmount : 0;
}

bool CFrameHost::YesNo(const std::string& question) {
    return ShowGameMessageBox(question, 4) == CMessageWnd::kIdYes;
}

void CFrameHost::Tell(const std::string& text) {
    ShowGameMessage(text);
}

bool CFrameHost::ReadyToStart() {
    CMainFrame& f = m_frame;
    if (!f.UpdateScreen(f.m_bReloadImages)) return false;
    f.m_bReloadImages = 0;
    // Frames are composed over the same screen picture the window shows.
    if (const qv::Surface* picture = f.m_pScreenImage->GetFrameSurface(0);
        picture && f.m_pBackBuffer)
        f.m_pBackBuffer->Blt({0, 0}, *picture, picture->Bounds());
    if (CBuildTools* tools = GetBuildTools(); tools && f.m_bBuildMode) {
        // Any old palette goes; the new one enters itself in play.
        tools->OpenToolPalette(f.m_World.m_pLeader.Get());
    }
    f.m_pDrawSurface = f.m_pBackBuffer.get();
    if (CMouseCursor* cursor = GetMouseCursor()) {
        cursor->m_pSurface = f.m_pDrawSurface;
        if (!f.m_bWindowed) cursor->m_bFlipMode = 1;
    }
    return true;
}

void CFrameHost::TickOrders() {
    CMainFrame& f = m_frame;
    if (qv::MessageLoop::Instance().PeekInput(qv::EventKind::LButtonUp)) f.m_bLeftHeld = 0;
    if (f.m_bLeftHeld &&
        (f.m_iButtonHeldTime > CMainFrame::kHeldScrollDelay || f.m_Play.IsEditing())) {
        f.ScrollStep();
    } else if (f.m_World.m_pLeader) {
        // The walk after the held button ends.
        f.m_Play.Give(Order::Of(Order::Kind::LeadTo));
    }
    f.HoverText(f.m_ptCursor.x, f.m_ptCursor.y);
}

void CFrameHost::WorldTaken() {
    m_frame.m_nCursorID = CMainFrame::kCursorNormal;
    // The party panel forgets the bars it drew; the windows follow the
    // controlled member of the world taken in.
    m_frame.m_pGameWindows->WorldTaken();
    // Over the game the game's own cursor draws itself; the system's shows
    // only while that one does not.
    const CMouseCursor* cursor = GetMouseCursor();
    if (qv::Window* w = qv::Window::Current()) w->ShowSystemCursor(!cursor || !cursor->m_bShown);
}

void CFrameHost::ShowStatistics() {
    m_frame.OnShowStatistics();
}

void CFrameHost::WorldTravelled() {
    m_frame.m_bLeftHeld = 0;
}

void CFrameHost::PlayTune(int tune) {
    m_frame.PlayMidi(&tune);
}

void CFrameHost::ShowBusy(bool busy) {
    m_frame.m_nCursorID = busy ? CMainFrame::kCursorWait : CMainFrame::kCursorNormal;
}

bool CFrameHost::Quitting() {
    return m_frame.m_bQuitRequested != 0;
}

bool CFrameHost::WindowStopsWorld(bool countContainer) {
    // The windows are gone before the frame: none stops the world then.
    const CGameWindows* windows = m_frame.m_pGameWindows.get();
    return windows && windows->Open().StopsWorld(countContainer);
}

bool CFrameHost::InventoryWindowUp() {
    const CGameWindows* windows = m_frame.m_pGameWindows.get();
    return windows && windows->Open().m_pInventoryWnd;
}

void CFrameHost::TalkerComes() {
    m_frame.CancelMouseScroll(0);
    m_frame.m_bTalkArrival = 1;
}

bool CFrameHost::RedrawToolPalette() {
    if (!m_frame.m_pToolPalette) return false;
    m_frame.m_pToolPalette->Redraw();
    return true;
}
