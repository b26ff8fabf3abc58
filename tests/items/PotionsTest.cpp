#include <gtest/gtest.h>

#include "items/Money.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellFixture.h"

namespace {

using spell_test::SpellWorld;

// The first roll of a freshly seeded chance generator (seed 1).
constexpr int kFirstRoll = 41;

TEST(Potion, Drinking) {
    struct Row {
        const char* rule;
        int32_t type;
        bool magic;
        int32_t hp, mana;  // the drinker's, of 100 each
        int32_t wantHp, wantMana;
        int32_t Player::*figure;
        int32_t wantFigure;
        int32_t typeAfter;  // the potion's
        size_t inEffect;
    };
    const Row rows[] = {
        {"healing 95 of 100 stops at 100", PotionType::Healing, false, 95, 0, 100, 0, nullptr, 0,
         PotionType::Empty, 0},
        {"healing never lowers 120 of 100", PotionType::Healing, false, 120, 0, 120, 0, nullptr, 0,
         PotionType::Empty, 0},
        {"healing 10 + roll % 10", PotionType::Healing, false, 50, 0, 50 + 10 + kFirstRoll % 10, 0,
         nullptr, 0, PotionType::Empty, 0},
        {"mana 10 + roll % 10", PotionType::RestoreMana, true, 50, 20, 50,
         20 + 10 + kFirstRoll % 10, nullptr, 0, PotionType::Empty, 0},
        {"mana on a creature without magic stays full", PotionType::RestoreMana, false, 50, 0, 50,
         0, nullptr, 0, PotionType::RestoreMana, 0},
        {"strength", PotionType::Strength, false, 50, 0, 50, 0, &Player::m_iCurStr, 60,
         PotionType::Empty, 1},
        {"speed", PotionType::Speed, false, 50, 0, 50, 0, &Player::m_iSpeedState, 1,
         PotionType::Empty, 1},
        {"toughskin", PotionType::Toughskin, false, 50, 0, 50, 0, &Player::m_iArmourBonus, 1,
         PotionType::Empty, 1},
        {"cure poison: spent at once", PotionType::CurePoison, false, 50, 0, 50, 0,
         &Player::m_iPoison, 15, PotionType::Empty, 0},
        {"an empty potion does nothing", PotionType::Empty, false, 50, 0, 50, 0, nullptr, 0,
         PotionType::Empty, 0},
        {"a type there is not does nothing", 9, false, 50, 0, 50, 0, nullptr, 0, 9, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& user = w.Creature(1);
        Player& drinker = w.Creature(2, r.magic ? 100 : 0);
        drinker.m_iMaxHitPoints = 100;
        drinker.m_iHitPoints = r.hp;
        drinker.m_iPoison = 25;
        if (r.magic) drinker.m_pMagic->m_uMana = static_cast<uint32_t>(r.mana);
        const int spells = Spell::LiveCount();
        Potion potion(r.type);
        EXPECT_EQ(potion.Use(&user, &drinker), 0);
        EXPECT_EQ(drinker.m_iHitPoints, r.wantHp);
        if (r.magic) {
            EXPECT_EQ(drinker.m_pMagic->m_uMana, static_cast<uint32_t>(r.wantMana));
        }
        if (r.figure) {
            EXPECT_EQ(drinker.*r.figure, r.wantFigure);
        }
        EXPECT_EQ(potion.m_iPotionType, r.typeAfter);
        EXPECT_EQ(w.spells.Count(), r.inEffect);
        // Every spell a potion makes is kept in effect or gone.
        EXPECT_EQ(Spell::LiveCount(), spells + static_cast<int>(r.inEffect));
    }
}

TEST(Potion, NamesWeightsAndPictures) {
    struct Row {
        int32_t type;
        const char* name;
        int32_t weight;
        int column;
    };
    const Row rows[] = {
        {0, "Empty potion", 3, 0},        {1, "Potion of Healing", 9, 1},
        {5, "Potion of Toughskin", 9, 5}, {6, "Potion of Cure Poison", 9, 6},
        {7, "Potion of Healing", 9, 0},   // past the types: name and weight kept
        {-1, "Potion of Healing", 9, 0},  // and the empty bottle's picture
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        Potion p(PotionType::Healing);
        p.SetPotionType(r.type);
        EXPECT_EQ(p.m_strSpecialName, r.name);
        EXPECT_EQ(p.m_iWeight, r.weight);
        EXPECT_EQ(p.m_iXImageNum, r.column);
        EXPECT_EQ(p.m_iPotionType, r.type);
    }
}

TEST(Potion, Targets) {
    SpellWorld w;
    Player& member = w.Creature(1);
    member.m_iPartySlot = 1;
    Player& stranger = w.Creature(2);
    Player& fallen = w.Creature(3);
    fallen.m_iPartySlot = 2;
    fallen.m_sLifeState = 0;
    Object thing;
    Potion p(PotionType::Healing);
    EXPECT_EQ(p.IsValidTarget(&member), 1);
    EXPECT_EQ(p.IsValidTarget(&stranger), 0);
    EXPECT_EQ(p.IsValidTarget(&fallen), 0);
    EXPECT_EQ(p.IsValidTarget(&thing), 0);
    EXPECT_EQ(p.Use(&member, &thing), 0);  // not a creature: nothing
    EXPECT_EQ(p.m_iPotionType, PotionType::Healing);
}

TEST(Money, WeighsNothingAndAlwaysStacks) {
    struct Row {
        const char* rule;
        int32_t weight, count, want;
    };
    const Row rows[] = {
        {"gold weighs nothing", 0, 250, 0},
        {"a coin of weight 2 weighs 2 a coin", 2, 250, 500},
        {"never past the integer range", 2, 2000000000, INT32_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Money gold;
        EXPECT_EQ(gold.Type(), MONEY);
        EXPECT_EQ(gold.CanInteract(), 1);
        if (r.weight) gold.m_iWeight = r.weight;
        gold.m_iBulkNum = r.count;
        EXPECT_EQ(gold.GetWeight(), r.want);
    }
}

TEST(Useable, ACopyKeepsWhatMakesItsName) {
    Scroll group(ScrollType::Invisibility);
    group.m_bGroup = 1;
    group.SetScrollType(ScrollType::Invisibility);
    PowerCube cube;
    cube.m_iSymbol = CubeSymbol::Stars;
    cube.Charge(3, 2);
    Potion potion(PotionType::Healing);
    struct Row {
        const char* rule;
        Object* original;
        const char* name;
    };
    const Row rows[] = {
        {"a potion", &potion, "Potion of Healing"},
        {"a group scroll", &group, "Scroll of Invisibility - Group"},
        {"a charged cube", &cube, "Cogo'Septem - Stars, glowing green"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::unique_ptr<Object> copy(r.original->Clone());
        EXPECT_EQ(copy->GetRuntimeClass(), r.original->GetRuntimeClass());
        EXPECT_EQ(copy->GetDisplayName(), r.name);
    }
}

}  // namespace
