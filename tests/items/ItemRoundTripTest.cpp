// Every item class of the registry read back as it was stored, and copied.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "items/Armour.h"
#include "items/Container.h"
#include "items/Missile.h"
#include "items/Weapon.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using record_test::LoadObject;
using record_test::StoreObject;

const char* const kItems[] = {"Useable",
                              "Weapon",
                              "IntrinsicWeapon",
                              "Axe",
                              "AxeBattle",
                              "Dagger",
                              "Flail",
                              "HammerForge",
                              "HammerWar",
                              "Mace",
                              "Pitchfork",
                              "Scythe",
                              "Spear",
                              "Sword",
                              "SwordLong",
                              "Touch",
                              "Whip",
                              "WhipBarbed",
                              "LRWeapon",
                              "Bow",
                              "Longbow",
                              "Missile",
                              "MagicMissile",
                              "FiredMissile",
                              "Armour",
                              "IntrinsicArmour",
                              "Shield",
                              "Helm",
                              "Amulet",
                              "Shirt",
                              "Gloves",
                              "Ring",
                              "Leggings",
                              "Boots",
                              "Cape",
                              "Doggie",
                              "CBag",
                              "Container",
                              "Chest",
                              "Coffin",
                              "Barrel"};

// Classes whose copy is not meant to carry every field: armour is made anew
// of its material, a flight is never copied.
bool CopiedWhole(const std::string& name) {
    const qv::RuntimeClass* cls = qv::RuntimeClass::Find(name);
    return !cls->IsDerivedFrom(&Armour::classInfo) && name != "FiredMissile" &&
           !cls->IsDerivedFrom(&Container::classInfo);
}

TEST(ItemRecords, EveryClassComesBackAsItWasStored) {
    World world;
    for (const char* name : kItems) {
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
        EXPECT_STREQ(back->GetRuntimeClass()->name, name);
        EXPECT_EQ(StoreObject(*back), bytes);
        EXPECT_EQ(back->m_iValue, 77);
        if (CopiedWhole(name)) {
            std::unique_ptr<Object> copy(made->Clone());
            ASSERT_NE(copy, nullptr);
            EXPECT_STREQ(copy->GetRuntimeClass()->name, name);
            EXPECT_EQ(StoreObject(*copy), bytes) << "a copy is whole";
        }
    }
}

}  // namespace
