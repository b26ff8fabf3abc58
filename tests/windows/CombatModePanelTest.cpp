// The combat mode panel on the start world's party: its buttons found by
// their rectangles, each click an order to play that changes the member's
// fighting choice, the buttons drawn as the member's choices stand; and the
// combat preferences dialog with its greyed controls and the values it reads
// back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items/Missile.h"
#include "media/DirectDraw.h"
#include "windows/CombatModePanel.h"
#include "windows/CombatPrefsDlg.h"
#include "windows/PartyWindowsFixture.h"

namespace {

using windows_test::PartyWindowsFixture;
using Panel = CCombatModePanel;
constexpr qv::Point kOrigin{100, 200};

class CombatPanel : public PartyWindowsFixture {
protected:
    // The buttons as drawn, in button order: p pressed, - plain, h hovered,
    // x not drawn.
    static std::string States(const Panel& panel) {
        std::string s;
        for (int b = 0; b < Panel::kButtons; ++b) {
            const int state = panel.ButtonState(b);
            s += state == Panel::kStatePressed   ? 'p'
                 : state == Panel::kStateHovered ? 'h'
                 : state == Panel::kHidden       ? 'x'
                                                 : '-';
        }
        return s;
    }
    // The screen point of a button's top-left pixel.
    static qv::Point ButtonAt(int b) {
        const qv::Rect& r = Panel::kButtonRects[static_cast<size_t>(b)];
        return {kOrigin.x + r.left, kOrigin.y + r.top};
    }
    void GiveBow(Player* p) {
        auto* bow = new Bow;
        p->AddToBag(bow, 0);
        Order equip = Order::Of(Order::Kind::Equip);
        equip.actor = p;
        equip.object = bow;
        ASSERT_EQ(play.Give(equip), 1);
        ASSERT_TRUE(p->m_pRangedWeapon);
    }
    void PutAway(Player* p) {
        Order unequip = Order::Of(Order::Kind::Unequip);
        unequip.actor = p;
        unequip.object = p->m_pRangedWeapon.Get();
        ASSERT_EQ(play.Give(unequip), 1);
        ASSERT_FALSE(p->m_pRangedWeapon);
    }
};

TEST_F(CombatPanel, APointFindsTheLastButtonWhoseRectangleHoldsIt) {
    struct Row {
        const char* rule;
        int dx, dy, button;
    };
    const Row rows[] = {
        {"button 0's top-left corner", 2, 1, 0},
        {"button 0's last pixel", 21, 20, 0},
        {"just left of button 0", 1, 1, -1},
        {"just above button 0", 2, 0, -1},
        {"the gap between buttons 0 and 1", 22, 1, -1},
        {"button 1's first column", 23, 1, 1},
        {"button 1's right edge is outside it", 43, 1, -1},
        {"button 2", 44, 1, 2},
        {"button 3 (never drawn, still found)", 13, 22, 3},
        {"button 5", 2, 43, 5},
        {"button 6's last row", 2, 83, 6},
        {"below button 6", 2, 84, -1},
        {"button 8's last pixel", 63, 83, 8},
        {"the middle, between the rows", 30, 60, -1},
    };
    Panel panel(play, kOrigin);
    panel.SetPlayer(hero);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(panel.HitTest({kOrigin.x + r.dx, kOrigin.y + r.dy}), r.button);
    }
}

