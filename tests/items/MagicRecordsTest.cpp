// Whole stored records of the magic families, laid out by hand from their
// layouts: a creature's magic with a known spell, gold, a scroll, a power cube
// and its stand. (The spell kinds' records are in SpellRecordsTest, the
// potion's in PotionsTest, the skills' in SkillTest.)

#include <gtest/gtest.h>

#include <cstdint>

#include "items/Magic.h"
#include "items/Money.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/SpellsEarth.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

// Raw 32-bit floats as the archive keeps them.
constexpr int32_t kFloat1_5 = 0x3FC00000;
constexpr int32_t kFloat2 = 0x40000000;
constexpr int32_t kFloat3_25 = 0x40500000;
constexpr int32_t kFloat4 = 0x40800000;

TEST(MagicRecords, ACreaturesMagicWithAKnownSpell) {
    Magic m;
    auto heal = std::make_unique<Heal>();
    heal->m_iSerial = 12;
    m.m_SpellList.push_back(std::move(heal));
    m.m_uMaxMana = 30;
    m.m_uMana = 12;
    m.m_fAirSkill = 1.5f;
    m.m_fEarthSkill = 2.0f;
    m.m_fFireSkill = 3.25f;
    m.m_fWaterSkill = 4.0f;
    m.m_iRegenPeriod = 800;

    Bytes want;
    PutNewClass(want, "Magic", 3);
    PutWord(want, 1);  // one known spell
    PutNewClass(want, "Heal", 1);
    PutNewClass(want, "EarthSpell", 1);
    PutNewClass(want, "Spell", 6);
    PutNewClass(want, "Object", 11);
    PutInts(want, {0, 0, 1, 0});
    PutString(want, "Heal");
    PutString(want, "Heal");
    PutInts(want, {-1, 3, 1, 1, 0, 1, -1, -1});
    PutInts(want, {5, 500, 5, 0, 12});  // mana, spare, level, missile parameter, serial
    PutWord(want, 0);                   // no targets
    PutInt(want, -1);                   // no caster
    PutInts(want, {30, 12});            // maximum and current mana
    PutInts(want, {kFloat1_5, kFloat2, kFloat3_25, kFloat4});  // Air, Earth, Fire, Water
    PutInt(want, 800);
    EXPECT_EQ(StoreObject(m), want);

    auto back = LoadObject<Magic>(want);
    ASSERT_EQ(back->m_SpellList.size(), 1u);
    EXPECT_TRUE(back->m_SpellList[0]->IsKindOf(&Heal::classInfo));
    EXPECT_EQ(back->m_fEarthSkill, 2.0f);
    EXPECT_EQ(back->m_fFireSkill, 3.25f);
    EXPECT_EQ(back->m_uMaxMana, 30u);
    EXPECT_EQ(back->m_iRegenPeriod, 800);
    // The regeneration clock starts afresh.
    EXPECT_EQ(back->m_bFirstManaCall, 1);

    // Every truncation of the record is refused.
    for (size_t cut = 0; cut < want.size(); ++cut) {
        SCOPED_TRACE(cut);
        RefusalOf<Magic>(Bytes(want.begin(), want.begin() + static_cast<ptrdiff_t>(cut)));
    }
}

TEST(MagicRecords, Gold) {
    Money gold("Gold");
    gold.m_iBulkNum = 250;
    Bytes want;
    PutNewClass(want, "Money", 1);
    PutNewClass(want, "Object", 11);
    PutInts(want, {0, 0, 0, 1});  // picture, weight 0, value 1
    PutString(want, "Gold");
    PutString(want, "Gold");
    PutInts(want, {-1, 0, 1, 250, 1, 1, -1, -1});  // 250 of them, stackable
    EXPECT_EQ(StoreObject(gold), want);
    auto back = LoadObject<Money>(want);
    EXPECT_EQ(back->m_iBulkNum, 250);
    EXPECT_EQ(back->GetWeight(), 0);
}

TEST(MagicRecords, AScroll) {
    Scroll s(ScrollType::Healing);
    Bytes want;
    PutNewClass(want, "Scroll", 2);
    PutNewClass(want, "Useable", 1);
    PutNewClass(want, "Object", 11);
    PutInts(want, {0, 0, 1, 10});  // picture, weight 1, value 10
    PutString(want, "Scroll");
    PutString(want, "Scroll of Healing");
    PutInts(want, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutInts(want, {ScrollType::Healing, 0});  // type, no group
    EXPECT_EQ(StoreObject(s), want);
    EXPECT_EQ(LoadObject<Scroll>(want)->m_iScrollType, ScrollType::Healing);
}

TEST(MagicRecords, APowerCubeAndItsStand) {
    PowerCube cube;
    cube.m_iSymbol = CubeSymbol::Horsies;
    cube.Charge(1002, 1);
    Bytes want;
    PutNewClass(want, "PowerCube", 2);
    PutNewClass(want, "Object", 11);
    PutInts(want, {1, 0, 5, 0});  // the charged picture, weight 5
    PutString(want, "Cogo'Septem");
    PutString(want, "Cogo'Septem");
    PutInts(want, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutInts(want, {CubeSymbol::Horsies, 1002, 1});  // symbol, key, charges
    EXPECT_EQ(StoreObject(cube), want);
    auto back = LoadObject<PowerCube>(want);
    EXPECT_EQ(back->m_iChargeValue, 1002);
    EXPECT_EQ(back->GetDisplayName(), "Cogo'Septem - Horsies");

    PowerCubeStand stand;
    stand.m_iSymbol = 4;
    Bytes standWant;
    PutNewClass(standWant, "PowerCubeStand", 2);
    PutNewClass(standWant, "Object", 11);
    PutInts(standWant, {0, 0, 1, 0});
    PutString(standWant, "Nutrio'Septem");
    PutString(standWant, "Nutrio'Septem");
    PutInts(standWant, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutInt(standWant, 4);
    EXPECT_EQ(StoreObject(stand), standWant);
    EXPECT_EQ(LoadObject<PowerCubeStand>(standWant)->GetDisplayName(), "Nutrio'Septem - Shield");
}

}  // namespace
