// The game loop: every 50 ms the window timer delivers one tick, which moves
// game time on, runs the world one step and draws it.

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

void CMainFrame::TogglePause() {
    m_bTabTarget = 0;
    if (!m_Play.m_iSelectMode) m_bPaused = !m_bPaused;
}

void CMainFrame::OnTimer(int id) {
    // A tick never runs inside another, nor while a modal window runs its
    // own loop (a message box opened from a tick would otherwise let the
    // next tick in halfway through this one), and nothing runs once the
    // program has been asked to end.
    if (m_iTickDepth > 0 || qv::MessageLoop::Instance().ModalDepth() > 0 || m_bQuitRequested ||
        m_iStartState == 2)
        return;
    TickGuard guard(m_iTickDepth);
    CMouseCursor* cursor = GetMouseCursor();

    const int32_t step = m_World.m_bFastTime ? m_iTickStep * kFastTimeFactor : m_iTickStep;
    const bool quiet = IsQuiet();
    const bool loopTick = id == kTimerId;

    if (m_bFullRedraw && quiet && m_pScreenImage && m_pBackBuffer) {
        if (qv::Surface* picture = m_pScreenImage->GetFrameSurface(0)) {
            if (CopyWhole(*m_pBackBuffer, *picture) && cursor)
                cursor->RedrawCursorInRect(m_pBackBuffer->Bounds(), 1);
        }
        if (m_Play.m_OpenWindows.m_pInventoryWnd) m_Play.m_OpenWindows.m_pInventoryWnd->Redraw();
    }

    if (loopTick && quiet) {
        if (!m_bPaused) {
            if (m_bLeftHeld) m_iButtonHeldTime += step;
            PauseBudget = std::min(PauseBudget + step, kPauseBankMax);
            m_World.m_iGameTime = qv::TimeAdd(m_World.m_iGameTime, step);
            m_iMusicTime += step;
            m_World.m_pTimeOfDay->Advance(m_World.m_iGameTime);
            if (Map()) Map()->OnNewHour(m_World.m_iGameTime, m_World.m_pTimeOfDay->m_sHour);
            UpdateTick(&m_World.m_iGameTime);
        } else {
            PauseBudget -= step;
            if (PauseBudget <= 0) {
                PauseBudget = 0;
                TogglePause();
            }
            // The world stands still; windows, hover text and drawing go on.
            if (m_iStartState == 0) UpdateTick(&m_World.m_iGameTime);
        }
        if (m_bQuitRequested) return;
    }

    if (m_Play.m_OpenWindows.m_pPartyPanel && !m_bModalPopup && !m_Play.m_bEditing)
        m_Play.m_OpenWindows.m_pPartyPanel->Redraw();
    DrawHoldGroundButton();

    if (loopTick && m_bAppActive && m_iStartState == 0 && m_pPrimary && m_pBackBuffer) {
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

    if (!m_bLandMovePending) CheckPartyAlive();
}

void CMainFrame::PresentWindowed() {
    if (!m_pDrawSurface || !m_pPrimary || m_pDrawSurface == m_pPrimary.get()) return;
    const qv::Rect pieces[] = {
        {390, 330, 515, 355},  // the pause bar
        {m_ptMinimapOrigin.x, m_ptMinimapOrigin.y, m_ptMinimapOrigin.x + MapMaster::MinimapWidth,
         m_ptMinimapOrigin.y + MapMaster::MinimapHeight},
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
        if (m_pActiveGenerator) {
            ResetGeneratorFight(member->m_pGroup);
            continue;
        }
        if (!RunOptionsWindow(0, 0)) {
            RequestQuit(0);
            return;
        }
        if (m_bQuitRequested) return;
    }
}

void CMainFrame::AfterWorldChange() {
    m_nCursorID = kCursorNormal;
    SetDragObject(nullptr);
    if (qv::Window* w = qv::Window::Current()) w->ShowSystemCursor(true);
    SetControlPlayer(nullptr, 1);
    m_World.m_pHoverHolder = nullptr;
}

void CMainFrame::UpdateTick(int32_t* now) {
    if (!m_bAppActive || !now) return;

    if (m_Play.m_pPendingWorld) {
        // The statistics flag holds the ticks off while the world changes.
        m_Play.m_OpenWindows.m_bStatsOpen = 1;
        Object* target = m_Play.m_pPendingWorld;
        m_Play.m_pPendingWorld = nullptr;
        // The stairs go with the world they are in: their way is read first.
        if (const auto* stairs = qv::DynamicCast<Stairs>(target)) {
            const std::string world = stairs->m_strWorldFile;
            GoToWorld(world, stairs->m_iTargetX, stairs->m_iTargetY);
        }
        m_bLeftHeld = 0;
        m_Play.m_OpenWindows.m_bStatsOpen = 0;
    }
    if (m_bLandMovePending && m_iStartState == 0) {
        MoveToLand();
        m_bLandMovePending = 0;
        AfterWorldChange();
    }
    if (m_bRefreshPending && m_iStartState == 0) {
        OnShowStatistics();
        m_bRefreshPending = 0;
        AfterWorldChange();
    }

    if (m_iStartState != 0) {
        FirstTick();
        if (m_iStartState != 0) return;
    }

    if (qv::MessageLoop::Instance().PeekInput(qv::EventKind::LButtonUp)) m_bLeftHeld = 0;

    Player* leader = m_World.m_pLeader.Get();
    if (m_bLeftHeld && (m_iButtonHeldTime > kHeldScrollDelay || m_Play.m_bEditing)) {
        ScrollStep();
    } else if (leader && leader->m_pOrder) {
        *leader->m_pOrder = ObjectEvent();  // the walk after the held button ends
    }

    HoverText(m_ptCursor.x, m_ptCursor.y);
    RunWorld(now);
    if (m_bQuitRequested) return;

    leader = m_World.m_pLeader.Get();
    if (leader && m_pActiveGenerator) CheckGeneratorFight(leader->m_pGroup);

    DrawFrame(0);
    DrawPauseBar();
    RedrawMapCell(0);
    RefreshPartyTips();
}

void CMainFrame::FirstTick() {
    if (!UpdateScreen(m_bReloadImages)) return;
    m_bReloadImages = 0;
    // Frames are composed over the same screen picture the window shows.
    if (const qv::Surface* picture = m_pScreenImage->GetFrameSurface(0); picture && m_pBackBuffer)
        m_pBackBuffer->Blt({0, 0}, *picture, picture->Bounds());
    m_pDrawSurface = m_pBackBuffer.get();
    CMouseCursor* cursor = GetMouseCursor();
    if (cursor) {
        cursor->m_pSurface = m_pDrawSurface;
        if (!m_bWindowed) cursor->m_bFlipMode = 1;
    }
    MoveToLand();
    RefreshPartyTips();
    SetDragObject(m_pDragHolder);
    if (Map() && Map()->CheckFocusEdge(Position(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0)) ==
                     Group::kWorldChanged)
        MoveToLand();
    m_iStartState = 0;
    SetControlPlayer(nullptr, 1);
}

void CMainFrame::ScrollStep() {
    const qv::Point v = GetViewPoint(m_ptCursor);
    const double dx = v.x - m_ptViewCentre.x;
    const double dy = v.y - m_ptViewCentre.y;
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
        if (!leader->m_pOrder) leader->m_pOrder = std::make_unique<ObjectEvent>();
        *leader->m_pOrder = ObjectEvent(ObjectEventType::MOVE, 0, nullptr, 0, x, y);
        return;
    }
    // The editor's view moves by itself; a diagonal goes in two halves on
    // alternate ticks so that the view keeps to the screen's slant.
    if (diagonal != 0) {
        x += diagonal * ux;
        if (!m_bDiagonalToggle) y += diagonal * uy;
        m_bDiagonalToggle = !m_bDiagonalToggle;
    }
    Position focus(x, y, 0);
    if (Map()) Map()->WrapPosition(focus);
    m_World.m_ptFocus = {focus.x, focus.y};
    if (Map() && Map()->CheckFocusEdge(focus) == Group::kWorldChanged) MoveToLand();
}

