// Every item class of the registry read back as it was stored, and copied.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "items/Armour.h"
#include "items/Container.h"
#include "items/Missile.h"
#include "items/Weapon.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using record_test::LoadObject;
using record_test::StoreObject;

// Every item class, by the name the registry knows it by.
const char kItems[] =
    "Useable Weapon IntrinsicWeapon Axe AxeBattle Dagger Flail HammerForge HammerWar Mace "
    "Pitchfork Scythe Spear Sword SwordLong Touch Whip WhipBarbed LRWeapon Bow Longbow Missile "
    "MagicMissile FiredMissile Armour IntrinsicArmour Shield Helm Amulet Shirt Gloves Ring "
    "Leggings Boots Cape Doggie CBag Container Chest Coffin Barrel";

// Classes whose copy is not meant to carry every field: armour is made anew
// of its material, a flight is never copied.
bool CopiedWhole(const std::string& name) {
    const qv::RuntimeClass* cls = qv::RuntimeClass::Find(name);
    return !cls->IsDerivedFrom(&Armour::classInfo) && name != "FiredMissile" &&
           !cls->IsDerivedFrom(&Container::classInfo);
}

TEST(ItemRecords, EveryClassComesBackAsItWasStored) {
    World world;
    std::istringstream names(kItems);
    for (std::string name; names >> name;) {
        SCOPED_TRACE(name);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(name);
        ASSERT_NE(cls, nullptr);
        std::unique_ptr<Object> made(static_cast<Object*>(cls->CreateObject()));
        ASSERT_NE(made, nullptr);
        made->m_iValue = 77;
        made->m_iOwner = 3;
        const auto bytes = StoreObject(*made);
        auto back = LoadObject<Object>(bytes);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetRuntimeClass()->name, name);
        EXPECT_EQ(StoreObject(*back), bytes);
        EXPECT_EQ(back->m_iValue, 77);
        if (CopiedWhole(name)) {
            std::unique_ptr<Object> copy(made->Clone());
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(copy->GetRuntimeClass()->name, name);
            EXPECT_EQ(StoreObject(*copy), bytes) << "a copy is whole";
        }
    }
}

// The fields each schema of a class reads, in the order the record holds them.
struct SchemaRow {
    const char* what;
    const char* chain;  // the class records and their schemas, outermost first
    const char* own;    // the ints after the object part
    bool nullObject;    // a null object reference after them (a missile's flight)
    std::function<void(Object&)> check;
};

const SchemaRow kSchemas[] = {
    {"a missile of schema 1 has no flight", "Missile 1 Weapon 2 Useable 1", "100 20 7 2 20", false,
     [](Object& o) { EXPECT_EQ(static_cast<Missile&>(o).GetFlight(), nullptr); }},
    {"a missile of schema 2 names its flight, here none", "Missile 2 Weapon 2 Useable 1",
     "100 20 7 2 20", true,
     [](Object& o) { EXPECT_EQ(static_cast<Missile&>(o).GetFlight(), nullptr); }},
    {"a barrel of schema 1 is never a rain barrel", "Barrel 1 Container 3 Scenery 1", "0 1", false,
     [](Object& o) {
         EXPECT_EQ(static_cast<Barrel&>(o).m_bRainBarrel, 0);
         EXPECT_EQ(static_cast<Barrel&>(o).m_bLocked, 1);
     }},
    {"a container of schema 1 has no bag and no lock: its class's empty bag",
     "Coffin 1 Container 1 Scenery 1", "", false,
     [](Object& o) {
         auto& c = static_cast<Container&>(o);
         EXPECT_EQ(c.m_bLocked, 0);
         EXPECT_EQ(c.GetBag()->m_iBagKind, 6);
         EXPECT_EQ(c.m_bInteract, 0) << "a container never answers the interact flag";
     }},
    {"a container of schema 2 has no lock", "Coffin 1 Container 2 Scenery 1", "0", false,
     [](Object& o) { EXPECT_EQ(static_cast<Container&>(o).m_bLocked, 0); }},
    {"a weapon of schema 1 keeps its class's numbers", "Bow 1 LRWeapon 1 Weapon 1 Useable 1", "",
     false,
     [](Object& o) {
         EXPECT_EQ(static_cast<Weapon&>(o).m_iSpeed, 40);
         EXPECT_EQ(static_cast<Weapon&>(o).m_iParameter, -1);
     }},
    {"armour of schema 1 is of material 0", "Ring 1 Armour 1 Useable 1", "", false,
     [](Object& o) { EXPECT_EQ(o.m_strSpecialName, "Gold Ring"); }},
};

TEST(ItemRecords, EachSchemaReadsTheFieldsItHolds) {
    World world;
    for (const SchemaRow& row : kSchemas) {
        SCOPED_TRACE(row.what);
        record_test::Bytes b;
        std::istringstream chain(row.chain);
        std::string cls;
        for (uint16_t schema; chain >> cls >> schema;) record_test::PutNewClass(b, cls, schema);
        record_test::PutNewClass(b, "Object", 11);
        record_test::PutInts(b, {0, 0, 1, 3});
        record_test::PutString(b, "Thing");
        record_test::PutString(b, "Thing");
        record_test::PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
        std::istringstream own(row.own);
        for (int32_t v; own >> v;) record_test::PutInt(b, v);
        if (row.nullObject) record_test::PutWord(b, 0);
        auto back = LoadObject<Object>(b);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->m_iValue, 3);
        row.check(*back);
    }
}

}  // namespace