TEST_F(CombatPanel, EachClickChangesTheMembersChoiceThroughPlay) {
    // Clicks by button number (-1: the gap at (22, 1); -2: the member puts
    // its bow away); the answer of the last click; the member's ranged mode,
    // stand-fast switch and attack method after; the buttons as drawn then.
    struct Row {
        const char* rule;
        bool bow;
        std::vector<int> clicks;
        int answer, ranged, standFast, method;
        const char* states;
    };
    const Row rows[] = {
        {"as the member sets out: no bow, normal", false, {}, -1, 2, 0, 1, "pxxxx--p-"},
        {"defensive", false, {6}, 1, 2, 0, 0, "pxxxx-p--"},
        {"normal again", false, {8, 7}, 1, 2, 0, 1, "pxxxx--p-"},
        {"berserker", false, {8}, 1, 2, 0, 2, "pxxxx---p"},
        {"stand fast", false, {5}, 1, 2, 1, 1, "pxxxxp-p-"},
        {"stand fast twice: as it was", false, {5, 5}, 1, 2, 0, 1, "pxxxx--p-"},
        {"close combat only", false, {0}, 1, 0, 0, 1, "pxxxx--p-"},
        {"shoot only, without a bow: not the panel's", false, {1}, 0, 2, 0, 1, "pxxxx--p-"},
        {"from afar, without a bow: not the panel's", false, {2}, 0, 2, 0, 1, "pxxxx--p-"},
        {"a second-mode button is never taken", false, {3}, 0, 2, 0, 1, "pxxxx--p-"},
        {"nor the other", true, {4}, 0, 2, 0, 1, "--pxx--p-"},
        {"the gap between buttons", false, {-1}, 0, 2, 0, 1, "pxxxx--p-"},
        {"with a bow: from afar as it sets out", true, {}, -1, 2, 0, 1, "--pxx--p-"},
        {"with a bow: shoot only", true, {1}, 1, 1, 0, 1, "-p-xx--p-"},
        {"with a bow: close combat only", true, {1, 0}, 1, 0, 0, 1, "p--xx--p-"},
        {"with a bow: back to from afar", true, {0, 2}, 1, 2, 0, 1, "--pxx--p-"},
        {"bow put away: drawn close combat, choice kept", true, {1, -2}, 1, 1, 0, 1, "pxxxx--p-"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        // The member as it set out.
        hero->m_iRangedMode = Panel::kDefaultRangedMode;
        hero->m_bPanelToggle = 0;
        hero->m_iCombatSettings[6] = Panel::kDefaultAttackMethod;
        if (r.bow) GiveBow(hero);
        Panel panel(play, kOrigin);
        panel.SetPlayer(hero);
        int answer = -1;
        for (int b : r.clicks) {
            if (b == -2) {
                PutAway(hero);
                continue;
            }
            const qv::Point at = b < 0 ? qv::Point{kOrigin.x + 22, kOrigin.y + 1} : ButtonAt(b);
            answer = panel.OnClick(at.x, at.y);
        }
        EXPECT_EQ(answer, r.answer);
        EXPECT_EQ(hero->m_iRangedMode, r.ranged);
        EXPECT_EQ(hero->m_bPanelToggle, r.standFast);
        EXPECT_EQ(hero->m_iCombatSettings[6], r.method);
        panel.Draw(GetPopupSurface());
        EXPECT_EQ(States(panel), r.states);
        // The panel's copies are the member's choices as they now stand.
        EXPECT_EQ(panel.m_iAttackMethod, r.method);
        EXPECT_EQ(panel.m_iToggle, r.standFast);
        EXPECT_EQ(panel.m_iRangedMode, hero->m_pRangedWeapon ? r.ranged : 0);
        EXPECT_EQ(dog->m_iCombatSettings[6], 1) << "the other member keeps its own";
        if (hero->m_pRangedWeapon) PutAway(hero);
    }
}

TEST_F(CombatPanel, TheHoveredButtonIsDrawnHighlightedUnlessItIsPressed) {
    struct Row {
        const char* rule;
        int dx, dy;
        const char* states;
    };
    const Row rows[] = {
        {"over defensive", 3, 65, "pxxxx-hp-"},
        {"over normal, which is pressed", 24, 65, "pxxxx--p-"},
        {"over stand fast", 3, 44, "pxxxxh-p-"},
        {"over nothing", 0, 0, "pxxxx--p-"},
    };
    Panel panel(play, kOrigin);
    panel.SetPlayer(hero);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        panel.OnMouseMove(kOrigin.x + r.dx, kOrigin.y + r.dy);
        EXPECT_EQ(States(panel), r.states);
    }
}

TEST_F(CombatPanel, WithoutItsMemberThePanelDrawsNothingAndTakesNoClick) {
    Panel panel(play, kOrigin);
    const qv::Point at = ButtonAt(6);
    EXPECT_EQ(panel.OnClick(at.x, at.y), 0) << "never given one";
    {
        Player stranger;
        stranger.m_iPartySlot = 2;
        panel.SetPlayer(&stranger);
        EXPECT_EQ(States(panel), "pxxxx--p-");
    }
    // The member has gone: nothing is read of it.
    EXPECT_EQ(panel.GetPlayer(), nullptr);
    EXPECT_EQ(States(panel), "xxxxxxxxx");
    EXPECT_EQ(panel.OnClick(at.x, at.y), 0);
    qv::Surface* screen = GetPopupSurface();
    const uint16_t before = screen->GetPixel(at.x + 10, at.y + 10);
    panel.Draw(screen);
    EXPECT_EQ(screen->GetPixel(at.x + 10, at.y + 10), before);
}

