// The mouse: the left button picks targets, selects members, flips the
// hold-ground switch, stops the party and scrolls the view; the right button
// pauses while held and gives the walk or act order when let go. Also the
// frame's click modes and menu commands.

#include "creatures/Player.h"
#include "media/MouseCursor.h"
#include "platform/MessageLoop.h"
#include "shell/BuildTools.h"
#include "shell/MainFrm.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

void Capture(CMainFrame* frame) {
    qv::MessageLoop::Instance().SetCapture(frame);
}

void Release() {
    qv::MessageLoop::Instance().ReleaseCapture();
}

bool HoldsCapture(CMainFrame* frame) {
    return qv::MessageLoop::Instance().GetCapture() == frame;
}

// Follows the mouse while a placed object's picture is dragged in the
// editor, until the button is let go (or Esc cancels).
class PlacedObjectDrag : public qv::ModalWindow {
public:
    explicit PlacedObjectDrag(qv::Point start) : m_end(start) {}
    bool IsModalDone() const override { return m_done; }
    void OnModalAbandoned() override { m_cancelled = true; }
    void OnMouseMove(qv::Point p) override {
        m_end = p;
        // The drawn cursor goes with the mouse while the frame does not see it.
        if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_bShown) cursor->MoveTo(p);
    }
    void OnLButtonUp(qv::Point p) override {
        m_end = p;
        m_done = true;
    }
    void OnKeyDown(int vk) override {
        if (vk == qv::VK_ESCAPE) m_cancelled = m_done = true;
    }
    qv::Point m_end;
    bool m_done = false;
    bool m_cancelled = false;
};

// The held left button (or the editor's right button) starts to count: the
// party stops where it is (with its Shift flags set by a double click).
void StopPartyForHold(CMainFrame& frame, int shift) {
    frame.m_Play.Give(Order::With(Order::Kind::Stop, shift));
    frame.m_iButtonHeldTime = 0;
}

// The held button is let go: the view stops following the cursor.
void EndHeldButton(CMainFrame& frame) {
    Release();
    frame.m_bLeftHeld = 0;
    if (frame.m_bMouseWalking) frame.m_Play.Give(Order::Of(Order::Kind::EndWalk));
    frame.m_iButtonHeldTime = 0;
    frame.m_bMouseWalking = 0;
    frame.m_iTickStep = frame.m_iNormalTickStep;
}

// In build mode the tool palette beside the game's picture takes the mouse
// events that are its own; true when it took this one.
bool ToPalette(const CMainFrame& frame, qv::EventKind kind, qv::Point point) {
    CBuildTools* tools = GetBuildTools();
    if (!tools || !frame.m_bBuildMode) return false;
    return tools->OnPaletteInput(qv::Event::Mouse(kind, point.x, point.y));
}

}  // namespace

// ---- Modes and commands

int CMainFrame::IsInputBlocked() const {
    if (m_Play.IsInputLocked()) return 1;
    const Player* leader = m_World.m_pLeader.Get();
    return leader && leader->m_iTalkState >= 0 ? 1 : 0;
}

void CMainFrame::ClearModes() {
    m_Play.Give(Order::With(Order::Kind::Editing, 0));
    m_bStatsMode = m_bTalkMode = m_bTradeMode = 0;
}

void CMainFrame::OnTalk() {
    ClearModes();
    m_bTalkMode = 1;
}

void CMainFrame::OnTrade() {
    ClearModes();
    m_bTradeMode = 1;
}

void CMainFrame::OnShowStatistics() {
    ClearModes();
    m_bStatsMode = 1;
    // While running, the party bars and the controlled member's windows are
    // drawn anew.
    if (m_Play.IsStarted()) {
        m_pGameWindows->PartyPanel().UpdatePartyBars();
        m_pGameWindows->PartyPanel().RefreshPartyPanel();
        SetControlPlayer(nullptr, 1);
    }
}

void CMainFrame::OnMenuCommand(int id) {
    switch (id) {
        case kCmdPause:
            m_Play.Give(Order::With(Order::Kind::Pause, Order::kToggle));
            break;
        case kCmdToggleSelectMode:
            m_Play.Give(Order::With(Order::Kind::SelectMode, m_Play.Interacting().SelectMode() == 0
                                                                 ? Interaction::kSelectToken
                                                                 : 0));
            break;
        case kCmdTalk:
            OnTalk();
            break;
        case kCmdTrade:
            OnTrade();
            break;
        case kCmdShowStatistics:
            OnShowStatistics();
            break;
        case kCmdNothing:
        default:
            break;
    }
}

void CMainFrame::SetDragObject(ObjectHolder* holder) {
    m_Play.Give(Order::On(Order::Kind::Carry, holder));
    if (holder) m_bLeftHeld = 0;
}

