// The frame's group tree and group table.

#include <algorithm>

#include "creatures/Player.h"
#include "shell/MainFrm.h"
#include "world/Group.h"
#include "world/UnusedNumbers.h"

void CMainFrame::CreateRootGroups() {
    if (m_pAllGroups) return;
    m_pAllGroups = new Group("Group");
    m_pAllGroups->SetName("All Groups");
    m_pRandomEncounters = new Group("Group");
    m_pRandomEncounters->SetName("Random Encounters");
    m_pAllGroups->AddMember(m_pRandomEncounters);
    m_pAllGroups->SetGroupNumber(-1);
    if (!m_pUnusedNumbers) m_pUnusedNumbers = std::make_unique<UnusedNumbers>(1000, -1, 0);
}

void CMainFrame::DeleteGroups() {
    if (m_pAllGroups) {
        m_pAllGroups->RemoveFromMap();
        delete m_pAllGroups;
    }
    m_pAllGroups = nullptr;
    m_pRandomEncounters = nullptr;
    m_GroupArray.clear();
}

Group* CMainFrame::GetGroupByNumber(int32_t number) const {
    if (number < 0 || static_cast<size_t>(number) >= m_GroupArray.size()) return nullptr;
    return m_GroupArray[static_cast<size_t>(number)];
}

int CMainFrame::FindPartySlot(Player* creature) const {
    if (!creature) return -1;
    for (size_t i = 0; i < m_Party.size(); ++i)
        if (m_Party[i].Get() == creature) return static_cast<int>(i);
    return -1;
}

bool CMainFrame::GetPartySlot(Player* creature, int32_t* slot, int32_t* row) const {
    Player* leader = m_pLeader.Get();
    int found = FindPartySlot(creature);
    if (!leader || found < 0) return false;
    *slot = found;
    *row = std::clamp<int32_t>(leader->m_sFacing / 2, 0, 3);
    return true;
}
