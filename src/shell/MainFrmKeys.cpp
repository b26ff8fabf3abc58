// The keyboard: pause, target picking with Tab, the panel pages, member
// selection, the quick save and Esc, which closes what is open or brings up
// the options window.

#include <algorithm>

#include "creatures/Player.h"
#include "media/MouseCursor.h"
#include "platform/Events.h"
#include "shell/MainFrm.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"

namespace {

// Control panel pages the letter keys open (the page of the control panel;
// without one, the page's own window), and the magic page's schools.
constexpr int kPageInventory = 0, kPageStats = 1, kPageItems = 2, kPageMagic = 3, kPageInfo = 4;
constexpr int kMagicFire = 1, kMagicEarth = 2, kMagicAir = 3, kMagicWater = 4;

// Whether a creature of the group (nested groups too) is fighting.
bool IsGroupFighting(Group* group) {
    if (!group) return false;
    for (Member* m : group->Members()) {
        if (auto* g = dynamic_cast<Group*>(m)) {
            if (IsGroupFighting(g)) return true;
        } else if (m->Type() == PLAYER && static_cast<Player*>(m)->HasOpponents()) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CMainFrame::PickNextTarget() {
    if (!m_Play.m_bPaused) m_Play.Give(Order::With(Order::Kind::Pause, 1));
    m_Play.Give(Order::With(Order::Kind::TabTarget, 1));
    const std::vector<ObjectHolder*> candidates =
        m_View.TabCandidates(m_Play.IsEditing() != 0, m_World.m_pLeader.Get());
    ObjectHolder* current = m_World.m_pHoverHolder.Get();
    ObjectHolder* next = nullptr;
    auto at = std::find(candidates.begin(), candidates.end(), current);
    if (!current || at == candidates.end()) {
        if (!candidates.empty()) next = candidates.front();
    } else if (std::next(at) != candidates.end()) {
        next = *std::next(at);
    }
    m_World.m_pHoverHolder = next;
    if (!next) {
        // Past the last one the picking ends and the game goes on.
        m_Play.Give(Order::With(Order::Kind::Pause, 0));
        m_Play.Give(Order::With(Order::Kind::TabTarget, 0));
    }
    SetMessageLine(m_View.TargetText(next));
}

void CMainFrame::OnKeyDown(int vk) {
    // Any key stops the intro while it plays.
    if (m_Start.StopIntro()) {
        StopIntroMovie();
        return;
    }
    ObjectHolder* candidate = m_World.m_pHoverHolder.Get();
    Player* control = m_World.m_pControlPlayer.Get();
    switch (vk) {
        case qv::VK_ESCAPE:
            OnEscape();
            break;
        case qv::VK_TAB:
            if (!IsInputBlocked()) PickNextTarget();
            break;
        case 'X':
            if (!m_Play.IsInputLocked() && candidate) {
                if (control) m_Play.Give(Order::On(Order::Kind::Target, candidate));
                m_Play.Give(Order::With(Order::Kind::Pause, Order::kToggle));
            }
            break;
        case qv::VK_SPACE:
        case 'P':
            if (!m_Play.IsInputLocked() && candidate && control)
                m_Play.Give(Order::On(Order::Kind::Target, candidate));
            m_Play.Give(Order::With(Order::Kind::Pause, Order::kToggle));
            break;
        case qv::VK_RETURN:
        case qv::VK_LINEFEED:
            m_Play.Give(Order::Of(Order::Kind::HoldGround));
            break;
        case 'Q':
            m_pGameWindows->OnPageKey(kPageItems, 0);
            break;
        case 'I':
            m_pGameWindows->OnPageKey(kPageInventory, 0);
            break;
        case 'C':
            m_pGameWindows->OnPageKey(kPageMagic, 0);
            break;
        case 'E':
            m_pGameWindows->OnPageKey(kPageMagic, kMagicEarth);
            break;
        case 'A':
            m_pGameWindows->OnPageKey(kPageMagic, kMagicAir);
            break;
        case 'F':
            m_pGameWindows->OnPageKey(kPageMagic, kMagicFire);
            break;
        case 'W':
            m_pGameWindows->OnPageKey(kPageMagic, kMagicWater);
            break;
        case 'S':
            m_pGameWindows->OnPageKey(kPageStats, 0);
            break;
        case 'K':
            m_pGameWindows->OnPageKey(kPageInfo, 0);
            break;
        case '1':
        case '2':
        case '3':
        case '4':
            // Members 1 to 4 are slots 0 to 3.
            OnSelectMember(vk - '1');
            break;
        case qv::VK_SHIFT:
            m_Play.Give(Order::With(Order::Kind::ShiftFlags, 1));
            break;
        case qv::VK_CONTROL:
            m_bCtrlDown = 1;
            break;
        case qv::VK_F2:
            if (m_bBuildMode) {
                m_bDebugLight = !m_bDebugLight;
                m_Play.Give(Order::With(Order::Kind::DebugView, Order::kToggle));
            }
            break;
        case qv::VK_F3:
            if (m_bCtrlDown) m_Play.Give(Order::Of(Order::Kind::Invulnerable));
            break;
        case qv::VK_F5:
            // The quick save refuses itself (and says so) during a fight or
            // with a window open; a save that fails is reported as a
            // failure, not as done.
            m_Play.Give(Order::Of(Order::Kind::QuickSave));
            break;
        default:
            break;
    }
}

void CMainFrame::OnKeyUp(int vk) {
    if (vk == qv::VK_SHIFT) {
        m_Play.Give(Order::With(Order::Kind::ShiftFlags, 0));
    } else if (vk == qv::VK_CONTROL) {
        m_bCtrlDown = 0;
    }
}

void CMainFrame::OnEscape() {
    // A thing the mouse carries is let go where it was.
    if (m_pGameWindows->Carried()) {
        m_pGameWindows->OnEscape();
        return;
    }
    // A window that is open takes the key, in this order.
    const OpenWindows& w = m_pGameWindows->Open();
    if (w.m_pTalkWnd) {
        w.m_pTalkWnd->OnKeyDown(qv::VK_ESCAPE);
        return;
    }
    if (m_bModalPopup) {
        if (m_pToolPalette) m_pToolPalette->OnKeyDown(qv::VK_ESCAPE);
        return;
    }
    if (w.m_bStatsOpen || m_Play.Travelling().IsChangingWorld()) return;
    if (w.m_pEquipmentWnd) {
        w.m_pEquipmentWnd->OnKeyDown(qv::VK_ESCAPE);
        return;
    }
    if (w.m_bInfoOpen) return;
    // The container window closes on Esc, as the windows above do, also
    // when what it showed is gone meanwhile (the world would stand still).
    if (m_Play.Interacting().IsContainerOpen() || w.m_pContainerWnd) {
        m_pGameWindows->CloseContainer();
        return;
    }

    // Without a party (build mode, an empty world) Esc still brings the
    // options window: it is the way out.
    Player* leader = m_World.m_pLeader.Get();
    if (w.m_pTradeWnd || m_Play.Interacting().DragHolder() ||
        m_Play.Interacting().IsContainerOpen() || w.m_pContainerWnd ||
        (leader && leader->m_iTalkState != -1))
        return;

    if (m_Play.Interacting().SelectMode() == Interaction::kSelectToken) {
        CancelTargetSelection();
        SetMessageLine("");
        return;
    }
    if (m_Play.Interacting().IsQuantityUp() || IsInputBlocked()) return;
    if (m_Play.Interacting().IsTabTarget()) {
        m_Play.Give(Order::With(Order::Kind::Pause, Order::kToggle));
        return;
    }

    m_Play.Give(Order::With(Order::Kind::OptionsShown, 1));
    const bool fighting = (leader && IsGroupFighting(leader->m_pGroup)) || m_Play.ActiveGenerator();
    if (!RunOptionsWindow(fighting ? 0 : 1, 1)) RequestQuit(0);
}
