// The game loop: every 50 ms the window timer delivers one tick, in which play
// runs the world one step (Play::Tick) and the frame then draws what it reads.

#include <algorithm>
#include <cmath>
#include <iterator>

#include "creatures/Player.h"
#include "creatures/PlayerEvents.h"
#include "items/Spell.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "platform/GameTime.h"
#include "platform/MessageLoop.h"
#include "shell/BuildTools.h"
#include "shell/MainFrm.h"
#include "structures/Fixtures.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"

namespace {

// Marks a tick in progress for as long as it runs.
class TickGuard {
public:
    explicit TickGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~TickGuard() { --m_depth; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    int& m_depth;
};

// Copies a whole surface onto another; a lost target or source is restored
// and the copy tried once more.
bool CopyWhole(qv::Surface& to, qv::Surface& from) {
    if (to.Blt({0, 0}, from, from.Bounds()) == qv::kDrawOk) return true;
    to.Restore();
    from.Restore();
    return to.Blt({0, 0}, from, from.Bounds()) == qv::kDrawOk;
}

// The side panel of the screen, which full-screen play copies back after
// every flip.
constexpr qv::Rect kSidePanel{545, 7, 636, 360};

}  // namespace

bool CMainFrame::StartTimer() {
    m_nTimerID =
        static_cast<uint32_t>(qv::MessageLoop::Instance().SetTimer(kTimerId, kTickMs, this));
    return m_nTimerID != 0;
}

int CMainFrame::RunMessageLoop() {
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.SetMainHandler(this);
    if (!StartTimer()) return 3;
    return loop.Run();
}

void CMainFrame::StopTimer() {
    if (m_nTimerID) qv::MessageLoop::Instance().KillTimer(static_cast<int>(m_nTimerID));
    m_nTimerID = 0;
}

void CMainFrame::OnTimer(int id) {
    // A tick never runs inside another, nor while a modal window runs its
    // own loop (a message box opened from a tick would otherwise let the
    // next tick in halfway through this one), and nothing runs once the
    // program has been asked to end.
    if (m_iTickDepth > 0 || qv::MessageLoop::Instance().ModalDepth() > 0 || m_bQuitRequested ||
        m_Play.m_iStartState == 2)
        return;
    TickGuard guard(m_iTickDepth);
    CMouseCursor* cursor = GetMouseCursor();

    const int32_t step = m_World.m_bFastTime ? m_iTickStep * Play::kFastTimeFactor : m_iTickStep;
    const bool quiet = IsQuiet();
    const bool loopTick = id == kTimerId;

    if (m_bFullRedraw && quiet && m_pScreenImage && m_pBackBuffer) {
        if (qv::Surface* picture = m_pScreenImage->GetFrameSurface(0)) {
            if (CopyWhole(*m_pBackBuffer, *picture) && cursor)
                cursor->RedrawCursorInRect(m_pBackBuffer->Bounds(), 1);
        }
        if (CDDWnd* inventory = m_pGameWindows->Open().m_pInventoryWnd) inventory->Redraw();
    }

    if (loopTick && quiet) {
        if (!m_Play.m_bPaused && m_bLeftHeld) m_iButtonHeldTime += step;
        // Play's tick, in its order (the orders handed since the last tick
        // are in already): then the frame draws what the world now is.
        if (m_Play.Tick(step)) {
            DrawFrame(0);
            DrawPauseBar();
            RedrawMapCell(0);
            if (CBuildTools* tools = GetBuildTools(); tools && m_bBuildMode) tools->Refresh(0);
        }
        if (m_bQuitRequested) return;
    }

    // The in-game windows take in what the tick left (made with the first
    // one) and are drawn over the screen.
    if (m_Play.IsStarted()) {
        if (!m_pGameWindows->ControlPanel())
            m_pGameWindows->MakePanels(m_World.m_pControlPlayer.Get());
        m_pGameWindows->Sync();
        if (!m_bModalPopup && !m_Play.IsEditing()) m_pGameWindows->DrawAll();
    }
    if (CDDWnd* panel = m_pGameWindows->Open().m_pPartyPanel;
        panel && !m_bModalPopup && !m_Play.IsEditing())
        panel->Redraw();
    DrawHoldGroundButton();

    if (loopTick && m_bAppActive && m_Play.m_iStartState == 0 && m_pPrimary && m_pBackBuffer) {
        if (!m_bWindowed) {
            if (cursor) cursor->ToggleImage();
            if (FlipSurfaces() == qv::kDrawSurfaceLost) RestoreSurfaces();
            if (m_pBackBuffer->Blt({kSidePanel.left, kSidePanel.top}, *m_pPrimary, kSidePanel) !=
                qv::kDrawOk) {
                RestoreSurfaces();
                return;
            }
            if (m_Play.IsPopupOpen(false) || m_bFullRedraw) {
                m_bFullRedraw = 0;
                if (!CopyWhole(*m_pBackBuffer, *m_pPrimary)) {
                    RestoreSurfaces();
                    return;
                }
            } else if (cursor) {
                cursor->HideNow();
            }
        } else if (quiet) {
            // In a window the composed frame is shown as it is: the view went
            // across in the drawing; the panels drawn around it follow. A
            // whole redraw asked for has been done by now.
            m_bFullRedraw = 0;
            PresentWindowed();
        }
    }

    if (!m_Play.Travelling().IsLandMovePending()) CheckPartyAlive();
}

void CMainFrame::PresentWindowed() {
    if (!m_pDrawSurface || !m_pPrimary || m_pDrawSurface == m_pPrimary.get()) return;
    const qv::Rect pieces[] = {
        {390, 330, 515, 355},  // the pause bar
        {m_View.m_ptMinimapOrigin.x, m_View.m_ptMinimapOrigin.y,
         m_View.m_ptMinimapOrigin.x + MapMaster::MinimapWidth,
         m_View.m_ptMinimapOrigin.y + MapMaster::MinimapHeight},
        m_rcHoldGroundButton,
    };
    for (const qv::Rect& r : pieces) {
        if (m_pPrimary->Blt({r.left, r.top}, *m_pDrawSurface, r) != qv::kDrawOk) {
            RestoreSurfaces();
            m_pPrimary->Blt({r.left, r.top}, *m_pDrawSurface, r);
        }
    }
    PresentScreen(m_pPrimary->Bounds());
}

void CMainFrame::CheckPartyAlive() {
    for (size_t slot = 0; slot < 4; ++slot) {
        Player* member = m_World.m_Party[slot].Get();
        if (!member || member->m_sLifeState >= 1) continue;
        if (m_Play.ActiveGenerator()) {
            m_Play.ResetGeneratorFight(member->m_pGroup);
            continue;
        }
        if (!RunOptionsWindow(0, 0)) {
            RequestQuit(0);
            return;
        }
        if (m_bQuitRequested) return;
    }
}

void CMainFrame::ScrollStep() {
    const qv::Point v = m_View.GetViewPoint(m_ptCursor);
    const double dx = v.x - m_View.m_ptViewCentre.x;
    const double dy = v.y - m_View.m_ptViewCentre.y;
    const double sx = dx * std::fabs(dx);
    const double sy = dy * std::fabs(dy);
    const double s = std::fabs(sx) + std::fabs(sy);
    // The cursor on the view's centre points nowhere: no step this tick.
    if (s == 0.0) return;
    const double nx = sx / s;
    const double ny = sy / s;

    Player* leader = m_World.m_pLeader.Get();
    const int32_t ux = leader ? 100 : MapMaster::CellWidth;
    const int32_t uy = leader ? 100 : MapMaster::CellHeight;
    int32_t x = m_World.m_ptFocus.x;
    int32_t y = m_World.m_ptFocus.y;
    int diagonal = 0;
    if (std::fabs(ny) > 0.75) {
        x += ny < 0 ? -ux : ux;
        y += ny < 0 ? -uy : uy;
    } else if (std::fabs(ny) > 0.25) {
        if (ny < 0 && nx > 0) {
            y -= uy;
        } else if (ny < 0) {
            x -= 2 * ux;
            y -= uy;
            diagonal = 1;
        } else if (nx > 0) {
            x += 2 * ux;
            y += uy;
            diagonal = -1;
        } else {
            y += uy;
        }
    } else {
        x += nx > 0 ? ux : -ux;
    }

    if (leader) {
        m_Play.Give(Order::At(Order::Kind::LeadTo, Position(x, y, 0)));
        return;
    }
    // The editor's view moves by itself; a diagonal goes in two halves on
    // alternate ticks so that the view keeps to the screen's slant.
    if (diagonal != 0) {
        x += diagonal * ux;
        if (!m_bDiagonalToggle) y += diagonal * uy;
        m_bDiagonalToggle = !m_bDiagonalToggle;
    }
    m_Play.Give(Order::At(Order::Kind::View, Position(x, y, 0)));
}
