// The combat mode panels of the party panel in play: one for each shown
// member, drawn with the panel, a click on one going to that member alone
// (and one it does not take picking the member), and the party panel's
// combat button opening the controlled member's "Combat Preferences", whose
// choices reach the member as orders.

#include <gtest/gtest.h>

#include <functional>

#include "InGameFixture.h"
#include "media/DirectDraw.h"
#include "platform/Events.h"
#include "windows/CombatPrefsDlg.h"

namespace ingame_test {
namespace {

using CombatPanel = CCombatModePanel;

// A member's stand-fast switch and attack method, as the panel shows them.
struct Choices {
    int standFast, method;
    bool operator==(const Choices&) const = default;
};
Choices Of(const Player* p) {
    return {p->m_bPanelToggle, p->m_iCombatSettings[6]};
}

TEST_F(InGame, EachShownMemberHasItsCombatPanelInsideItsButtonOnTheScreen) {
    ASSERT_TRUE(ok);
    CPartyPanel& party = Windows().PartyPanel();
    const qv::Rect screen{0, 0, 640, 480};
    for (int slot = 0; slot < CPartyPanel::kShownMembers; ++slot) {
        SCOPED_TRACE(slot);
        CombatPanel* panel = party.CombatPanel(slot);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->GetPlayer(), Member(slot)) << "an empty slot's panel shows nothing";
        const qv::Rect button = party.ButtonRect(slot);
        EXPECT_EQ(panel->PanelRect().Intersect(button), panel->PanelRect()) << "inside the button";
        EXPECT_EQ(party.ButtonRect(slot).Intersect(CPartyPanel::kPlace), button);
        for (int b = 0; b < CombatPanel::kButtons; ++b) {
            const qv::Rect r = panel->ButtonRect(b);
            if (b == 3 || b == 4) {
                EXPECT_TRUE(r.IsEmpty()) << b << ": never drawn, left out";
                continue;
            }
            EXPECT_EQ(r.Width(), CombatPanel::kButtonSize) << b;
            EXPECT_EQ(r.Height(), CombatPanel::kButtonSize) << b;
            EXPECT_EQ(r.Intersect(screen), r) << b << ": on the screen";
            EXPECT_EQ(panel->HitTest({r.left + 10, r.top + 10}), b) << "its middle hits it";
        }
    }
    // The combat button lies on the screen clear of the panel, the
    // hold-ground button and the mini-map.
    EXPECT_TRUE(CPartyPanel::kCombatButton.Intersect(CPartyPanel::kPlace).IsEmpty());
    EXPECT_TRUE(CPartyPanel::kCombatButton.Intersect(frame->m_rcHoldGroundButton).IsEmpty());
}

TEST_F(InGame, ThePanelsAreDrawnEveryFrameWithTheMembersChoices) {
    ASSERT_TRUE(ok);
    CPartyPanel& party = Windows().PartyPanel();
    qv::Surface* s = GetPopupSurface();
    ASSERT_NE(s, nullptr);
    // The stand-fast button of the hero: drawn up, then pressed in once the
    // choice is taken (its corner goes dark).
    const qv::Rect standFast = party.CombatPanel(0)->ButtonRect(5);
    const uint16_t up = s->Row(standFast.top)[standFast.left];
    Order order = Order::Of(Order::Kind::Stance);
    order.actor = Hero();
    order.value = Play::kChoiceStandFast;
    order.mode = 1;
    ASSERT_EQ(frame->m_Play.Give(order), 1);
    Ticks(1);
    EXPECT_NE(s->Row(standFast.top)[standFast.left], up) << "redrawn pressed by the next frame";
    EXPECT_EQ(s->Row(standFast.top)[standFast.left], PaletteIndexToPixel(0));
}

TEST_F(InGame, AClickOnACombatPanelGoesToItsMemberAlone) {
    ASSERT_TRUE(ok);
    Player* hero = Hero();
    Player* dog = Member(1);
    ASSERT_NE(dog, nullptr);
    CPartyPanel& party = Windows().PartyPanel();
    auto at = [&](int slot, int b) { return Middle(party.CombatPanel(slot)->ButtonRect(b)); };
    ASSERT_EQ(Of(hero), (Choices{0, 1}));
    ASSERT_EQ(Of(dog), (Choices{0, 1}));
    ASSERT_EQ(hero->m_pRangedWeapon, nullptr) << "the hero sets out with no bow";
    dog->m_iRangedMode = 2;
    struct Row {
        const char* what;
        std::function<qv::Point()> where;
        Choices hero, dog;
        int dogRanged;
        Player* controlled;
    };
    const Row rows[] = {
        {"the hero's defensive", [&] { return at(0, 6); }, {0, 0}, {0, 1}, 2, hero},
        {"the dog's berserker", [&] { return at(1, 8); }, {0, 0}, {0, 2}, 2, hero},
        {"the dog's stand fast", [&] { return at(1, 5); }, {0, 0}, {1, 2}, 2, hero},
        {"the hero's stand fast", [&] { return at(0, 5); }, {1, 0}, {1, 2}, 2, hero},
        {"the hero's stand fast again flips it back",
         [&] { return at(0, 5); },
         {0, 0},
         {1, 2},
         2,
         hero},
        {"the hero's normal", [&] { return at(0, 7); }, {0, 1}, {1, 2}, 2, hero},
        {"the dog's close combat only", [&] { return at(1, 0); }, {0, 1}, {1, 2}, 0, hero},
        // Shooting wants a bow: the buttons are not there, and the click
        // goes to the member's button under them.
        {"the dog's shoot only is not there: the dog is picked",
         [&] {
             return qv::Point{at(1, 0).x + 21, at(1, 0).y};
         },
         {0, 1},
         {1, 2},
         0,
         dog},
        {"the hero's name picks the hero",
         [&] {
             return qv::Point{party.ButtonRect(0).left + 20, party.ButtonRect(0).top + 5};
         },
         {0, 1},
         {1, 2},
         0,
         hero},
        {"the bars beside stand fast pick the dog",
         [&] {
             return qv::Point{at(1, 5).x + 30, at(1, 5).y};
         },
         {0, 1},
         {1, 2},
         0,
         dog},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Click(row.where());
        Ticks(1);
        EXPECT_EQ(Of(hero), row.hero);
        EXPECT_EQ(Of(dog), row.dog);
        EXPECT_EQ(dog->m_iRangedMode, row.dogRanged);
        EXPECT_EQ(frame->m_World.m_pControlPlayer.Get(), row.controlled);
        EXPECT_EQ(party.CombatPanel(0)->m_iAttackMethod, row.hero.method) << "the copy follows";
        EXPECT_EQ(party.CombatPanel(1)->m_iToggle, row.dog.standFast);
    }
}

TEST_F(InGame, HoveringACombatButtonNamesItOnTheMessageLine) {
    ASSERT_TRUE(ok);
    CPartyPanel& party = Windows().PartyPanel();
    Windows().OnMouseMove(Middle(party.CombatPanel(1)->ButtonRect(8)));
    EXPECT_EQ(party.CombatButtonTip(), "Kaleb: Berserker");
    Windows().OnMouseMove(Middle(CPartyPanel::kCombatButton));
    EXPECT_EQ(party.CombatButtonTip(), "Combat Preferences");
    Windows().OnMouseMove({100, 100});
    EXPECT_EQ(party.CombatButtonTip(), "");
}

TEST_F(InGame, TheCombatButtonOpensThePreferencesOfTheControlledMember) {
    ASSERT_TRUE(ok);
    Player* dog = Member(1);
    ASSERT_NE(dog, nullptr);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    // The windows' own loops run on what the test hands them, not on the
    // window system's input.
    loop.SetSource(nullptr);
    using D = CCombatPrefsDlg;
    // Settings in the order of the dialog's six values (then the one it has
    // no control for): mode, whom, flee, magic, preference, method.
    using Settings = std::array<int32_t, 7>;
    const Settings start = Hero()->m_iCombatSettings;
    ASSERT_EQ(start, (Settings{1, 2, 1, 1, 0, 2, 1}));
    struct Row {
        const char* what;
        int member;               // slot of the controlled member
        std::vector<int> clicks;  // the dialog's controls, in order
        int answer;
        Settings hero, dog;
    };
    const Settings dogStart = dog->m_iCombatSettings;
    const Row rows[] = {
        {"OK with nothing changed", 0, {D::kIdOk}, 1, start, dogStart},
        {"berserker", 0, {D::kIdBerserker, D::kIdOk}, 1, {1, 2, 1, 1, 0, 2, 2}, dogStart},
        {"attack the strongest, the evasive",
         0,
         {D::kIdAttackStrongest, D::kIdAttackEvasive, D::kIdOk},
         1,
         {1, 1, 1, 1, 0, 0, 2},
         dogStart},
        {"attack while evading",
         0,
         {D::kIdAttackWhileEvading, D::kIdOk},
         1,
         {0, 1, 1, 1, 0, 0, 2},
         dogStart},
        {"attacking at random is refused, the rest is taken",
         0,
         {D::kIdCloseCombat, D::kIdAttackRandomly, D::kIdDefensive, D::kIdOk},
         1,
         {1, 1, 1, 1, 0, 0, 0},
         dogStart},
        {"cancelled: nothing changes",
         0,
         {D::kIdNormal, D::kIdAnyone, D::kIdCancel},
         2,
         {1, 1, 1, 1, 0, 0, 0},
         dogStart},
        {"the dog controlled: the dog's",
         1,
         {D::kIdAttackWeakest, D::kIdOk},
         1,
         {1, 1, 1, 1, 0, 0, 0},
         {dogStart[0], 0, dogStart[2], dogStart[3], dogStart[4], dogStart[5], dogStart[6]}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Key(static_cast<int>('1' + row.member));
        Ticks(1);
        CCombatPrefsDlg* seen = nullptr;
        Settings shown{};
        loop.SetIdleHook([&] {
            if (seen) return false;
            seen = dynamic_cast<CCombatPrefsDlg*>(GetPopupChain()->m_pModalPopup);
            if (!seen) return false;
            shown = {seen->m_iModeOfCombat,
                     seen->m_iAttackWhom,
                     seen->m_bFlee,
                     seen->m_iMagicPriority,
                     0,
                     seen->m_iAttackPreference,
                     seen->m_iAttackMethod};
            for (int id : row.clicks) seen->OnCommand(id);
            return true;
        });
        Settings before = row.member == 0 ? Hero()->m_iCombatSettings : dog->m_iCombatSettings;
        before[4] = 0;  // no control shows it
        frame->OnLButtonDown(Middle(CPartyPanel::kCombatButton));
        frame->OnLButtonUp(Middle(CPartyPanel::kCombatButton));
        loop.SetIdleHook({});
        ASSERT_NE(seen, nullptr) << "the dialog was up";
        EXPECT_EQ(Hero()->m_iCombatSettings, row.hero);
        EXPECT_EQ(dog->m_iCombatSettings, row.dog);
        EXPECT_FALSE(frame->m_Play.IsPopupOpen()) << "closed";
        EXPECT_EQ(shown, before) << "the dialog opened on the member's settings";
    }
}

TEST_F(InGame, ThePreferencesShowTheMembersSettingsWhenOpened) {
    ASSERT_TRUE(ok);
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    // The windows' own loops run on what the test hands them, not on the
    // window system's input.
    loop.SetSource(nullptr);
    Hero()->m_iCombatSettings = {0, 1, 0, 2, 0, 1, 2};
    std::array<int, 6> shown{};
    bool methodsGreyed = false;
    loop.SetIdleHook([&] {
        auto* d = dynamic_cast<CCombatPrefsDlg*>(GetPopupChain()->m_pModalPopup);
        if (!d) return false;
        shown = {d->m_iModeOfCombat,  d->m_iAttackWhom,       d->m_bFlee,
                 d->m_iMagicPriority, d->m_iAttackPreference, d->m_iAttackMethod};
        methodsGreyed = !d->IsEnabled(CCombatPrefsDlg::kIdBerserker);
        d->OnKeyDown(qv::VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(Windows().OpenCombatPrefs(Hero()), 2);
    loop.SetIdleHook({});
    EXPECT_EQ(shown, (std::array<int, 6>{0, 1, 0, 2, 1, 2}));
    EXPECT_TRUE(methodsGreyed) << "attack while evading greys the methods";
    EXPECT_EQ(Hero()->m_iCombatSettings, (std::array<int32_t, 7>{0, 1, 0, 2, 0, 1, 2}))
        << "Esc changes nothing";
    EXPECT_EQ(Windows().OpenCombatPrefs(nullptr), 0) << "no member, no dialog";
}

}  // namespace
}  // namespace ingame_test
