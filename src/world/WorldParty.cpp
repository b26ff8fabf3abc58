// The party slots of creatures, which read the creatures themselves.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "creatures/Player.h"
#include "world/Group.h"
#include "world/World.h"

int World::FindPartySlot(const Player* creature) const {
    if (!creature) return -1;
    for (size_t i = 0; i < m_Party.size(); ++i)
        if (m_Party[i].Get() == creature) return static_cast<int>(i);
    return -1;
}

bool World::GetPartySlot(Player* creature, int32_t& slot, int32_t& row) const {
    Player* leader = m_pLeader.Get();
    int found = FindPartySlot(creature);
    if (!leader || found < 0) return false;
    slot = found;
    row = std::clamp<int32_t>(leader->m_sFacing / 2, 0, 3);
    return true;
}

Player* World::BindParty(Group* party) {
    m_pLeader = nullptr;
    m_pControlPlayer = nullptr;
    for (auto& slot : m_Party) slot = nullptr;
    if (!party) return nullptr;
    std::vector<Player*> creatures;
    for (Member* m : party->Members())
        if (auto* p = m->Type() == PLAYER ? qv::DynamicCast<Player>(m) : nullptr)
            creatures.push_back(p);
    auto find = [&](auto&& test) -> Player* {
        for (Player* p : creatures)
            if (test(p)) return p;
        return nullptr;
    };
    Player* leader = nullptr;
    if (party->m_iLeaderId >= 0)
        leader = find([&](Player* p) { return p->m_iPlayerNumber == party->m_iLeaderId; });
    if (!leader) leader = find([](Player* p) { return p->m_iPartySlot < 0; });
    if (!leader && !creatures.empty()) leader = creatures.front();
    if (!leader) return nullptr;

    m_pLeader = leader;
    m_pControlPlayer = leader;
    m_Party[0] = leader;
    if (leader->m_iPartySlot >= 0) leader->m_iPartySlot = -1;
    leader->m_bPartyLeader = 1;
    party->m_iLeaderId = leader->m_iPlayerNumber;
    party->m_pGroupLeader = leader;

    const size_t last = m_Party.size() - 1;
    std::vector<Player*> displaced;
    for (Player* p : creatures) {
        if (p == leader) continue;
        const size_t slot = static_cast<size_t>(std::abs(p->m_iPartySlot));
        if (slot == 0) continue;
        if (slot <= last && !m_Party[slot]) {
            m_Party[slot] = p;
            p->m_iPartySlot = static_cast<int32_t>(slot);
        } else {
            displaced.push_back(p);
        }
    }
    for (Player* p : displaced) {
        p->m_iPartySlot = 0;
        for (size_t slot = 1; slot <= last; ++slot)
            if (!m_Party[slot]) {
                m_Party[slot] = p;
                p->m_iPartySlot = static_cast<int32_t>(slot);
                break;
            }
    }
    return leader;
}