void CMainFrame::CancelMouseScroll(int keep) {
    if (!keep) EndHeldButton(*this);
    m_Play.Give(Order::With(Order::Kind::InputLock, keep ? 0 : 1));
}

void CMainFrame::EndScrollWhenTalking() {
    // The conversation's window takes the mouse while it is up, the held
    // button's let-go with it: the view must not go on following the cursor
    // once the conversation is over. The input lock is the conversation's.
    m_Play.Talks().InstallConversation(
        [this, open = m_Play.Talks().ConversationOpener()](Player* listener, Player* speaker,
                                                           const std::string& node) {
            if (m_bLeftHeld) EndHeldButton(*this);
            if (open) open(listener, speaker, node);
        });
}

void CMainFrame::CancelTargetSelection() {
    m_bRightPause = 0;
    m_Play.Give(Order::Of(Order::Kind::CancelTarget));
    m_nCursorID = kCursorNormal;
}

// ---- The left button

void CMainFrame::OnLButtonDown(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::LButtonDown, point)) return;
    if (IsInputBlocked()) return;
    // The in-game windows first: a thing carried, a member's button, a list.
    if (m_pGameWindows->OnLButtonDown(point)) return;
    ObjectHolder* candidate = m_World.m_pHoverHolder.Get();

    // A target is being chosen: this click picks it.
    if (m_Play.Interacting().SelectMode() >= 1) {
        if (!candidate) return;
        m_Play.Give(Order::On(Order::Kind::UseOn, candidate));
        m_nCursorID = kCursorNormal;
        return;
    }

    // A click on a party member makes it the controlled one.
    if (candidate && !m_Play.IsEditing())
        if (auto* member = dynamic_cast<Player*>(candidate->m_pObject);
            member && member->m_iPartySlot != 0) {
            Order select = Order::Of(Order::Kind::Select);
            select.actor = member;
            m_Play.Give(select);
            return;
        }

    if (m_rcHoldGroundButton.Contains(point)) m_Play.Give(Order::Of(Order::Kind::HoldGround));

    if (m_bBuildMode && m_Play.IsEditing() && candidate) {
        DragPlacedObject(candidate, point);
        return;
    }

    Player* leader = m_World.m_pLeader.Get();
    if (!m_View.m_rcView.Contains(point) || (m_Play.IsEditing() && !leader)) return;
    if (qv::MessageLoop::Instance().PeekInput(qv::EventKind::LButtonUp)) return;
    Capture(this);
    m_bLeftHeld = 1;
    StopPartyForHold(*this, 0);
}

void CMainFrame::DragPlacedObject(ObjectHolder* holder, qv::Point start) {
    qv::Handle<ObjectHolder> dragged(holder);
    PlacedObjectDrag drag(start);
    qv::MessageLoop::Instance().RunModal(drag);
    // The frame takes up the mouse where the drag left it, as if it had
    // followed it all along.
    OnMouseMove(drag.m_end);
    MapMaster* map = m_World.map_master.get();
    if (drag.m_cancelled || !dragged || !map) return;
    // Dropped on a list of things, that list takes it; anywhere else out of
    // the map view it goes, out of its key record too.
    if (!m_View.m_rcView.Contains(drag.m_end)) {
        if (!m_pGameWindows->DropPlaced(holder, drag.m_end))
            m_Play.Give(Order::On(Order::Kind::Delete, holder));
        return;
    }
    // Dropped in the map view: the object moves by the drag.
    const int dx = drag.m_end.x - start.x, dy = drag.m_end.y - start.y;
    const Position from = holder->pos;
    Order move = Order::At(Order::Kind::Move, Position(from.x + dx + dy, from.y + dy, from.z));
    move.target = holder;
    m_Play.Give(move);
}

void CMainFrame::OnLButtonUp(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::LButtonUp, point)) return;
    if (IsInputBlocked()) {
        // A release is never lost: the view must not go on following a
        // button that is up once the conversation is over.
        if (m_bLeftHeld && !m_Play.Interacting().SelectMode() && !m_Play.Interacting().DragHolder())
            EndHeldButton(*this);
        return;
    }
    m_Play.Give(Order::With(Order::Kind::ShiftFlags, 0));
    if (m_pGameWindows->OnLButtonUp(point)) return;
    if (m_Play.Interacting().SelectMode() || m_Play.Interacting().DragHolder()) return;
    EndHeldButton(*this);
}

void CMainFrame::OnLButtonDblClk(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::LButtonDblClk, point)) return;
    if (IsInputBlocked() || m_Play.Interacting().SelectMode() || m_Play.Interacting().DragHolder())
        return;
    if (m_Play.IsEditing() && !m_World.m_pLeader) {
        if (ObjectHolder* candidate = m_World.m_pHoverHolder.Get()) {
            m_Play.Give(Order::On(Order::Kind::Interact, candidate));
            m_Play.Give(Order::With(Order::Kind::Pause, 0));
            return;
        }
        // A copy of the material chosen in the tool palette goes down here.
        CBuildTools* tools = GetBuildTools();
        if (m_View.m_rcView.Contains(point) && tools && tools->PlaceChosenMaterial(point)) return;
        if (!m_View.m_rcView.Contains(point)) return;
        ShowGameMessage("Which Material is Selected???");
        return;
    }
    m_bLeftHeld = 1;
    Capture(this);
    StopPartyForHold(*this, 1);
}

