#include <gtest/gtest.h>

#include <memory>

#include "creatures/Player.h"
#include "items/SpellFixture.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "platform/Message.h"

namespace {

using spell_test::SpellWorld;

TEST(PlayerCast, ACast) {
    // Toughskin costs 5 at level 10 (chance 3 x (skill - 10) + 50); the
    // first roll of the seeded generator is 41.
    struct Row {
        const char* rule;
        uint32_t mana;
        float skill;
        int32_t report;
        int want;
        uint32_t manaAfter;
        int32_t armour;  // the target's armour bonus after the cast
        float skillAfter;
        size_t shown;  // messages shown
    };
    const Row rows[] = {
        {"skill 50: sure, kept in effect", 30, 50.0f, 0, 1, 25, 1, 50.0f, 0},
        {"exactly the cost left leaves 0", 5, 50.0f, 0, 1, 0, 1, 50.0f, 0},
        {"one short: no cast, nothing paid", 4, 50.0f, 0, 0, 4, 0, 50.0f, 0},
        {"one short, reported", 4, 50.0f, 1, 0, 4, 0, 50.0f, 1},
        {"skill 7: chance 41, the roll 41 fails and costs", 30, 7.0f, 0, 1, 25, 0, 7.0f, 0},
        {"skill 8: chance 44, the roll 41 succeeds and teaches", 30, 8.0f, 0, 1, 25, 1, 8.0f + 5.0f,
         0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        qv::ScriptedMessages messages;
        Player& caster = w.Creature(1, r.mana, r.skill);
        caster.m_iPartySlot = 1;
        Player& target = w.Creature(2);
        EXPECT_EQ(caster.CastSpell(std::make_unique<Toughskin>(), &target, r.report), r.want);
        EXPECT_EQ(caster.m_pMagic->m_uMana, r.manaAfter);
        EXPECT_EQ(target.m_iArmourBonus, r.armour);
        EXPECT_EQ(w.spells.Count(), static_cast<size_t>(r.armour));
        EXPECT_FLOAT_EQ(caster.m_pMagic->m_fEarthSkill, r.skillAfter);
        EXPECT_EQ(caster.m_iAlertness, 999);  // every cast tires, cast or not
        ASSERT_EQ(messages.shown.size(), r.shown);
        if (r.shown) {
            EXPECT_EQ(messages.shown[0], "You need 1 more mana.");
        }
    }
}

TEST(PlayerCast, ACasterWithoutMagicNeverGetsToTheRoll) {
    SpellWorld w;
    qv::ScriptedMessages messages;
    Player& caster = w.Creature(1);
    Player& target = w.Creature(2);
    const uint32_t state = qv::RandState();
    EXPECT_EQ(caster.CastSpell(std::make_unique<Toughskin>(), &target, 1), 0);
    EXPECT_EQ(qv::RandState(), state);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(target.m_iArmourBonus, 0);
}

TEST(PlayerCast, AnEffectThatFindsNothingCostsNothing) {
    SpellWorld w;
    Player& caster = w.Creature(1, 30, 50.0f);
    Object wall;
    EXPECT_EQ(caster.CastSpell(std::make_unique<LightningBolt>(), &wall, 0), 0);
    EXPECT_EQ(caster.m_pMagic->m_uMana, 30u);
}

class Giant : public Player {
public:
    PlayerType GetPlayerType() override { return 4; }
};

TEST(PlayerCast, AGiantShowsItsCastingPictureWhileTheSpellStays) {
    SpellWorld w;
    Giant giant;
    giant.SetPlayerNumber(1);
    giant.m_pMagic = std::make_unique<Magic>();
    giant.m_pMagic->m_uMana = 100;
    giant.m_pMagic->m_fEarthSkill = 50.0f;
    giant.m_pMagic->m_fAirSkill = 50.0f;
    Player& target = w.Creature(2);
    int column = 0, row = -1;
    giant.CastSpell(std::make_unique<Toughskin>(), &target, 0);
    giant.GetImageFrame(&column, &row);
    EXPECT_EQ(column, 9);
    giant.CastSpell(std::make_unique<Heal>(), &target, 0);  // spent at once
    giant.GetImageFrame(&column, &row);
    EXPECT_EQ(column, 0);
    w.spells.EndWhere([](Spell&) { return true; });
}

TEST(PlayerCast, AFighterOutsideThePartyCastsItsSpells) {
    SpellWorld w;
    Player& monster = w.Creature(1, 100, 50.0f);
    Player& foe = w.Creature(2);
    monster.m_pTarget = &foe;
    monster.AddSpell(Shock());  // aimed at the party's kind: on itself
    // No attack open and one spell: it is always cast.
    EXPECT_TRUE(monster.CastFightSpell(false));
    EXPECT_EQ(monster.m_bShockStrike, 1);
    EXPECT_EQ(foe.m_bShockStrike, 0);
    EXPECT_EQ(monster.m_pMagic->m_uMana, 90u);

    monster.RemoveSpell(monster.m_pMagic->m_SpellList[0].get());
    monster.AddSpell(Toughskin());  // any creature: on its target
    EXPECT_TRUE(monster.CastFightSpell(false));
    EXPECT_EQ(foe.m_iArmourBonus, 1);

    // A party member leaves spells to the player; no magic, no spells.
    monster.m_iPartySlot = 1;
    EXPECT_FALSE(monster.CastFightSpell(false));
    Player& plain = w.Creature(3);
    EXPECT_FALSE(plain.CastFightSpell(true));
}

TEST(PlayerCast, UsingAKnownSpellCastsACopyOfIt) {
    SpellWorld w;
    Player& user = w.Creature(1, 30, 50.0f);
    Player& target = w.Creature(2);
    user.AddSpell(Toughskin());
    Spell* known = user.m_pMagic->m_SpellList[0].get();
    EXPECT_EQ(known->Use(&user, &target), 0);
    EXPECT_EQ(target.m_iArmourBonus, 1);
    ASSERT_EQ(w.spells.Count(), 1u);
    EXPECT_NE(w.spells.Spells()[0], known);
    EXPECT_EQ(user.m_pMagic->m_SpellList.size(), 1u);
}

}  // namespace
