// Armour: every material row of every kind, the rows a material outside 0..8
// takes, the names a material keeps or gives, copies, the info text and the
// stored records.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "items/Armour.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using namespace record_test;

struct MaterialCase {
    const char* cls;
    int32_t material;
    const char* name;  // the name after a new piece takes the material
    int32_t speed, absorption, value, weight;
};

// One row per material of every kind, as the tables give them, with the
// "other" rows at 9 and -1.
const MaterialCase kRows[] = {
    {"Boots", 0, "Shoes", 100, 1, 1, 4},
    {"Boots", 1, "Leather Boots", 99, 3, 6, 18},
    {"Boots", 2, "Snakeskin Boots", 99, 6, 28, 13},
    {"Boots", 3, "Scale Boots", 95, 7, 82, 20},
    {"Boots", 4, "Chain Boots", 90, 8, 153, 25},
    {"Boots", 5, "Plate Boots", 80, 9, 346, 40},
    {"Boots", 6, "Magic Boots", 100, 9, 2660, 4},
    {"Boots", 7, "Magic Boots", 100, 11, 14200, 5},
    {"Boots", 8, "Magic Speed Boots", 130, 10, 84320, 3},
    {"Boots", 9, "Shoes", 100, 1, 1, 4},
    {"Boots", -1, "Shoes", 100, 1, 1, 4},
    {"Gloves", 0, "Cloth Gloves", 100, 1, 1, 3},
    {"Gloves", 1, "Leather Gloves", 100, 2, 5, 7},
    {"Gloves", 2, "Snakeskin Gloves", 100, 4, 28, 6},
    {"Gloves", 3, "Scale Gloves", 98, 6, 88, 10},
    {"Gloves", 4, "Chain Gloves", 95, 7, 143, 13},
    {"Gloves", 5, "Plate Gloves", 90, 8, 376, 18},
    {"Gloves", 6, "Magic Gloves", 100, 8, 2960, 2},
    {"Gloves", 7, "Magic Gloves", 100, 9, 14800, 3},
    {"Gloves", 8, "Magic Gloves", 100, 8, 84230, 2},
    {"Gloves", 9, "Cloth Gloves", 100, 0, 1, 1},
    {"Helm", 0, "Armour", 100, 1, 1, 3},
    {"Helm", 1, "Leather Helm", 100, 2, 3, 15},
    {"Helm", 2, "Snakeskin Helm", 100, 4, 30, 10},
    {"Helm", 3, "Scale Helm", 95, 6, 75, 20},
    {"Helm", 4, "Chain Helm", 93, 8, 120, 20},
    {"Helm", 5, "Plate Helm", 90, 9, 375, 30},
    {"Helm", 6, "Magic Helm", 100, 9, 3000, 2},
    {"Helm", 7, "Magic Helm", 100, 10, 15200, 2},
    {"Helm", 8, "Magic Helm of Speed", 130, 9, 82100, 2},
    {"Helm", 9, "Armour", 100, 1, 1, 1},
    {"Leggings", 0, "Cloth Leggings", 100, 1, 2, 5},
    {"Leggings", 1, "Leather Leggings", 95, 5, 8, 20},
    {"Leggings", 2, "Snakeskin Leggings", 95, 8, 40, 15},
    {"Leggings", 3, "Scale Leggings", 92, 12, 85, 22},
    {"Leggings", 4, "Chain Leggings", 86, 15, 170, 26},
    {"Leggings", 5, "Plate Leggings", 80, 20, 355, 30},
    {"Leggings", 6, "Magic Leggings", 100, 22, 2000, 10},
    {"Leggings", 7, "Magic Leggings", 100, 24, 2780, 6},
    {"Leggings", 8, "Magic Leggings of Speed", 130, 22, 86430, 4},
    {"Leggings", 9, "Cloth Leggings", 100, 1, 2, 2},
    {"Shirt", 0, "Cloth Shirt", 100, 1, 2, 8},
    {"Shirt", 1, "Leather Shirt", 95, 3, 8, 16},
    {"Shirt", 2, "Snakeskin Shirt", 95, 6, 42, 12},
    {"Shirt", 3, "Scale Shirt", 92, 10, 80, 16},
    {"Shirt", 4, "Chain Shirt", 90, 15, 150, 40},
    {"Shirt", 5, "Plate Shirt", 85, 20, 340, 60},
    {"Shirt", 6, "Magic Shirt", 100, 22, 2730, 5},
    {"Shirt", 7, "Magic Shirt", 100, 24, 12530, 6},
    {"Shirt", 8, "Magic Shirt of Speed", 130, 22, 83200, 4},
    {"Shirt", 9, "Cloth Shirt", 100, 1, 2, 1},
    {"Shield", 0, "Small Wooden Shield", 98, 1, 2, 8},
    {"Shield", 1, "Large Wooden Shield", 95, 3, 5, 10},
    {"Shield", 2, "Snakeskin Shield", 95, 5, 25, 6},
    {"Shield", 3, "Scale Shield", 92, 5, 80, 10},
    {"Shield", 4, "Small Metal Shield", 90, 7, 120, 14},
    {"Shield", 5, "Large Metal Shield", 87, 10, 280, 16},
    {"Shield", 6, "Magic Shield", 100, 12, 3000, 6},
    {"Shield", 7, "Magic Shield", 100, 14, 12800, 10},
    {"Shield", 8, "Magic Shield", 130, 15, 76300, 6},
    {"Shield", 9, "Small Wooden Shield", 98, 1, 2, 8},
    {"Doggie", 0, "Cloth Dog Armour", 100, 1, 2, 6},
    {"Doggie", 1, "Leather Dog Armour", 95, 7, 15, 15},
    {"Doggie", 2, "Snakeskin Dog Armour", 95, 8, 80, 14},
    {"Doggie", 3, "Scale Dog Armour", 90, 10, 140, 17},
    {"Doggie", 4, "Chain Dog Armour", 84, 20, 180, 30},
    {"Doggie", 5, "Plate Dog Armour", 70, 30, 500, 50},
    {"Doggie", 6, "Magic Dog Armour", 100, 50, 4000, 8},
    {"Doggie", 7, "Magic Dog Armour", 100, 55, 23500, 10},
    {"Doggie", 8, "Magic Speed Dog Armour", 130, 52, 132500, 8},
    {"Doggie", 9, "Cloth Dog Armour", 100, 1, 2, 6},
    {"Cape", 0, "Cloth Cape", 98, 1, 2, 4},
    {"Cape", 3, "Cloth Cape", 98, 1, 2, 4},
    {"Cape", 5, "Cloth Cape", 98, 1, 2, 4},
    {"Cape", 6, "Magic Cape", 100, 4, 4000, 5},
    {"Cape", 7, "Magic Cape", 100, 5, 12700, 7},
    {"Cape", 8, "Magic Cape of Speed", 130, 4, 74480, 5},
    {"Cape", 9, "Cloth Cape", 98, 1, 2, 4},
    {"Ring", 0, "Gold Ring", 100, 1, 10, 1},
    {"Ring", 1, "Ring of Protection", 100, 10, 200, 1},
    {"Ring", 2, "Ring", 100, 1, 2, 1},
    {"Ring", -1, "Ring", 100, 1, 2, 1},
    {"Amulet", 0, "Gold Necklace", 100, 1, 10, 6},
    {"Amulet", 1, "Amulet of Protection", 100, 10, 200, 6},
    {"Amulet", 2, "Gold Necklace", 100, 1, 2, 6},
    {"Amulet", 9, "Gold Necklace", 100, 1, 2, 6},
};

