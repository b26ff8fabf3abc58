// The combat mode panels of the party panel in play: one for each shown
// member, drawn with the panel every frame, a click on one going to that member alone
// (and one it does not take picking the member), and the party panel's
// combat button opening the controlled member's "Combat Preferences", whose
// choices reach the member as orders.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "InGameFixture.h"
#include "items/ActiveSpells.h"
#include "items/SpellsAir.h"
#include "media/DirectDraw.h"
#include "platform/Events.h"
#include "windows/CombatPrefsDlg.h"

namespace ingame_test {
namespace {

using CombatPanel = CCombatModePanel;

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
        EXPECT_EQ(button.Intersect(CPartyPanel::kPlace), button);
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
    // The combat button lies on the screen clear of the panel and the
    // hold-ground button.
    EXPECT_TRUE(CPartyPanel::kCombatButton.Intersect(CPartyPanel::kPlace).IsEmpty());
    EXPECT_TRUE(CPartyPanel::kCombatButton.Intersect(frame->m_rcHoldGroundButton).IsEmpty());
}

TEST_F(InGame, AClickOnACombatPanelGoesToItsMemberAloneIsDrawnAndHoveringNamesIt) {
    ASSERT_TRUE(ok);
    Player *hero = Hero(), *dog = Member(1);
    ASSERT_NE(dog, nullptr);
    CPartyPanel& party = Windows().PartyPanel();
    // A member's stand-fast switch and attack method, as the panel shows them.
    auto choices = [](const Player* p) {
        return std::to_string(p->m_bPanelToggle) + std::to_string(p->m_iCombatSettings[6]);
    };
    ASSERT_EQ(choices(hero) + choices(dog), "0101");
    ASSERT_EQ(hero->m_pRangedWeapon, nullptr) << "the hero sets out with no bow";
    dog->m_iRangedMode = 2;
    // A point by a member's panel button, and how far beside it.
    auto at = [&](int slot, int b, int dx) {
        const qv::Point m = Middle(party.CombatPanel(slot)->ButtonRect(b));
        return qv::Point{m.x + dx, m.y};
    };
    const qv::Rect heroButton = party.ButtonRect(0);
    const qv::Rect standFast = party.CombatPanel(0)->ButtonRect(5);
    qv::Surface* screen = GetPopupSurface();
    ASSERT_NE(screen, nullptr);
    struct Row {
        const char* rule;
        qv::Point where;
        const char* after;  // the hero's then the dog's stand fast and method
        int dogRanged;
        Player* controlled;
    };
    // clang-format off
    const Row rows[] = {
        {"the hero's defensive", at(0, 6, 0), "0001", 2, hero},
        {"the dog's berserker", at(1, 8, 0), "0002", 2, hero},
        {"the dog's stand fast", at(1, 5, 0), "0012", 2, hero},
        {"the hero's stand fast", at(0, 5, 0), "1012", 2, hero},
        {"the hero's stand fast again flips it back", at(0, 5, 0), "0012", 2, hero},
        {"the hero's normal", at(0, 7, 0), "0112", 2, hero},
        {"the dog's close combat only", at(1, 0, 0), "0112", 0, hero},
        // Shooting wants a bow: the buttons are not there, and the click
        // goes to the member's button under them.
        {"the dog's shoot only is not there: the dog is picked", at(1, 0, 21), "0112", 0, dog},
        {"the hero's name picks the hero", {heroButton.left + 20, heroButton.top + 5}, "0112", 0, hero},
        {"the bars beside stand fast pick the dog", at(1, 5, 30), "0112", 0, dog},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Click(r.where);
        Ticks(1);
        EXPECT_EQ(choices(hero) + choices(dog), r.after);
        EXPECT_EQ(dog->m_iRangedMode, r.dogRanged);
        EXPECT_EQ(frame->m_World.m_pControlPlayer.Get(), r.controlled);
        EXPECT_EQ(party.CombatPanel(0)->m_iAttackMethod, r.after[1] - '0') << "the copy follows";
        EXPECT_EQ(party.CombatPanel(1)->m_iToggle, r.after[2] - '0');
        // The hero's stand-fast button, drawn by the frame after: pressed in
        // (its corner dark) while the choice is taken.
        EXPECT_EQ(screen->Row(standFast.top)[standFast.left] == PaletteIndexToPixel(0),
                  r.after[0] == '1');
    }
    const struct {
        qv::Point at;
        const char* tip;
    } hovers[] = {{at(1, 8, 0), "Kaleb: Berserker"},
                  {Middle(CPartyPanel::kCombatButton), "Combat Preferences"},
                  {{100, 100}, ""}};
    for (const auto& h : hovers) {
        Windows().OnMouseMove(h.at);
        EXPECT_EQ(party.CombatButtonTip(), h.tip);
    }
}

TEST_F(InGame, AClickOnAMembersEffectIconEndsTheSpellItShows) {
    ASSERT_TRUE(ok && Member(1));
    Player* dog = Member(1);
    auto shock = std::make_unique<Shock>();
    shock->ApplyEffect(nullptr, dog);
    SettleSpell(std::move(shock));
    for (const auto& [rule, slot, icon, after] : {std::tuple{"an icon showing nothing", 1, 2, 1},
                                                  {"another member's icon", 0, 3, 1},
                                                  {"the dog's shock icon", 1, 3, 0}}) {
        SCOPED_TRACE(rule);
        Click(Middle(Windows().PartyPanel().EffectIconRect(slot, icon)));
        EXPECT_EQ(dog->m_bShockStrike, after);
    }
}

TEST_F(InGame, TheCombatButtonOpensThePreferencesOfTheControlledMember) {
    ASSERT_TRUE(ok);
    Player* dog = Member(1);
    ASSERT_NE(dog, nullptr);
    using D = CCombatPrefsDlg;
    // The settings as seven digits in the order of the dialog's six values,
    // then the one it has no control for: mode, whom, flee, magic,
    // (preference's own), preference, method.
    auto digits = [](const std::array<int32_t, 7>& s) {
        std::string d;
        for (int32_t v : s) d += std::to_string(v);
        return d;
    };
    ASSERT_EQ(digits(Hero()->m_iCombatSettings), "1211021");
    ASSERT_EQ(digits(dog->m_iCombatSettings), "1211021");
    constexpr int kEsc = -1;
    struct Row {
        const char* rule;
        int member;               // slot of the controlled member
        std::vector<int> clicks;  // the dialog's controls, in order, or Esc
        const char *hero, *dog;
    };
    // clang-format off
    const Row rows[] = {
        {"OK with nothing changed", 0, {D::kIdOk}, "1211021", "1211021"},
        {"berserker", 0, {D::kIdBerserker, D::kIdOk}, "1211022", "1211021"},
        {"attack the strongest, the evasive", 0, {D::kIdAttackStrongest, D::kIdAttackEvasive, D::kIdOk}, "1111002", "1211021"},
        {"attack while evading", 0, {D::kIdAttackWhileEvading, D::kIdOk}, "0111002", "1211021"},
        {"Esc changes nothing, and the dialog showed it so", 0, {D::kIdCloseCombat, kEsc}, "0111002", "1211021"},
        {"attacking at random is refused, the rest is taken", 0, {D::kIdCloseCombat, D::kIdAttackRandomly, D::kIdDefensive, D::kIdOk}, "1111000", "1211021"},
        {"cancelled: nothing changes", 0, {D::kIdNormal, D::kIdAnyone, D::kIdCancel}, "1111000", "1211021"},
        {"the dog controlled: the dog's", 1, {D::kIdAttackWeakest, D::kIdOk}, "1111000", "1011021"},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Key('1' + r.member);
        Ticks(1);
        std::array<int32_t, 7> before = Member(r.member)->m_iCombatSettings, shown{};
        before[4] = 0;  // no control shows it
        bool seen = false;
        WhileUp(
            [&] { Click(Middle(CPartyPanel::kCombatButton)); },
            [&](CDDWnd* w) {
                auto* d = dynamic_cast<D*>(w);
                if (!(seen = d != nullptr)) return;
                shown = {
                    d->m_iModeOfCombat,     d->m_iAttackWhom,  d->m_bFlee, d->m_iMagicPriority, 0,
                    d->m_iAttackPreference, d->m_iAttackMethod};
                for (int id : r.clicks)
                    if (id == kEsc)
                        d->OnKeyDown(qv::VK_ESCAPE);
                    else
                        d->OnCommand(id);
            });
        ASSERT_TRUE(seen) << "the dialog was up";
        EXPECT_EQ(digits(shown), digits(before)) << "the dialog opened on the member's settings";
        EXPECT_EQ(digits(Hero()->m_iCombatSettings), r.hero);
        EXPECT_EQ(digits(dog->m_iCombatSettings), r.dog);
        EXPECT_FALSE(frame->m_Play.IsPopupOpen()) << "closed";
    }
    EXPECT_EQ(Windows().OpenCombatPrefs(nullptr), 0) << "no member, no dialog";
}

}  // namespace
}  // namespace ingame_test