// ---- The right button

void CMainFrame::OnRButtonDown(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::RButtonDown, point)) return;
    if (IsInputBlocked() || m_Play.Interacting().SelectMode() == Interaction::kSelectToken ||
        m_Play.Interacting().SelectMode() == Interaction::kSelectSpell)
        return;
    // A right click on a thing in a window uses it.
    if (m_pGameWindows->OnRButtonDown(point)) return;
    if (!m_Play.IsEditing()) {
        // The game stands still for as long as the button is held.
        Capture(this);
        m_Play.Give(Order::With(Order::Kind::Pause, 1));
        m_bRightPause = 1;
    } else if (!m_World.m_pLeader) {
        // In the editor the right button scrolls the view.
        Capture(this);
        m_bLeftHeld = 1;
        m_iButtonHeldTime = 0;
    }
}

void CMainFrame::OnRButtonUp(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::RButtonUp, point)) return;
    if (IsInputBlocked()) return;
    if (m_pGameWindows->OnRButtonUp(point)) return;
    if (m_Play.Interacting().SelectMode() >= Interaction::kSelectSpell) {
        Release();
        CancelTargetSelection();
        return;
    }
    if (m_Play.Interacting().SelectMode() == Interaction::kSelectToken) {
        CancelTargetSelection();
        SetMessageLine("");
        return;
    }

    Player* leader = m_World.m_pLeader.Get();
    if (m_Play.IsEditing()) {
        if (!leader) {
            if (HoldsCapture(this) && !m_Play.Interacting().DragHolder()) EndHeldButton(*this);
        } else if (ObjectHolder* candidate = m_World.m_pHoverHolder.Get();
                   candidate && candidate->m_pObject) {
            m_Play.Give(Order::On(Order::Kind::Edit, candidate));
        }
        return;
    }
    if (!m_bRightPause) return;
    // The pause lasts exactly as long as the button is held, even when a
    // left click in between took the capture away; the order needs it.
    const bool held = HoldsCapture(this);
    if (held) Release();
    m_bRightPause = 0;
    m_Play.Give(Order::With(Order::Kind::Pause, 0));
    if (!held) return;

    ObjectHolder* candidate = m_World.m_pHoverHolder.Get();
    Player* control = m_World.m_pControlPlayer.Get();
    if (!candidate) {
        if (!leader) return;
        Position target;
        if (m_View.m_rcView.Contains(point)) {
            target = m_View.ViewToWorld(point);
            if (MapMaster* map = m_World.map_master.get()) map->WrapPosition(target);
        } else if (!m_View.MinimapToWorld(point, target)) {
            return;
        }
        m_Play.Give(Order::At(Order::Kind::WalkTo, target));
        return;
    }
    if (!control) return;
    // In a fight a creature clicked is attacked (an outsider with nothing to
    // say only); anything else is gone to.
    const bool fight = candidate->Type() == PLAYER && control->HasOpponents();
    m_Play.Give(Order::On(fight ? Order::Kind::Attack : Order::Kind::Interact, candidate));
}

// ---- Moving the mouse

void CMainFrame::OnMouseMove(qv::Point point) {
    if (ToPalette(*this, qv::EventKind::MouseMove, point)) return;
    CMouseCursor* cursor = GetMouseCursor();
    if (!cursor) return;
    if (point.x < 0 || point.y < 0 || point.x >= kScreenWidth || point.y >= kScreenHeight) {
        // Beside the game's picture (the editor's tool palette) the system's
        // cursor shows instead of the game's.
        if (m_bWindowed && cursor->m_bShown) {
            cursor->HideNow();
            cursor->m_bShown = 0;
            if (qv::Window* window = qv::Window::Current()) window->ShowSystemCursor(true);
        }
        return;
    }
    if (m_bWindowed && !cursor->m_bShown) {
        cursor->m_bShown = 1;
        if (qv::Window* window = qv::Window::Current()) window->ShowSystemCursor(false);
    }
    // The software cursor follows the mouse wherever it is shown.
    if (cursor->m_bShown) cursor->MoveTo(point);
    if (!m_pPrimary || m_Play.m_iStartState != 0) return;
    m_ptCursor = point;
    HoverText(point.x, point.y);
    // The member buttons light up under the pointer; a thing in a list under
    // it, or a member's button, is named on the message line.
    m_pGameWindows->OnMouseMove(point);
}
