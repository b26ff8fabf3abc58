// The party as the frame sees it: its slots, and the script commands that
// move it to a cell, split it and bring it together again, and open a store's
// trading window.

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "creatures/PlayerEvents.h"
#include "media/DDWnd.h"
#include "media/MouseCursor.h"
#include "platform/Files.h"
#include "platform/Saturate.h"
#include "play/Play.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// A member left behind takes no events while it waits.
constexpr int32_t kHeldByScript = -10;

Player* AsCreature(Member* m) {
    return m && m->Type() == PLAYER ? qv::DynamicCast<Player>(m) : nullptr;
}

// A creature back in play enters the world's list of actors again (a
// creature of a self-contained group never does).
void EnterActor(Player* p) {
    if (p && !p->m_bGrouped && p->m_iPlayerNumber >= 0) p->SetPlayerNumber(p->m_iPlayerNumber);
}

}  // namespace

Player* Play::GetPartyMember(const int32_t* slot) const {
    if (!slot || *slot < 0 || *slot >= kPartySlots) return nullptr;
    return m_World.m_Party[static_cast<size_t>(*slot)].Get();
}

void Play::TravelTo(qv::Point cell) {
    World& w = m_World;
    Player* leader = w.m_pLeader.Get();
    if (!QV_CHECK_TEXT(leader != nullptr, "traveller != NULL")) return;
    const Position focus(
        qv::ClampToInt32(int64_t{cell.x} * MapMaster::CellWidth + MapMaster::CellWidth / 2),
        qv::ClampToInt32(int64_t{cell.y} * MapMaster::CellHeight + MapMaster::CellHeight / 2), 0);
    w.m_ptFocus = {focus.x, focus.y};

    // The travellers leave the map first: the window may move away from
    // where they stood, and they are not to be kept in a land left behind.
    std::vector<qv::Handle<Player>> travellers;  // the move may replace the party
    std::function<void(Group*)> lift = [&](Group* group) {
        for (Member* m : group->Members()) {
            if (m->IsGroup()) {
                lift(static_cast<Group*>(m));
            } else if (Player* p = AsCreature(m)) {
                TakeHolderOffMap(p);
                travellers.push_back(p);
            }
        }
    };
    if (leader->m_pGroup) lift(leader->m_pGroup);

    MoveToLand();
    if (Map()) Map()->CheckFocusEdge(focus);
    leader = w.m_pLeader.Get();
    if (!leader || !leader->m_pGroup) return;
    for (const auto& p : travellers) EnterActor(p.Get());

    int32_t k = 0;
    const std::vector<Member*> members(leader->m_pGroup->Members().begin(),
                                       leader->m_pGroup->Members().end());
    for (Member* m : members) {
        if (m->IsGroup()) {
            int32_t placed = 0;
            PlaceGroup(static_cast<Group*>(m), &placed);
            continue;
        }
        Player* p = AsCreature(m);
        if (!p) continue;
        // Travellers stand around the cell's centre as a placed party does.
        const Position to = PartySpot({focus.x, focus.y}, k++);
        if (!p->m_pHolder) new ObjectHolder(p->m_Position, p);
        ObjectHolder* holder = p->m_pHolder;
        if (!Map()) continue;
        Position at = holder->pos;
        if (!Map()->MoveHolder(at, to, holder) && !Map()->IsListedAnywhere(holder)) {
            // Neither there nor where it stood: it stands as near as the map lets it.
            Position near = to;
            Map()->WrapPosition(near);
            Map()->AddHolder(near, holder);
        }
    }

    if (ObjectHolder* holder = leader->m_pHolder) w.m_ptFocus = {holder->pos.x, holder->pos.y};
    const Position now(w.m_ptFocus.x, w.m_ptFocus.y, 0);
    if (Map() && Map()->CheckFocusEdge(now) == Object::kWorldChanged) {
        MoveToLand();
        Map()->CheckFocusEdge(Position(w.m_ptFocus.x, w.m_ptFocus.y, 0));
    }
}

