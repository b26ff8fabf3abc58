// A creature's things: readying weapons and wearing armour on its body
// slots, what is displaced and where it goes (never lost), the checks of
// what it can use, the bag, and the things in use stored with it.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "creatures/Player.h"
#include "items/Armour.h"
#include "items/Bag.h"
#include "items/Missile.h"
#include "items/Weapon.h"
#include "structures/LightSource.h"
#include "support/Belongings.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

using belongings::Fill;
using belongings::GiveBody;
using record_test::LoadObject;
using record_test::StoreObject;

bool InUse(const Player& p, const Object* o) {
    return std::any_of(p.m_InUseList.begin(), p.m_InUseList.end(),
                       [o](const auto& u) { return u.get() == o; });
}
bool Worn(const Player& p, const Object* o) {
    return std::any_of(p.m_WornList.begin(), p.m_WornList.end(),
                       [o](const auto& h) { return h == o; });
}
Object* Occupant(const Player& p, int32_t place) {
    for (const ItemUse& s : p.m_BodySlotList)
        if (s.m_iLocation == place) return s.m_bOccupied ? s.m_pOccupant.Get() : nullptr;
    return nullptr;
}

class Equipment : public ::testing::Test {
protected:
    Equipment() {
        world.CreateRootGroups();
        GiveBody(hero);
        hero.m_strSpecialName = "Grim";
    }
    world_test::SmallWorld small;
    World& world = small.world;
    Player hero;
};

TEST_F(Equipment, ReadyingASwordPutsTheAxeInHandIntoTheBag) {
    auto* axe = new Axe;
    EXPECT_EQ(hero.EquipObject(axe), 1);
    EXPECT_EQ(hero.m_pMeleeWeapon.Get(), axe);
    EXPECT_EQ(Occupant(hero, 3), axe);
    EXPECT_TRUE(InUse(hero, axe));

    auto* sword = new Sword;
    hero.AddToBag(sword, 0);
    EXPECT_EQ(hero.EquipObject(sword), 1);
    EXPECT_EQ(hero.m_pMeleeWeapon.Get(), sword);
    EXPECT_EQ(Occupant(hero, 3), sword);
    EXPECT_TRUE(InUse(hero, sword));
    EXPECT_FALSE(InUse(hero, axe));
    EXPECT_TRUE(hero.m_pBag->Contains(axe));
    EXPECT_FALSE(hero.m_pBag->Contains(sword));
    // Weapons are usable from the list while they are in use.
    EXPECT_TRUE(std::any_of(hero.m_UsableList.begin(), hero.m_UsableList.end(),
                            [sword](const auto& h) { return h == sword; }));
}

TEST_F(Equipment, TheNaturalWeaponStaysWhateverIsReadied) {
    auto* teeth = new IntrinsicWeapon(1, 150, 7, 3, 1, 20, "Teeth");
    hero.EquipObject(teeth);
    EXPECT_EQ(hero.m_pNaturalWeapon.get(), teeth);
    EXPECT_EQ(hero.GetWeapon(), teeth);
    EXPECT_FALSE(InUse(hero, teeth)) << "a natural weapon is never stored with the things in use";
    // It never goes into the bag.
    const int before = hero.m_pBag->ItemCount();
    hero.AddToBag(teeth, 0);
    EXPECT_EQ(hero.m_pBag->ItemCount(), before);
    EXPECT_EQ(hero.m_pNaturalWeapon.get(), teeth);
    // A sword readied beside it leaves it alone.
    auto* sword = new Sword;
    EXPECT_EQ(hero.EquipObject(sword), 1);
    EXPECT_EQ(hero.m_pNaturalWeapon.get(), teeth);
    EXPECT_EQ(hero.m_pMeleeWeapon.Get(), sword);
}

TEST_F(Equipment, ALongWeaponTakesBothHandsAndBothComeOff) {
    auto* sword = new Sword;
    auto* shield = new Shield(4);
    hero.EquipObject(sword);
    hero.EquipObject(shield);
    EXPECT_EQ(Occupant(hero, 1), shield);
    EXPECT_EQ(Occupant(hero, 2), shield);
    EXPECT_TRUE(Worn(hero, shield));
    auto* spear = new Spear;
    EXPECT_EQ(hero.EquipObject(spear), 1);
    EXPECT_EQ(Occupant(hero, 3), spear);
    EXPECT_EQ(Occupant(hero, 1), spear);
    EXPECT_EQ(Occupant(hero, 2), nullptr) << "the shield let go of both its places";
    EXPECT_FALSE(Worn(hero, shield));
    EXPECT_TRUE(hero.m_pBag->Contains(sword));
    EXPECT_TRUE(hero.m_pBag->Contains(shield));
}

