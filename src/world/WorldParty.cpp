// The party slots of creatures, which read the creatures through their
// creature side (world/MapCreature.h).

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "world/Group.h"
#include "world/MapCreature.h"
#include "world/World.h"

int World::FindPartySlot(const Member* creature) const {
    if (!creature) return -1;
    for (size_t i = 0; i < m_Party.size(); ++i)
        if (m_Party[i].As<Member>() == creature) return static_cast<int>(i);
    return -1;
}

bool World::GetPartySlot(const Member* creature, int32_t& slot, int32_t& row) const {
    Member* leader = m_pLeader.As<Member>();
    int found = FindPartySlot(creature);
    MapCreature* side = leader ? leader->GetMapCreature() : nullptr;
    if (!side || found < 0) return false;
    slot = found;
    row = std::clamp<int32_t>(side->MapFacing() / 2, 0, 3);
    return true;
}

Player* World::BindParty(Group* party) {
    m_pLeader = nullptr;
    m_pControlPlayer = nullptr;
    for (auto& slot : m_Party) slot = nullptr;
    if (!party) return nullptr;
    std::vector<MapCreature*> creatures;
    for (Member* m : party->Members())
        if (MapCreature* p = m->Type() == PLAYER ? m->GetMapCreature() : nullptr)
            creatures.push_back(p);
    auto find = [&](auto&& test) -> MapCreature* {
        for (MapCreature* p : creatures)
            if (test(p)) return p;
        return nullptr;
    };
    MapCreature* leader = nullptr;
    if (party->m_iLeaderId >= 0)
        leader = find([&](MapCreature* p) { return p->MapActorNumber() == party->m_iLeaderId; });
    if (!leader) leader = find([](MapCreature* p) { return p->MapPartySlot() < 0; });
    if (!leader && !creatures.empty()) leader = creatures.front();
    if (!leader) return nullptr;

    const qv::Handle<Player> head = leader->MapHandle();
    m_pLeader = head;
    m_pControlPlayer = head;
    m_Party[0] = head;
    if (leader->MapPartySlot() >= 0) leader->MapSetPartySlot(-1);
    leader->MapMarkPartyLeader();
    party->m_iLeaderId = leader->MapActorNumber();
    party->m_pGroupLeader = head;

    const size_t last = m_Party.size() - 1;
    std::vector<MapCreature*> displaced;
    for (MapCreature* p : creatures) {
        if (p == leader) continue;
        const size_t slot = static_cast<size_t>(std::abs(p->MapPartySlot()));
        if (slot == 0) continue;
        if (slot <= last && !m_Party[slot]) {
            m_Party[slot] = p->MapHandle();
            p->MapSetPartySlot(static_cast<int32_t>(slot));
        } else {
            displaced.push_back(p);
        }
    }
    for (MapCreature* p : displaced) {
        p->MapSetPartySlot(0);
        for (size_t slot = 1; slot <= last; ++slot)
            if (!m_Party[slot]) {
                m_Party[slot] = p->MapHandle();
                p->MapSetPartySlot(static_cast<int32_t>(slot));
                break;
            }
    }
    return leader->MapPlayer();
}