void Play::MakeGroup() {
    World& w = m_World;
    Player* leader = w.m_pLeader.Get();
    if (!QV_CHECK_TEXT(leader != nullptr, "traveller != NULL")) return;
    Group* party = leader->m_pGroup;
    if (!party) return;
    Group* kept = w.m_pGroupTempStorage.Get();
    if (!kept) {
        if (!w.m_pAllGroups) w.CreateRootGroups();
        kept = new Group("Group");
        kept->m_bGrouped = 1;
        w.m_pAllGroups->AddMember(kept);
        w.m_pGroupTempStorage = kept;
    }
    const std::vector<Member*> members(party->Members().begin(), party->Members().end());
    for (Member* m : members) {
        if (m == leader) continue;
        if (!QV_CHECK_TEXT(m->Type() == PLAYER, "pMem->Type() == PLAYER")) continue;
        Player* p = AsCreature(m);
        if (!p) continue;
        p->m_iScriptHold = kHeldByScript;
        p->m_iSavedGroupNum = 1;
        p->m_iPartySlot = 0;
        TakeHolderOffMap(p);
        party->RemoveMember(p);
        kept->AddMemberDirect(p);
    }
    for (size_t slot = 1; slot < w.m_Party.size(); ++slot) w.m_Party[slot] = nullptr;
    w.m_pControlPlayer = leader;
    m_Saves.WritePlayers(*party);
    m_Party.RebaseFormation(m_World);
}

void Play::ReGroup() {
    World& w = m_World;
    Player* leader = w.m_pLeader.Get();
    if (!QV_CHECK_TEXT(leader != nullptr, "traveller != NULL")) return;
    Group* kept = w.m_pGroupTempStorage.Get();
    if (!kept) {
        Ask().Tell("No Group to ReGroup");
        return;
    }
    Group* party = leader->m_pGroup;
    if (!party || party == kept) return;
    const std::vector<Member*> members(kept->Members().begin(), kept->Members().end());
    for (Member* m : members) {
        Player* p =
            QV_CHECK_TEXT(m->Type() == PLAYER, "pMem->Type() == PLAYER") ? AsCreature(m) : nullptr;
        // Whatever the kept group holds comes back with the party: nothing
        // is lost with the group.
        kept->RemoveMember(m);
        party->AddMemberDirect(m);
        if (!p) continue;
        p->m_iScriptHold = 0;
        // It no longer belongs to the kept group when its land is read again.
        p->m_iSavedGroupNum = 0;
        if (!p->m_pHolder) {
            auto* holder = new ObjectHolder(p->m_Position, p);
            if (Map()) {
                Position at = holder->pos;
                Map()->WrapPosition(at);
                Map()->AddHolder(at, holder);
            }
        }
        EnterActor(p);
        // The next free slot; with none left it stays in the group unslotted.
        p->m_iPartySlot = 0;
        for (size_t slot = 1; slot < w.m_Party.size(); ++slot)
            if (!w.m_Party[slot]) {
                w.m_Party[slot] = p;
                p->m_iPartySlot = static_cast<int32_t>(slot);
                break;
            }
    }
    w.m_pGroupTempStorage = nullptr;
    delete kept;  // emptied
    m_Saves.WritePlayers(*party);
    m_Party.RebaseFormation(m_World);
}

void Play::SetCombatMode(int on) {
    Player* leader = m_World.m_pLeader.Get();
    if (!leader) return;
    on = on ? 1 : 0;
    // Told by the group as it turns, the flag has changed already.
    if (m_Party.InCombat() != on) {
        TakeCombatFlag(on);
        if (leader->m_pGroup) leader->m_pGroup->SetHostileMode(on, nullptr);
    }
    FollowCombatFlag(*leader);
}

void Play::GroupTurnsHostile(Group* group, int32_t mode) {
    Player* leader = m_World.m_pLeader.Get();
    const int on = mode ? 1 : 0;
    if (!leader || !group || leader->m_pGroup != group || m_Party.InCombat() == on) return;
    TakeCombatFlag(on);
    FollowCombatFlag(*leader);
}

void Play::LeaderOutOfFight(Player* creature) {
    Player* leader = m_World.m_pLeader.Get();
    if (!m_Party.InCombat() || !leader || creature != leader || !leader->m_pGroup) return;
    for (const Member* m : leader->m_pGroup->Members())
        if (m->m_iHostileMode) return;
    TakeCombatFlag(0);
    FollowCombatFlag(*leader);
}