// ---- the preferences dialog

using CombatPrefs = windows_test::WindowsFixture;
using Dlg = CCombatPrefsDlg;

TEST_F(CombatPrefs, TheDialogGreysWhatItMayNotChangeAndReadsBackWhatWasChosen) {
    // Values in, one digit each: mode of combat, attack whom, flee, magic
    // priority, attack preference, attack method. The controls clicked, then
    // OK (or Esc); the answer, whether the method radios and the list can be
    // used, and the values read back.
    struct Row {
        const char* rule;
        const char* in;
        std::vector<int> clicks;
        bool ok;
        int answer, methods, list;
        const char* out;
    };
    const int close = Dlg::kIdCloseCombat, evade = Dlg::kIdAttackWhileEvading,
              berserk = Dlg::kIdBerserker, weakest = Dlg::kIdAttackWeakest,
              randomly = Dlg::kIdAttackRandomly, nearTo = Dlg::kIdAttackNearestToAnother,
              flee = Dlg::kIdFlee, protect = Dlg::kIdProtectParty, anyone = Dlg::kIdAnyone;
    const Row rows[] = {
        {"evading: the methods greyed", "000001", {}, true, 1, 0, 0, "000001"},
        {"close combat: the methods free", "100001", {}, true, 1, 1, 0, "100001"},
        {"a greyed method cannot be chosen", "000001", {berserk}, true, 1, 0, 0, "000001"},
        {"close combat wakes them: berserker", "000001", {close, berserk}, true, 1, 1, 0, "100002"},
        {"evading again greys them; the choice stays", "100000", {evade}, true, 1, 0, 0, "000000"},
        {"nearest to another: the list free", "130001", {}, true, 1, 1, 1, "130001"},
        {"weakest greys the list", "130001", {weakest}, true, 1, 1, 0, "100001"},
        {"randomly is 5", "100001", {randomly}, true, 1, 1, 0, "150001"},
        {"nearest to another is greyed: not chosen", "100001", {nearTo}, true, 1, 1, 0, "100001"},
        {"attack whom 4 has no radio and stays 4", "140001", {}, true, 1, 1, 0, "140001"},
        {"flee is greyed: it stays as it was", "101001", {flee}, true, 1, 1, 0, "101001"},
        {"magic use is greyed: it stays", "100201", {protect}, true, 1, 1, 0, "100201"},
        {"attack preference: anyone", "100001", {anyone}, true, 1, 1, 0, "100021"},
        {"Esc: nothing read back", "000001", {close, anyone}, false, 2, 1, 0, "000001"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        Dlg dlg;
        int* values[6] = {&dlg.m_iModeOfCombat,  &dlg.m_iAttackWhom,       &dlg.m_bFlee,
                          &dlg.m_iMagicPriority, &dlg.m_iAttackPreference, &dlg.m_iAttackMethod};
        for (int i = 0; i < 6; ++i) *values[i] = r.in[i] - '0';
        for (int id : r.clicks) Press(dlg, dlg.GetControl(id));
        if (r.ok)
            Press(dlg, dlg.GetControl(Dlg::kIdOk));
        else
            Key(qv::VK_ESCAPE);
        EXPECT_EQ(dlg.Popup(), r.answer);
        EXPECT_EQ(dlg.IsEnabled(Dlg::kIdDefensive) + dlg.IsEnabled(Dlg::kIdNormal) +
                      dlg.IsEnabled(Dlg::kIdBerserker),
                  3 * r.methods);
        EXPECT_EQ(dlg.IsEnabled(Dlg::kIdTargetList), r.list);
        for (int id : {Dlg::kIdFlee, Dlg::kIdProtectParty, Dlg::kIdAttackEnemy, Dlg::kIdBalance,
                       Dlg::kIdAttackNearestToAnother})
            EXPECT_EQ(dlg.IsEnabled(id), 0) << id;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(*values[i], r.out[i] - '0') << "value " << i;
    }
}

}  // namespace
