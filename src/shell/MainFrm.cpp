#include "shell/MainFrm.h"

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMoves.h"
#include "events/GameEvent.h"
#include "items/Spell.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "platform/MessageLoop.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Object.h"

extern CMainFrame* g_pMainFrame;

namespace {
// The shared chance generator starts from the same seed in every game.
constexpr uint32_t kRandomSeed = 123459876;
}  // namespace

CMainFrame::CMainFrame() {
    g_pMainFrame = this;
    qv::SeedRand(kRandomSeed);
    // The world code reaches the path finder and the scripted moves through
    // these hooks.
    InstallPathFinder();
    InstallScriptedMoves();
    m_Play.m_pAsk = &m_Ask;
}

CMainFrame::~CMainFrame() {
    m_iStartState = 2;
    // Nothing more is delivered to a frame that is going away.
    OnDestroy();
    qv::MessageLoop::Instance().Forget(this);
    m_ActiveSpells.clear();
    // The sound device stops playing before anything it might play goes.
    ReleaseSounds();
    // The screen goes with the frame; the software cursor, which outlives it,
    // lets go of its surfaces.
    ReleaseDirectDraw();
    for (auto& image : m_pCursorImages) image.reset();
    m_pHoldGroundButton.reset();
    m_pPauseBarFrame.reset();
    m_pPauseBarFill.reset();
    m_pViewSurface.reset();
    // The groups go while the map still exists: their creatures leave it as
    // they go. The map itself goes after them.
    m_World.m_pHoverHolder = nullptr;
    m_pDragHolder = nullptr;
    m_DrawnHolders.clear();
    m_World.DeleteGroups();
    // From here on the accessors answer as if there were no frame.
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

void CMainFrame::OnDestroy() {
    m_FlyingObjects.clear();
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

void CMainFrame::InitFormation() {
    if (m_bFormationSet) return;
    m_FormationOffsets = {qv::Point{0, 0}, {25, 25}, {25, -25}, {40, 0}, {55, 40}, {55, -40}};
    m_bFormationSet = 1;
}

void CMainFrame::RebaseFormation() {
    qv::Point shift{0, 0};
    if (const int slot = m_World.FindPartySlot(m_World.m_pLeader.Get()); slot >= 0)
        shift = m_FormationOffsets[static_cast<size_t>(slot)];
    for (size_t i = 0; i < m_FormationOffsets.size(); ++i) {
        qv::Point& offset = m_FormationOffsets[i];
        offset = {offset.x - shift.x, offset.y - shift.y};
        qv::Point turned = offset;
        for (auto& row : m_World.m_FormationRows) {
            row[i] = turned;
            turned = RotateQuarter(turned);
        }
    }
}

void CMainFrame::OnMove(qv::Point) {
    // Our surfaces are the window's client area, wherever the window stands
    // on the screen: the view and the mini-map keep their places in it.
    PlaceView({0, 0});
}

void CMainFrame::PlaceView(qv::Point origin) {
    m_ptViewOrigin = {origin.x + 3, origin.y + 3};
    m_rcView = {m_ptViewOrigin.x, m_ptViewOrigin.y, m_ptViewOrigin.x + m_szView.x,
                m_ptViewOrigin.y + m_szView.y};
    m_ptMinimapOrigin = {origin.x + 207, origin.y + 371};
}

void CMainFrame::OnActivateApp(bool active) {
    if (m_bAssertShowing || m_iStartState == 2) {
        if (!active) m_bAppActive = 0;
        return;
    }
    // The walk after a held button ends with the focus; the music pauses
    // while another program has it.
    if (m_bMouseWalking) {
        if (Player* leader = m_World.m_pLeader.Get()) leader->RecomputeLoad();
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
        MoveToLand();
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
    if (m_bAssertShowing || m_iStartState == 2) return;
    if (m_iStartState != 0 || !m_bAppActive || !m_pScreenImage || !m_pPrimary) return;
    const qv::Surface* picture = m_pScreenImage->GetFrameSurface(0);
    if (!picture) return;
    if (m_pPrimary->Blt({0, 0}, *picture, picture->Bounds()) != qv::kDrawOk) {
        RestoreSurfaces();
        m_pScreenImage->Restore();
        m_pPrimary->Blt({0, 0}, *picture, picture->Bounds());
    }
    HoverText(m_ptCursor.x, m_ptCursor.y);
    if (!m_bLandMovePending && !m_bRefreshPending && m_iTickDepth == 0) {
        DrawFrame(0);
        RedrawMapCell(0);
    }
    PresentScreen(m_pPrimary->Bounds());
}

void CMainFrame::SetControlPlayer(Player* creature, int) {
    // The party windows that follow the controlled member come with the
    // in-game windows; the choice itself is kept here.
    if (creature) m_World.m_pControlPlayer = creature;
}

int CMainFrame::RunOptionsWindow(int, int) {
    TraceStart("options window");
    // Until the options window exists its first showing starts the game in
    // the start world, as its "new game" would, and nobody can ask to quit
    // at a later one: play goes on.
    if (m_bOptionsShown) return 1;
    return StartInOriginalWorld();
}

void CMainFrame::ResetGeneratorFight(Group*) {
    // Monster generators come with their own part of the game; a running
    // fight is never set without them.
}

void CMainFrame::CheckGeneratorFight(Group*) {}
