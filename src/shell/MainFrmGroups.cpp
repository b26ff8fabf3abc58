// The frame's group tree and group table.

#include "shell/MainFrm.h"
#include "world/Group.h"

void CMainFrame::CreateRootGroups() {
    if (m_pAllGroups) return;
    m_pAllGroups = new Group("Group");
    m_pAllGroups->SetName("All Groups");
    m_pRandomEncounters = new Group("Group");
    m_pRandomEncounters->SetName("Random Encounters");
    m_pAllGroups->AddMember(m_pRandomEncounters);
    m_pAllGroups->SetGroupNumber(-1);
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