void Play::TakeCombatFlag(int on) {
    m_Party.SetCombatFlag(on);
    if (m_Editing.IsEditing()) {
        m_Editing.SetEditing(false);
        Shell().ShowStatistics();
    }
}

void Play::FollowCombatFlag(Player& leader) {
    leader.RecomputeLoad();
    m_iMusicTime = 0;
    MapMaster* map = Map();
    CellPoint wc;
    if (!map || !map->CellToWindow(map->focuscell, wc)) return;
    if (Land* land = map->GetCell(wc.x, wc.y).land)
        Shell().PlayTune(m_Party.InCombat() ? land->combattune : land->tune);
}

void Play::SetDragObject(ObjectHolder* holder) {
    m_Interaction.SetDragHolder(holder);
    m_Interaction.SetSelectMode(0);
    m_bPaused = holder ? 1 : 0;
    if (holder) m_Interaction.DropPendingUse();
    for (auto& member : m_World.m_Party)
        if (Player* p = member.Get()) p->LeavePlayerSet();
    if (!holder)
        if (CMouseCursor* cursor = GetMouseCursor()) cursor->RestoreImage();
}

// ---- The party's orders

int Play::GiveLeadTo(const Order& order, Player*) {
    Player* leader = m_World.m_pLeader.Get();
    if (!leader) return 0;
    if (!order.hasPoint) {
        if (leader->m_pOrder) *leader->m_pOrder = ObjectEvent();
        return 1;
    }
    if (!leader->m_pOrder) leader->m_pOrder = std::make_unique<ObjectEvent>();
    *leader->m_pOrder =
        ObjectEvent(ObjectEventType::MOVE, 0, nullptr, 0, order.point.x, order.point.y);
    return 1;
}

int Play::GiveStop(const Order& order, Player*) {
    // The party stops where it is; a walk toward a double-clicked point ends.
    Player* leader = m_World.m_pLeader.Get();
    if (leader && leader->m_cRouteMode == 'C') leader->m_cRouteMode = 'B';
    for (auto& member : m_World.m_Party) {
        Player* p = member.Get();
        if (!p) continue;
        p->LeavePlayerSet();
        p->ClearRoute();
    }
    if (order.value) SetPartyShiftFlags(1);
    return 1;
}

int Play::GiveShiftFlags(const Order& order, Player*) {
    SetPartyShiftFlags(order.value);
    return 1;
}

int Play::GiveEndWalk(const Order&, Player*) {
    if (Player* leader = m_World.m_pLeader.Get()) leader->RecomputeLoad();
    return 1;
}

int Play::GiveSelect(const Order& order, Player*) {
    if (order.actor) {
        SetControlPlayer(order.actor.Get());
        return 1;
    }
    if (order.value < 0 || order.value >= static_cast<int32_t>(m_World.m_Party.size())) return 0;
    if (Player* member = m_World.m_Party[static_cast<size_t>(order.value)].Get()) {
        SetControlPlayer(member);
        return 1;
    }
    return 0;
}

int Play::GiveCarry(const Order& order, Player*) {
    SetDragObject(order.target.Get());
    return 1;
}

int Play::GiveBring(const Order& order, Player*) {
    return BringPlaced(order.target.Get(), order.into.Get());
}

int Play::GiveHoldGround(const Order&, Player*) {
    m_World.m_bHoldGround = !m_World.m_bHoldGround;
    return 1;
}

int Play::GiveCombat(const Order& order, Player*) {
    SetCombatMode(order.value);
    return 1;
}

int Play::GiveInvulnerable(const Order&, Player*) {
    m_World.m_bPartyInvulnerable = !m_World.m_bPartyInvulnerable;
    return 1;
}

int Play::GiveDebugView(const Order& order, Player*) {
    m_World.m_bDebugView =
        order.value == Order::kToggle ? !m_World.m_bDebugView : (order.value ? 1 : 0);
    return 1;
}

int Play::GiveNewCharacter(const Order& order, Player*) {
    return m_Party.SetNewCharacter(order.name, order.value, order.text);
}
