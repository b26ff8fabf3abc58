#include <gtest/gtest.h>

#include "items/Money.h"
#include "items/Potions.h"
#include "items/SpellFixture.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;
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
        {0, "Empty potion", 3, 0},
        {1, "Potion of Healing", 9, 1},
        {2, "Potion of Restore Mana", 9, 2},
        {3, "Potion of Strength", 9, 3},
        {4, "Potion of Speed", 9, 4},
        {5, "Potion of Toughskin", 9, 5},
        {6, "Potion of Cure Poison", 9, 6},
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

TEST(Potion, RecordAndCopy) {
    Potion p(PotionType::Healing);
    Bytes want;
    PutNewClass(want, "Potion", 1);
    PutNewClass(want, "Useable", 1);
    PutNewClass(want, "Object", 11);
    PutInts(want, {1, 0, 9, 10});  // picture column 1, row 0, weight 9, value 10
    PutString(want, "Potion");
    PutString(want, "Potion of Healing");
    PutInts(want, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutInt(want, 1);
    EXPECT_EQ(StoreObject(p), want);
    auto back = LoadObject<Potion>(want);
    EXPECT_EQ(back->m_iPotionType, PotionType::Healing);
    EXPECT_EQ(back->m_iWeight, 9);
    std::unique_ptr<Object> copy(p.Clone());
    auto* potion = qv::DynamicCast<Potion>(copy.get());
    ASSERT_NE(potion, nullptr);
    EXPECT_EQ(potion->m_strSpecialName, "Potion of Healing");
}

TEST(Money, WeighsNothingAndAlwaysStacks) {
    Money gold;
    EXPECT_EQ(gold.m_strSpecialName, "Gold");
    EXPECT_EQ(gold.Type(), MONEY);
    EXPECT_EQ(gold.m_iBulkNum, 0);
    gold.m_iBulkNum = 250;
    EXPECT_EQ(gold.GetWeight(), 0);
    EXPECT_EQ(gold.CanInteract(), 1);
    // A coin of weight 2 weighs 2 a coin; never past the integer range.
    gold.m_iWeight = 2;
    EXPECT_EQ(gold.GetWeight(), 500);
    gold.m_iBulkNum = 2000000000;
    EXPECT_EQ(gold.GetWeight(), INT32_MAX);
    // A stored stack flag of 0 comes back set.
    gold.m_bStackable = 0;
    gold.m_iBulkNum = 7;
    Bytes bytes = StoreObject(gold);
    auto back = LoadObject<Money>(bytes);
    EXPECT_EQ(back->m_bStackable, 1);
    EXPECT_EQ(back->m_iBulkNum, 7);
}

}  // namespace
