#include "shell/MainFrm.h"

#include <cstdio>
#include <cstdlib>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "platform/Files.h"
#include "platform/MessageLoop.h"
#include "platform/Rand.h"
#include "play/OrderFile.h"
#include "shell/BuildTools.h"
#include "windows/TalkWnd.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Object.h"

extern CMainFrame* g_pMainFrame;

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
    m_Play.Attach(&m_Host, &m_Host);
    m_pGameWindows = std::make_unique<CGameWindows>(m_Play, [this](qv::Point p, Position& at) {
        if (!m_View.m_rcView.Contains(p) || !m_World.map_master) return false;
        at = m_View.ViewToWorld(p);
        return true;
    });
    InstallTalkAndTradeWindows(m_Play, m_pGameWindows->Open(),
                               [this] { m_pGameWindows->DrawControlPanel(); });
    EndScrollWhenTalking();
    m_pGameWindows->m_RedrawView = [this] {
        if (m_Play.IsStarted()) DrawFrame(0);
    };
    m_World.m_PlaySound = [this](int number, qv::Point at) { PlayCombatSound(number, at); };
    if (const char* file = std::getenv("QV_RECORD"); file && *file) {
        m_strRecordFile = file;
        m_Play.Give(Order::With(Order::Kind::Record, 1));
    }
}

CMainFrame::~CMainFrame() {
    m_Play.Give(Order::Of(Order::Kind::EndPlay));
    if (!m_strRecordFile.empty()) {
        m_Play.Give(Order::With(Order::Kind::Record, 0));
        try {
            qv::WriteWholeFile(m_strRecordFile,
                               WriteOrderFile({m_Play.m_iTickCount, m_Play.Recorded()}));
        } catch (const qv::FileError& e) {
            std::fprintf(stderr, "%s\n", FileErrorText(e).c_str());
        }
    }
    // Nothing more is delivered to a frame that is going away.
    OnDestroy();
    // The windows let go of what they showed before the world goes.
    m_pGameWindows.reset();
    m_Play.Attach(nullptr, nullptr);
    qv::MessageLoop::Instance().Forget(this);
    // The spells go with the world they worked on, undoing nothing.
    m_World.m_ActiveSpells->Forget();
    // The sound device stops playing before anything it might play goes.
    ReleaseSounds();
    // The screen goes with the frame; the software cursor, which outlives it,
    // lets go of its surfaces.
    ReleaseDirectDraw();
    for (auto& image : m_pCursorImages) image.reset();
    m_pHoldGroundButton.reset();
    m_pPauseBarFrame.reset();
    m_pPauseBarFill.reset();
    // The groups go while the map still exists: their creatures leave it as
    // they go. The map itself goes after them.
    m_World.m_pHoverHolder = nullptr;
    m_View.Release();
    m_World.DeleteGroups();
    // From here on the accessors answer as if there were no frame.
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

void CMainFrame::OnDestroy() {
    m_World.m_FlyingObjects.clear();
    if (m_pWindow) m_pWindow->Minimise();
    StopTimer();
}

void CMainFrame::RequestQuit(int code) {
    if (m_bQuitRequested) return;
    m_bQuitRequested = 1;
    m_iQuitCode = code;
    StopTimer();
    qv::MessageLoop::Instance().PostQuit(code);
}

void CMainFrame::OnMove(qv::Point) {
    // Our surfaces are the window's client area, wherever the window stands
    // on the screen: the view and the mini-map keep their places in it.
    m_View.Place({0, 0});
}

void CMainFrame::OnActivateApp(bool active) {
    if (m_bAssertShowing || m_Play.m_iStartState == 2) {
        if (!active) m_bAppActive = 0;
        return;
    }
    // The walk after a held button ends with the focus; the music pauses
    // while another program has it.
    if (m_bMouseWalking) {
        m_Play.Give(Order::Of(Order::Kind::EndWalk));
        m_iTickStep = m_iNormalTickStep;
        m_bLeftHeld = 0;
        m_bMouseWalking = 0;
        m_iButtonHeldTime = 0;
    }
    if (m_pMidi) {
        if (!active)
            m_pMidi->Pause();
        else if (m_bSoundOn && m_bMusicOn)
            m_pMidi->Restart();
    }
    if (m_bWindowed || m_iStage == 0) return;
    m_bAppActive = active ? 1 : 0;
    if (!active) {
        // In full screen nothing runs, and no game time passes, while the
        // program is in the background.
        StopTimer();
        if (m_iStage == 1) return;
        if (m_pWindow) m_pWindow->Minimise();
        if (CMouseCursor* cursor = GetMouseCursor()) cursor->m_bShown = 0;
        return;
    }
    if (m_pWindow) m_pWindow->Restore();
    if (m_iStage == 3 && !m_nTimerID) StartTimer();
    if (m_iStage == 2) {
        RestoreSurfaces();
        m_Play.MoveToLand();
    }
    if (m_iStage == 3) {
        if (m_pScreenImage) m_pScreenImage->Restore();
        RestoreSurfaces();
        if (CMouseCursor* cursor = GetMouseCursor()) {
            cursor->ReloadImages();
            cursor->m_bShown = 1;
        }
        if (m_pWindow) m_pWindow->ShowSystemCursor(false);
        const qv::Surface* picture = m_pScreenImage ? m_pScreenImage->GetFrameSurface(0) : nullptr;
        if (picture && m_pPrimary && m_pBackBuffer) {
            m_pPrimary->Blt({0, 0}, *picture, picture->Bounds());
            m_pBackBuffer->Blt({0, 0}, *picture, picture->Bounds());
            PresentScreen(m_pPrimary->Bounds());
        }
    }
}

void CMainFrame::OnPaint() {
    if (m_bAssertShowing || m_Play.m_iStartState == 2) return;
    if (m_Play.m_iStartState != 0 || !m_bAppActive || !m_pScreenImage || !m_pPrimary) return;
    const qv::Surface* picture = m_pScreenImage->GetFrameSurface(0);
    if (!picture) return;
    if (m_pPrimary->Blt({0, 0}, *picture, picture->Bounds()) != qv::kDrawOk) {
        RestoreSurfaces();
        m_pScreenImage->Restore();
        m_pPrimary->Blt({0, 0}, *picture, picture->Bounds());
    }
    HoverText(m_ptCursor.x, m_ptCursor.y);
    if (!m_Play.Travelling().IsLandMovePending() && !m_Play.Travelling().IsRefreshPending() &&
        m_iTickDepth == 0) {
        DrawFrame(0);
        RedrawMapCell(0);
    }
    PresentScreen(m_pPrimary->Bounds());
    if (CBuildTools* tools = GetBuildTools(); tools && m_bBuildMode && m_Play.IsEditing())
        tools->Refresh(1);
}
