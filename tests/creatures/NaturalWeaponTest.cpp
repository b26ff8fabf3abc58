// A creature of a species fights with its natural weapon (teeth, a bite,
// hands) when it holds nothing else, and again once it lets go of what it
// held; a creature of no species has none.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "creatures/Player.h"
#include "creatures/Species.h"
#include "items/Weapon.h"

namespace {

TEST(NaturalWeapon, EverySpeciesStrikesWithTheWeaponOfItsRow) {
    struct Row {
        const char* species;
        const char* weapon;
        std::array<int32_t, 5> want;  // speed, damage range and base, parameter, stun
    } const rows[] = {
        // A species built on another strikes with the other's weapon.
        {"GiantRatGrey", "Teeth", {150, 7, 3, 1, 20}},
        {"GiantRatBrown", "Teeth", {150, 7, 3, 1, 20}},
        {"Snake", "Bite", {90, 4, 1, 1, 10}},
        {"DarkHound", "Teeth", {90, 10, 3, 1, 50}},
        {"Dog", "Teeth", {90, 10, 3, 1, 50}},
        {"Goblin", "Hands", {100, 3, 1, 1, 20}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.species);
        std::unique_ptr<Player> p = Species::Make(r.species);
        ASSERT_NE(p, nullptr);
        auto* w = qv::DynamicCast<IntrinsicWeapon>(p->m_pMeleeWeapon.Get());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->GetDisplayName(), r.weapon);
        EXPECT_EQ(w->GetWeaponKind(), 1);
        EXPECT_EQ((std::array{w->m_iSpeed, w->m_iDamageRange, w->m_iDamageBase, w->m_iParameter,
                              w->m_iStun}),
                  r.want);
        // Natural: never in the bag, never in the list a creature stores.
        EXPECT_TRUE(std::none_of(p->m_InUseList.begin(), p->m_InUseList.end(),
                                 [w](const auto& o) { return o.get() == w; }));
        EXPECT_EQ(p->m_pRangedWeapon.Get(), nullptr);
    }
    Player plain;
    EXPECT_EQ(plain.m_pMeleeWeapon.Get(), nullptr) << "no species";
    EXPECT_EQ(plain.NaturalMeleeWeapon(), nullptr) << "no species";
}

TEST(NaturalWeapon, ASwordLetGoLeavesTheHandsToFightWith) {
    std::unique_ptr<Player> p = Species::Make("Goblin");
    ASSERT_NE(p, nullptr);
    Object* hands = p->m_pMeleeWeapon.Get();
    auto* sword = new Sword;
    p->EquipObject(sword);
    EXPECT_EQ(p->m_pMeleeWeapon.Get(), sword);
    EXPECT_EQ(p->UnequipObject(sword, 1), 1);
    EXPECT_EQ(p->m_pMeleeWeapon.Get(), hands);
}

}  // namespace
