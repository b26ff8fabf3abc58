// The frame's operations of the party panel and the in-game windows: each
// hands on to the windows (windows/GameWindows.h), which keep their own state.

#include "creatures/Player.h"
#include "media/DirectDraw.h"
#include "shell/MainFrm.h"
#include "world/Global.h"

void CMainFrame::InitPartyPanel() {
    m_pGameWindows->PartyPanel().InitPartyPanel();
}

int CMainFrame::UpdatePartyBars() {
    return m_pGameWindows->PartyPanel().UpdatePartyBars();
}

void CMainFrame::RefreshPartyPanel() {
    m_pGameWindows->PartyPanel().RefreshPartyPanel();
}

void CMainFrame::HidePartyButtons() {
    m_pGameWindows->PartyPanel().HidePartyButtons();
}

std::string CMainFrame::PlayerToolTip(int slot) {
    const std::string text = m_pGameWindows->PartyPanel().PlayerToolTip(slot);
    if (!text.empty()) SetMessageLine(text);
    return text;
}

void CMainFrame::DrawMemberButton(int slot) {
    if (qv::Surface* s = GetPopupSurface()) m_pGameWindows->PartyPanel().DrawMemberButton(s, slot);
}

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

void CMainFrame::OnInventory() {
    m_pGameWindows->SelectPage(CControlPanel::kPageInventory, 0);
}

void CMainFrame::OnShowItemList() {
    m_pGameWindows->SelectPage(CControlPanel::kPageItems, 0);
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

void CMainFrame::SelectPanelPage(int page, int subPage) {
    // The page of the control panel; without one, the page's own window.
    m_pGameWindows->OnPageKey(page, subPage);
}
