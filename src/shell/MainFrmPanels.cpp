// The party's windows the frame opens for the controlled member: statistics,
// information and the magic page, each run over the stopped game.

#include "creatures/Player.h"
#include "shell/MainFrm.h"
#include "windows/MagicWnd.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"

void CMainFrame::OnPlayerStats() {
    if (Player* member = m_World.m_pControlPlayer.Get()) CPlayerStatsWnd(m_Play, member).Popup();
}

void CMainFrame::OnPlayerInfo() {
    if (Player* member = m_World.m_pControlPlayer.Get()) CPlayerInfoWnd(m_Play, member).Popup();
}

void CMainFrame::OnShowMagic(int school) {
    // A spell picked there leaves the game waiting for its target's click.
    if (Player* member = m_World.m_pControlPlayer.Get()) CMagicWnd(m_Play, member, school).Popup();
}
