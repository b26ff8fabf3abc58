// The party slots of creatures, which read the creatures themselves.

#include <algorithm>

#include "creatures/Player.h"
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
