#pragma once
// The in-game windows that are up, as the windows record them: each window
// enters itself while it exists (a member's window while it runs) and clears
// its entry when it goes. The shell reads them for Esc's order and the
// drawing, and answers play's question whether a window stops the world
// from them (PlayShell::WindowStopsWorld).

class CDDWnd;

struct OpenWindows {
    CDDWnd* m_pTalkWnd = nullptr;
    CDDWnd* m_pTradeWnd = nullptr;
    CDDWnd* m_pEquipmentWnd = nullptr;
    CDDWnd* m_pInventoryWnd = nullptr;
    CDDWnd* m_pPartyPanel = nullptr;
    int m_bStatsOpen = 0;
    int m_bInfoOpen = 0;
    CDDWnd* m_pContainerWnd = nullptr;

    // A window that stops the world is up: the conversation, the trading,
    // the equipment, a member's statistics or information, and with
    // `countContainer` the container window. The panels never stop it.
    bool StopsWorld(bool countContainer) const {
        return m_pTalkWnd || m_pTradeWnd || m_bStatsOpen || m_bInfoOpen || m_pEquipmentWnd ||
               (countContainer && m_pContainerWnd);
    }
};