void CMainFrame::RunWorld(int32_t* now) {
    if (!now) return;
    const int32_t t = *now;

    // Spells: a check may end and delete spells of the list, the walked one
    // included, or add new ones; any change of the count starts the walk
    // again from the head, so no position is used after a removal. The
    // restarts are bounded so that spells that keep adding spells cannot
    // hold the tick forever.
    {
        size_t count = m_ActiveSpells.size();
        size_t budget = 64 * (count + 1);
        auto it = m_ActiveSpells.begin();
        while (it != m_ActiveSpells.end() && budget-- > 0) {
            auto next = std::next(it);
            Spell* spell = it->get();
            if (spell->CheckExpired(t) == -1) {
                auto found = std::find_if(m_ActiveSpells.begin(), m_ActiveSpells.end(),
                                          [spell](const auto& p) { return p.get() == spell; });
                if (found != m_ActiveSpells.end()) m_ActiveSpells.erase(found);
            }
            if (m_ActiveSpells.size() != count) {
                count = m_ActiveSpells.size();
                it = m_ActiveSpells.begin();
            } else {
                it = next;
            }
        }
    }

    if (m_World.m_pAllGroups && m_World.m_pAllGroups->Update(t, Map()) == Group::kWorldChanged) {
        MoveToLand();
        return;
    }
    if (m_bQuitRequested) return;

    for (auto it = m_FlyingObjects.begin(); it != m_FlyingObjects.end();) {
        auto next = std::next(it);
        if ((*it)->Update(t, Map()) == Group::kLeaveGroup) m_FlyingObjects.erase(it);
        it = next;
    }

    // The area under the focus sets the light and the music.
    if (!m_World.m_pLeader.Get() || !Map()) return;
    CellPoint wc;
    if (!Map()->CellToWindow(Map()->focuscell, wc)) return;
    Land* land = Map()->GetCell(wc.x, wc.y).land;
    // Between lands (or before one is loaded) there is no area to follow.
    if (!land) return;
    UpdateArea(land, t);
}