TEST_F(Equipment, OffTheMapWithAFullBagTheChangeIsRefused) {
    auto* axe = new Axe;
    hero.EquipObject(axe);
    auto* sword = new Sword;
    hero.AddToBag(sword, 0);
    Fill(*hero.m_pBag);
    EXPECT_EQ(hero.EquipObject(sword), 0);
    EXPECT_EQ(hero.m_pMeleeWeapon.Get(), axe);
    EXPECT_EQ(Occupant(hero, 3), axe);
    EXPECT_TRUE(hero.m_pBag->Contains(sword));
    // Taking the axe off has nowhere to put it either.
    EXPECT_EQ(hero.UnequipObject(axe, 1), 0);
    EXPECT_TRUE(InUse(hero, axe));
}

TEST_F(Equipment, TakingOffLeavesNoFieldNamingTheThing) {
    auto* bow = new Bow;
    hero.EquipObject(bow);
    EXPECT_EQ(hero.m_pRangedWeapon.Get(), bow);
    EXPECT_EQ(Occupant(hero, 4), bow);
    EXPECT_EQ(hero.UnequipObject(bow, 1), 1);
    EXPECT_EQ(hero.m_pRangedWeapon.Get(), nullptr);
    EXPECT_EQ(Occupant(hero, 4), nullptr);
    EXPECT_EQ(Occupant(hero, 2), nullptr);
    EXPECT_TRUE(hero.m_pBag->Contains(bow));
    EXPECT_TRUE(std::none_of(hero.m_UsableList.begin(), hero.m_UsableList.end(),
                             [bow](const auto& h) { return h == bow; }));
}

TEST_F(Equipment, ARingIsAnOrdinaryThing) {
    auto* ring = new Ring(1);
    EXPECT_EQ(hero.EquipObject(ring), 1);
    EXPECT_TRUE(Worn(hero, ring));
    EXPECT_TRUE(InUse(hero, ring)) << "stored with the creature";
    EXPECT_EQ(hero.UnequipObject(ring, 1), 1);
    EXPECT_TRUE(hero.m_pBag->Contains(ring)) << "a ring goes into the bag";
    // The shell of a body is natural: worn, but neither in use nor bagged.
    auto* shell = new IntrinsicArmour(3, 90, 40, 1, "Shell");
    hero.EquipObject(shell);
    EXPECT_TRUE(Worn(hero, shell));
    EXPECT_FALSE(InUse(hero, shell));
    EXPECT_TRUE(Player::IsNaturalItem(shell));
    EXPECT_FALSE(Player::IsNaturalItem(ring));
    Weapon stone(100, 2, 1, 1, 10, "Small stone");
    EXPECT_FALSE(Player::IsNaturalItem(&stone)) << "a thrown stone read back is a plain weapon";
}

TEST_F(Equipment, ACarriedLightBurnsOutWhenPutDown) {
    auto* lamp = new LightSource("Torch");
    EXPECT_EQ(hero.EquipObject(lamp), 1);
    EXPECT_EQ(hero.m_pWeapon.Get(), lamp);
    EXPECT_EQ(hero.GetLightSource(), lamp);
    // Another light readied in its place burns the first out only when it is
    // a carried light (kind 2); a plain one goes into the bag.
    auto* second = new MageLight(4);
    hero.m_iLight = 1;
    EXPECT_EQ(hero.EquipObject(second), 1);
    EXPECT_EQ(hero.m_pWeapon.Get(), second);
    EXPECT_TRUE(hero.m_pBag->Contains(lamp));
    qv::Handle<Object> gone(second);
    hero.AddToBag(second, 0);
    EXPECT_FALSE(gone) << "a carried light put away is used up";
    EXPECT_EQ(hero.m_iLight, 0);
    EXPECT_EQ(hero.m_pWeapon.Get(), nullptr);
}

struct CheckRow {
    const char* what;
    int mode;
    bool slotless;   // the creature has no hand
    bool axeInHand;  // its hand holds an axe
    int code;
    bool namesAxe;
    const char* message;
};

const CheckRow kChecks[] = {
    {"a free hand: usable", 0, false, false, 0, false, ""},
    {"a hand holding an axe: usable in its place", 0, false, true, 1, true, "Grim cannot use Axe."},
    {"mode 2 takes the hand however it is held", 2, false, true, 0, false, ""},
    {"no hand: not usable", 0, true, false, 2, false, "Grim cannot use Axe."},
};