std::unique_ptr<Armour> Make(const char* cls) {
    const qv::RuntimeClass* c = qv::RuntimeClass::Find(cls);
    if (!c) return nullptr;
    return std::unique_ptr<Armour>(qv::DynamicCast<Armour>(c->CreateObject()));
}

TEST(ArmourTables, EveryMaterialRow) {
    World world;
    for (const MaterialCase& row : kRows) {
        SCOPED_TRACE(std::string(row.cls) + " " + std::to_string(row.material));
        auto piece = Make(row.cls);
        ASSERT_NE(piece, nullptr);
        int32_t material = row.material;
        piece->SetMaterial(material);
        EXPECT_EQ(piece->m_iMaterial, row.material);
        EXPECT_EQ(piece->m_strSpecialName, row.name);
        EXPECT_EQ(piece->m_iSpeedFactor, row.speed);
        EXPECT_EQ(piece->m_iAbsorption, row.absorption);
        EXPECT_EQ(piece->GetValue(), row.value);
        EXPECT_EQ(piece->GetWeight(), row.weight);
        // A material the picture has no cell for shows the first.
        const int column = row.material >= 0 && row.material <= 8 ? row.material : 0;
        EXPECT_EQ(piece->m_iXImageNum, column);
    }
}

struct KindCase {
    const char* cls;
    int32_t location, kind;
    std::vector<int32_t> places;
};
const KindCase kKinds[] = {
    {"Shield", 2, 12, {1, 2}}, {"Helm", 3, 10, {}},  {"Amulet", 4, 14, {}},
    {"Shirt", 5, 6, {}},       {"Gloves", 6, 9, {}}, {"Ring", 7, 0, {}},
    {"Leggings", 8, 7, {}},    {"Boots", 9, 8, {}},  {"Cape", 10, 11, {}},
    {"Doggie", 12, 13, {}},    {"Armour", 1, 0, {}}, {"IntrinsicArmour", 1, 1, {}},
};

TEST(ArmourTables, LocationsKindsAndPlaces) {
    World world;
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.cls);
        auto piece = Make(k.cls);
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->GetLocation(), k.location);
        EXPECT_EQ(piece->GetArmourKind(), k.kind);
        EXPECT_EQ(piece->GetKind(), k.kind);
        EXPECT_EQ(piece->GetUseableKind(), 6);
        std::vector<int32_t> places;
        for (const ItemUse& u : piece->m_LocationList) places.push_back(u.m_iLocation);
        EXPECT_EQ(places, k.places);
    }
    IntrinsicArmour shell;
    EXPECT_EQ(shell.m_iAbsorption, 100);
}

