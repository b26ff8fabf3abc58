// The frame's commands of the in-game windows: each hands on to the windows
// (windows/GameWindows.h), which keep their own state.

#include "creatures/Player.h"
#include "shell/MainFrm.h"
#include "world/Global.h"

void CMainFrame::SetControlPlayer(Player* member, int force) {
    if (member) {
        Order select = Order::Of(Order::Kind::Select);
        select.actor = member;
        m_Play.Give(select);
    }
    m_pGameWindows->SetControlPlayer(member, force);
}

void CMainFrame::OnSelectMember(int slot) {
    if (Player* member = m_World.m_Party[static_cast<size_t>(slot)].Get())
        SetControlPlayer(member, 0);
}

void CMainFrame::OnShowMagic() {
    m_pGameWindows->OpenMagic(0);
}

void CMainFrame::OnPlayerStats() {
    m_pGameWindows->OpenStats();
}

void CMainFrame::OnPlayerInfo() {
    m_pGameWindows->OpenInfo();
}