TEST_F(Equipment, WhatItCanUse) {
    for (const CheckRow& row : kChecks) {
        SCOPED_TRACE(row.what);
        Player p;
        p.m_strSpecialName = "Grim";
        if (!row.slotless) GiveBody(p);
        Axe* held = nullptr;
        if (row.axeInHand) {
            held = new Axe;
            p.EquipObject(held);
        }
        Axe axe;
        const Player::UseCheck c = p.CheckCanUse(&axe, row.mode);
        EXPECT_EQ(c.code, row.code);
        EXPECT_EQ(c.object, row.namesAxe ? held : nullptr);
        EXPECT_EQ(c.message, row.message);
        for (const ItemUse& s : p.m_BodySlotList) EXPECT_EQ(s.m_bChecked, 0);
    }
    // Something that is not usable answers its own use range.
    Object plain("Rock");
    EXPECT_EQ(hero.CheckCanUse(&plain, 0).code, 3);
}

struct WearRow {
    const char* what;
    const char* worn;   // class worn already, or null
    const char* piece;  // class put on
    int flag, code;
};

const WearRow kWears[] = {
    {"a helm on a body with a head", nullptr, "Helm", 0, 0},
    {"a helm where a helm is worn: in its place", "Helm", "Helm", 0, 1},
    {"a shield fits every body", nullptr, "Shield", 0, 0},
    {"dog armour does not fit a person", nullptr, "Doggie", 0, 2},
    {"dog armour with the flag: looked at all the same", nullptr, "Doggie", 1, 0},
    {"whatever is worn at location 1 stands in the way", "Armour", "Boots", 0, 1},
    {"boots beside a helm", "Helm", "Boots", 0, 0},
};

TEST_F(Equipment, WhereArmourIsWorn) {
    for (const WearRow& row : kWears) {
        SCOPED_TRACE(row.what);
        Player p;
        GiveBody(p);
        Object* worn = nullptr;
        if (row.worn) {
            worn = static_cast<Object*>(qv::RuntimeClass::Find(row.worn)->CreateObject());
            p.EquipObject(worn);
        }
        std::unique_ptr<Object> piece(
            static_cast<Object*>(qv::RuntimeClass::Find(row.piece)->CreateObject()));
        const Player::UseCheck c = p.CheckWearSlots(piece.get(), row.flag);
        EXPECT_EQ(c.code, row.code);
        EXPECT_EQ(c.object, row.code == 1 ? worn : nullptr);
        if (row.flag == 0) {
            EXPECT_EQ(p.CheckCanUse(piece.get(), 0).code, row.code);
        }
    }
}

TEST_F(Equipment, AStackReadiesOneOfItsKind) {
    auto* daggers = new Dagger;
    daggers->m_bStackable = 1;
    daggers->m_iBulkNum = 3;
    hero.AddToBag(daggers, 0);
    EXPECT_EQ(hero.EquipObject(daggers), 1);
    EXPECT_EQ(daggers->m_iBulkNum, 2);
    EXPECT_TRUE(hero.m_pBag->Contains(daggers));
    auto* held = hero.m_pMeleeWeapon.Get();
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, daggers);
    EXPECT_EQ(held->m_iBulkNum, 1);
    EXPECT_EQ(held->m_strSpecialName, "Dagger");
}

TEST_F(Equipment, HowManyToTake) {
    Axe axe;
    EXPECT_EQ(hero.AskTakeAmount(&axe, 0), 1) << "a single thing: 1, without asking";
    EXPECT_EQ(hero.AskTakeAmount(&axe, 4), 4);
    Fill(*hero.m_pBag);
    EXPECT_EQ(hero.AskTakeAmount(&axe, 0), -1) << "no room";
    Player bagless;
    bagless.m_pBag.reset();
    EXPECT_EQ(bagless.AskTakeAmount(&axe, 0), 0);
}

TEST_F(Equipment, TheThingsInUseComeBackWithTheCreature) {
    Player p;
    p.SetLevel(1);  // as the reader makes every creature of level 0
    GiveBody(p);
    p.EquipObject(new Sword);
    p.EquipObject(new Ring(1));
    p.EquipObject(new Helm(3));
    p.EquipObject(new IntrinsicWeapon(1, 90, 10, 3, 1, 50, "Teeth"));
    auto back = LoadObject<Player>(StoreObject(p));
    ASSERT_EQ(back->m_InUseList.size(), 3u) << "the natural weapon is not stored";
    EXPECT_EQ(back->m_pMeleeWeapon->m_strSpecialName, "Sword");
    EXPECT_EQ(back->m_WornList.size(), 2u);
    EXPECT_EQ(back->m_pBag->ItemCount(), 0);
    // Read back again (now with the player number the first read gave it),
    // the same.
    auto again = LoadObject<Player>(StoreObject(*back));
    EXPECT_EQ(StoreObject(*again), StoreObject(*back));
}

}  // namespace
