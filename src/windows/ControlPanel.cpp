#include "windows/ControlPanel.h"

#include <cmath>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "windows/ListDragBox.h"

namespace {

constexpr int kIdPage = 100;    // + page
constexpr int kIdSchool = 200;  // + school
constexpr const char* kPageKeys[CControlPanel::kPageCount] = {"I", "S", "Q", "C", "K"};
constexpr const char* kPageNames[CControlPanel::kPageCount] = {"Inventory", "Stats", "Items",
                                                               "Magic", "Info"};
constexpr const char* kSchoolKeys[4] = {"F", "E", "A", "W"};
constexpr int kButtonWidth = 18;

qv::Rect InventoryPlace() {
    const qv::Rect p = CControlPanel::kPlace;
    return {p.left, p.top + 2 * CControlPanel::kRowHeight, p.right, p.bottom};
}

}  // namespace

CControlPanel::CControlPanel(Play& play, Player* member)
    : CDDWnd(nullptr, InPlay{}),
      m_pPlayer(member),
      m_Inventory(CInventory::kModeParty, play, InventoryPlace()) {
    m_rcWindow = kPlace;
    for (int page = 0; page < kPageCount; ++page) {
        auto b = std::make_unique<CDDButton>(
            qv::Rect{page * kButtonWidth, 1, (page + 1) * kButtonWidth, kRowHeight - 1}, this,
            kIdPage + page);
        b->SetText(kPageKeys[page]);
        m_PageButtons.push_back(std::move(b));
    }
    for (int school = 1; school <= 4; ++school) {
        auto b = std::make_unique<CDDButton>(
            qv::Rect{(school - 1) * 22 + 1, kRowHeight + 1, school * 22 + 1, 2 * kRowHeight - 1},
            this, kIdSchool + school);
        b->SetText(kSchoolKeys[school - 1]);
        m_SchoolButtons.push_back(std::move(b));
    }
    m_Inventory.SetPlayer(member, 1);
    SelectPage(kPageInventory, 0);
}

CControlPanel::~CControlPanel() = default;

void CControlPanel::SetPlayer(Player* member) {
    if (!member) return;
    m_pPlayer = member;
    m_Inventory.SetPlayer(member, 0);
    SelectPage(m_iPage, 0);
}

bool CControlPanel::ShowsInventory() const {
    return m_iPage == kPageInventory || m_iPage == kPageItems || m_iPage == kPageMagic;
}

void CControlPanel::SelectPage(int page, int subPage) {
    if (page < 0 || page >= kPageCount) return;
    m_iPage = page;
    if (page == kPageMagic && subPage >= 1 && subPage <= 4) m_iSubPage = subPage;
    m_Inventory.SetPlayer(m_pPlayer.Get(), 0);
    if (page == kPageInventory) m_Inventory.SetPlayer(m_pPlayer.Get(), 1);
    if (page == kPageItems) m_Inventory.ShowUsable();
    if (page == kPageMagic) m_Inventory.ShowSpellBook(m_iSubPage);
    for (int p = 0; p < kPageCount; ++p) m_PageButtons[static_cast<size_t>(p)]->SetState(p == page);
    for (int s = 1; s <= 4; ++s) {
        CDDButton& b = *m_SchoolButtons[static_cast<size_t>(s - 1)];
        b.m_bVisible = page == kPageMagic;
        b.SetState(s == m_iSubPage);
    }
}

std::vector<std::string> CControlPanel::StatsLines(const Player& m) {
    std::vector<std::string> lines = {
        qv::Format("Level %d", m.m_iLevel),
        qv::Format("HP %d/%d", m.m_iHitPoints, m.m_iMaxHitPoints),
    };
    if (m.m_pMagic)
        lines.push_back(qv::Format("MP %d/%d", static_cast<int>(m.m_pMagic->m_uMana),
                                   static_cast<int>(m.m_pMagic->m_uMaxMana)));
    lines.push_back(qv::Format("Str %d", m.m_iCurStr));
    lines.push_back(qv::Format("Dex %d", m.m_iCombatDexterity));
    lines.push_back(qv::Format("Int %d", m.m_iCurInt));
    lines.push_back(qv::Format("Alert %d", m.m_iAlertness / 10));
    lines.push_back(qv::Format("Load %d", m.m_iLoad));
    lines.push_back(qv::Format("Speed %d", m.m_iLoadedSpeed));
    return lines;
}

std::vector<std::string> CControlPanel::InfoLines(const Player& m) {
    return {
        qv::Format("Level %d", m.m_iLevel),
        qv::Format("Exp %d", static_cast<int>(std::lround(m.m_dExperience[0]))),
        qv::Format("Next %d", static_cast<int>(std::lround(m.m_dNextLevel))),
        qv::Format("Melee %d", m.m_iLevelShortRange),
        qv::Format("Ranged %d", m.m_iLevelLongRange),
        qv::Format("Magic %d", m.m_iLevelMagic),
    };
}

void CControlPanel::Paint(qv::Surface* surface) {
    if (!surface) return;
    surface->FillRect(m_rcWindow, WindowPixel(36, 27, 17));
    Player* m = m_pPlayer.Get();
    const qv::Rect body{m_rcWindow.left + 3, m_rcWindow.top + kRowHeight + 1, m_rcWindow.right - 2,
                        m_rcWindow.bottom};
    if (m_iPage != kPageMagic)
        DrawGameText(surface, {body.left, body.top + 1}, kPageNames[m_iPage], kColourTextDim, body);
    PaintControls(surface);
    if (ShowsInventory()) {
        m_Inventory.Paint(surface);
        return;
    }
    if (!m) return;
    const std::vector<std::string> lines = m_iPage == kPageStats ? StatsLines(*m) : InfoLines(*m);
    int y = body.top + kRowHeight + 2;
    DrawGameText(surface, {body.left, y}, m->GetDisplayName(), kColourText, body);
    y += kCharHeight + 4;
    for (const std::string& line : lines) {
        DrawGameText(surface, {body.left, y}, line, kColourText, body);
        y += kCharHeight;
    }
}

void CControlPanel::OnCommand(int id) {
    if (id >= kIdPage && id < kIdPage + kPageCount) SelectPage(id - kIdPage, 0);
    if (id > kIdSchool && id <= kIdSchool + 4) SelectPage(kPageMagic, id - kIdSchool);
}

void CControlPanel::OnLButtonDown(qv::Point p) {
    if (ShowsInventory() && m_Inventory.m_rcWindow.Contains(p)) {
        m_Inventory.OnLButtonDown(p);
        return;
    }
    CDDWnd::OnLButtonDown(p);
}

void CControlPanel::OnLButtonUp(qv::Point p) {
    m_Inventory.OnLButtonUp(p);
    CDDWnd::OnLButtonUp(p);
}