TEST(ArmourRules, NamesTheMaterialsKeepOrGive) {
    World world;
    // A helm of material 0 keeps the name it had.
    Helm helm;
    helm.SetName("Grandfather's Helm");
    int32_t m = 0;
    helm.SetMaterial(m);
    EXPECT_EQ(helm.m_strSpecialName, "Grandfather's Helm");
    // An amulet becomes a gold necklace only while it is called a necklace.
    Amulet amulet;
    EXPECT_EQ(amulet.m_strSpecialName, "Gold Necklace");
    amulet.SetName("Heartstone");
    amulet.SetMaterial(m);
    EXPECT_EQ(amulet.m_strSpecialName, "Heartstone");
    // Armour itself only records the material and its picture.
    Armour plain;
    m = 5;
    plain.SetMaterial(m);
    EXPECT_EQ(plain.m_iMaterial, 5);
    EXPECT_EQ(plain.m_iXImageNum, 5);
    EXPECT_EQ(plain.m_strSpecialName, "Armour");
    EXPECT_EQ(plain.m_iAbsorption, 1);
}

TEST(ArmourRules, InfoText) {
    World world;
    Boots boots(5);
    EXPECT_EQ(boots.GetInfoText(), "Plate Boots\nSpeed Factor: 80\nDam. Abs.: 9\nWeight: 40");
}

TEST(ArmourRules, ACloneIsTheSameKindAndMaterialOnly) {
    World world;
    Boots boots(5);
    boots.SetName("Stompers");
    boots.m_iValue = 1;
    boots.m_iBulkNum = 3;
    std::unique_ptr<Object> c(boots.Clone());
    auto* copy = qv::DynamicCast<Boots>(c.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_iMaterial, 5);
    EXPECT_EQ(copy->m_strSpecialName, "Plate Boots");
    EXPECT_EQ(copy->GetValue(), 346);
    EXPECT_EQ(copy->m_iBulkNum, 1);

    IntrinsicArmour shell(3, 90, 40, 1, "Shell");
    std::unique_ptr<Object> s(shell.Clone());
    EXPECT_NE(qv::DynamicCast<IntrinsicArmour>(s.get()), nullptr);
}

// An armour record as its class writes it, up to the material that schema 2
// adds: the object part with the frame column, weight and value.
Bytes ArmourRecord(const char* cls, uint16_t schema, int32_t column, int32_t weight, int32_t value,
                   const char* name) {
    Bytes b;
    PutNewClass(b, cls, 1);
    PutNewClass(b, "Armour", schema);
    PutNewClass(b, "Useable", 1);
    PutNewClass(b, "Object", 11);
    PutInts(b, {column, 0, weight, value});  // frame column and row, weight, value
    PutString(b, "Armour");
    PutString(b, name);
    PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
    return b;
}

TEST(ArmourRecords, PlateBootsAsStored) {
    World world;
    Boots boots(5);
    boots.m_iValue = 300;  // haggled down
    Bytes expected = ArmourRecord("Boots", 2, 5, 40, 300, "Plate Boots");
    PutInts(expected, {5});  // the material
    EXPECT_EQ(StoreObject(boots), expected);

    // The value stays the record's; name, numbers and weight come from the
    // material.
    auto back = LoadObject<Boots>(expected);
    EXPECT_EQ(StoreObject(*back), expected);
    EXPECT_EQ(back->m_iAbsorption, 9);
}

TEST(ArmourRecords, SchemaOneIsMaterialZeroWithTheStoredValue) {
    World world;
    // A schema-1 shirt: no material in the record.
    auto shirt = LoadObject<Shirt>(ArmourRecord("Shirt", 1, 3, 60, 77, "Plate Shirt"));
    EXPECT_EQ(shirt->m_iMaterial, 0);
    EXPECT_EQ(shirt->m_strSpecialName, "Cloth Shirt");
    EXPECT_EQ(shirt->GetValue(), 77);
    EXPECT_EQ(shirt->GetWeight(), 8);
    EXPECT_EQ(shirt->m_iXImageNum, 0);

    // A material no table row has: the "other" row, picture 0, the number
    // kept for the next save.
    Bytes odd = ArmourRecord("Gloves", 2, 0, 3, 5, "Cloth Gloves");
    PutInts(odd, {INT32_MIN});
    auto gloves = LoadObject<Gloves>(odd);
    EXPECT_EQ(gloves->m_iMaterial, INT32_MIN);
    EXPECT_EQ(gloves->m_iAbsorption, 0);
    EXPECT_EQ(gloves->m_iXImageNum, 0);
    EXPECT_NE(gloves->GetImage(), nullptr);
    // Stored again: the same, but for the weight of the "other" row.
    Bytes again = ArmourRecord("Gloves", 2, 0, 1, 5, "Cloth Gloves");
    PutInts(again, {INT32_MIN});
    EXPECT_EQ(StoreObject(*gloves), again);
}

}  // namespace
