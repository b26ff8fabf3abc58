#pragma once
// The paged control panel in the screen's side panel. A row of page buttons
// named by the keys that open them (I inventory, S statistics, Q item list,
// C magic, K information); the magic page has a button for each school (F,
// E, A, W). The inventory, item list and magic pages show the panel's
// inventory window; the statistics and information pages are written out
// with every number named. The panel follows the controlled member.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "media/DDWnd.h"
#include "platform/Handle.h"
#include "windows/Inventory.h"

class Play;
class Player;

class CControlPanel : public CDDWnd {
public:
    static constexpr int kPageInventory = 0, kPageStats = 1, kPageItems = 2, kPageMagic = 3,
                         kPageInfo = 4, kPageCount = 5;
    static constexpr qv::Rect kPlace{545, 7, 636, 360};
    static constexpr int kRowHeight = 20;  // the page buttons' row, and the second row

    CControlPanel(Play& play, Player* member);
    ~CControlPanel() override;

    // The member shown; null keeps the one there is.
    void SetPlayer(Player* member);
    Player* GetPlayer() const { return m_pPlayer.Get(); }
    // Shows a page; on the magic page the sub-page is the school (1 Fire,
    // 2 Earth, 3 Air, 4 Water), 0 keeping the one shown last.
    void SelectPage(int page, int subPage);
    int GetPage() const { return m_iPage; }
    int GetSubPage() const { return m_iSubPage; }
    CInventory& Inventory() { return m_Inventory; }
    // The lines of the statistics or the information page for a member.
    static std::vector<std::string> StatsLines(const Player& member);
    static std::vector<std::string> InfoLines(const Player& member);

    void Paint(qv::Surface* surface) override;
    void OnCommand(int id) override;
    void OnLButtonDown(qv::Point p) override;
    void OnLButtonUp(qv::Point p) override;

private:
    bool ShowsInventory() const;

    qv::Handle<Player> m_pPlayer;
    int m_iPage = kPageInventory;
    int m_iSubPage = 2;  // the magic page's school
    std::vector<std::unique_ptr<CDDButton>> m_PageButtons, m_SchoolButtons;
    CInventory m_Inventory;
};
