// What the party's windows ask of play: a thing or a known spell picked for
// use waits for its target, and the fighting choices of the combat panel.

#include <memory>

#include "PlayFixture.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/Missile.h"
#include "items/Potions.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/TargetChoice.h"

using namespace play_test;

namespace {

class PlayPanels : public PlayFixture {};

TEST_F(PlayPanels, APickForUseWaitsForATargetOnlyForWhatTheActorHoldsAndCanUse) {
    // What is picked: 0 a known spell costing 5, 1 a spell it does not know,
    // 2 a potion in its bag, 3 a potion it does not have.
    struct Row {
        const char* rule;
        int what;
        uint32_t mana;
        bool alive;
        int answer, selectMode;
    };
    const Row rows[] = {
        {"a known spell, mana to spare", 0, 30, true, 2, UseSelect::kSpell},
        {"exactly its mana", 0, 5, true, 2, UseSelect::kSpell},
        {"one short of its mana", 0, 4, true, 0, 0},
        {"a spell it does not know", 1, 30, true, 0, 0},
        {"a potion it carries", 2, 0, true, 2, UseSelect::kItem},
        {"a potion it does not have", 3, 0, true, 0, 0},
        {"a dead actor picks nothing", 0, 30, false, 0, 0},
    };
    Player* caster = PlaceMember(1, At(36, 35));
    Toughskin toughskin;
    caster->AddSpell(toughskin);
    caster->m_pMagic->m_uMaxMana = 30;
    auto* carried = new Potion(PotionType::Healing);
    caster->AddToBag(carried, 0);
    Potion elsewhere(PotionType::Healing);
    Toughskin stranger;
    Object* things[] = {caster->m_pMagic->m_SpellList[0].get(), &stranger, carried, &elsewhere};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        play.Give(Order::Of(Order::Kind::CancelTarget));
        caster->m_pMagic->m_uMana = r.mana;
        caster->m_sLifeState = r.alive ? 1 : 0;
        Order pick = Order::Of(Order::Kind::PickForUse);
        pick.actor = caster;
        pick.object = things[r.what];
        EXPECT_EQ(play.Give(pick), r.answer);
        EXPECT_EQ(play.Interacting().SelectMode(), r.selectMode);
        EXPECT_EQ(play.Interacting().PendingItem().Get(), r.answer ? things[r.what] : nullptr);
        EXPECT_EQ(play.Interacting().PendingItemUser().Get(), r.answer ? caster : nullptr);
        EXPECT_EQ(caster->m_pMagic->m_uMana, r.mana) << "nothing is cast yet";
    }
    caster->m_sLifeState = 1;
}

TEST_F(PlayPanels, ACombatChoiceIsTakenForThePartyWithinItsValues) {
    struct Row {
        const char* rule;
        int slot;
        bool bow;
        int32_t which, value;
        int answer, ranged, standFast, method;
    };
    constexpr int32_t R = Play::kChoiceRangedMode, S = Play::kChoiceStandFast,
                      M = Play::kChoiceAttackMethod, T = Order::kToggle;
    const Row rows[] = {
        {"close combat only", 1, false, R, 0, 1, 0, 0, 1},
        {"shoot only wants a ranged weapon", 1, false, R, 1, 0, 2, 0, 1},
        {"shoot from afar wants one too", 1, false, R, 2, 0, 2, 0, 1},
        {"with a bow: shoot only", 1, true, R, 1, 1, 1, 0, 1},
        {"with a bow: no third ranged mode", 1, true, R, 3, 0, 2, 0, 1},
        {"no ranged mode below 0", 1, true, R, -1, 0, 2, 0, 1},
        {"stand fast", 1, false, S, 1, 1, 2, 1, 1},
        {"the toggle flips it", 1, false, S, T, 1, 2, 1, 1},
        {"stand fast is 0 or 1", 1, false, S, 2, 0, 2, 0, 1},
        {"defensive", 1, false, M, 0, 1, 2, 0, 0},
        {"berserker", 1, false, M, 2, 1, 2, 0, 2},
        {"no fourth method", 1, false, M, 3, 0, 2, 0, 1},
        {"no choice 3", 1, false, 3, 0, 0, 2, 0, 1},
        {"outside the party nothing is chosen", 0, false, M, 0, 0, 2, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player p;
        p.m_iPartySlot = r.slot;
        if (r.bow) {
            auto* bow = new Bow;
            p.AddToBag(bow, 0);
            ASSERT_EQ(p.EquipObject(bow), 1);
        }
        Order choice = Order::Of(Order::Kind::Stance);
        choice.actor = &p;
        choice.value = r.which;
        choice.mode = r.value;
        EXPECT_EQ(play.Give(choice), r.answer);
        EXPECT_EQ(p.m_iRangedMode, r.ranged);
        EXPECT_EQ(p.m_bPanelToggle, r.standFast);
        EXPECT_EQ(p.m_iCombatSettings[6], r.method);
    }
}

TEST_F(PlayPanels, AnEffectIconEndsTheMembersLastingSpellsItShows) {
    // Spells laid on the member, and those left after: F Protect from Fire,
    // G Grounding, I Invisibility, T Strength, S Shock, L Levitate.
    struct Row {
        const char* rule;
        int slot, icon, answer;
        std::string laid, left;
    };
    const Row rows[] = {
        {"icon 0: Protect from Fire alone", 1, 0, 1, "FS", "S"},
        {"icon 1: Grounding", 1, 1, 1, "G", ""},
        {"icon 2: Invisibility and Strength, one kind", 1, 2, 1, "FIT", "F"},
        {"icon 3: Shock", 1, 3, 1, "S", ""},
        {"icon 3: Levitate when no Shock", 1, 3, 1, "GL", "G"},
        {"an icon showing nothing ends nothing", 1, 3, 0, "F", "F"},
        {"icon 4 does nothing", 1, 4, 0, "FGIS", "FGIS"},
        {"icon 5 does nothing", 1, 5, 0, "FGIS", "FGIS"},
        {"the last is icon 5", 1, 6, 0, "FGIS", "FGIS"},
        {"an outsider's spells are not the player's", 0, 3, 0, "S", "S"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player p;
        p.SetPlayerNumber(7);
        p.m_iPartySlot = r.slot;
        ActiveSpells spells;
        const auto lay = [&](auto s, char c) {
            if (r.laid.find(c) == std::string::npos) return;
            s->ApplyEffect(nullptr, &p);
            SettleSpell(std::move(s));
        };
        lay(std::make_unique<ProtectFromFire>(), 'F'), lay(std::make_unique<Grounding>(), 'G');
        lay(std::make_unique<Invisibility>(), 'I'), lay(std::make_unique<Strength>(), 'T');
        lay(std::make_unique<Shock>(), 'S'), lay(std::make_unique<Levitate>(), 'L');
        Order end = Order::With(Order::Kind::EndEffect, r.icon);
        end.actor = &p;
        EXPECT_EQ(play.Give(end), r.answer);
        const int32_t on[] = {p.m_bFireProtection, p.m_bGrounded,    p.m_bInvisible,
                              p.m_iStrengthBonus,  p.m_bShockStrike, p.m_bLevitating};
        std::string left;
        for (size_t i = 0; i < 6; ++i)
            if (on[i]) left += "FGITSL"[i];
        EXPECT_EQ(left, r.left);
    }
}

}  // namespace
