// Whole fights stepped one tick at a time on a small world: two creatures
// paired as opponents take their turns until one falls. Each fight's outcome
// is fixed by the seed of the chance generator.

#include <gtest/gtest.h>

#include <tuple>

#include "creatures/FightSupport.h"
#include "items/Bag.h"
#include "support/Belongings.h"

namespace {

using fight_test::FightFixture;
using fight_test::TestWeapon;

constexpr int32_t kTick = 100;

class SteppedFight : public FightFixture {
protected:
    Player* Fighter(Position at, int32_t hp) {
        Player* p = Place(at, hp);
        p->m_iRadius = 3;
        p->RecomputeLoad();
        return p;
    }
    // Runs both creatures' turns until one is dead or `ticks` have passed;
    // answers the ticks run.
    int Fight(Player* a, Player* b, int ticks) {
        for (int i = 0; i < ticks; ++i) {
            now += kTick;
            a->Update(now, &map);
            b->Update(now, &map);
            if (!a->IsAlive() || !b->IsAlive()) return i + 1;
        }
        return ticks;
    }
    int32_t now = 1000;
};

TEST_F(SteppedFight, AMeleeFightEndsWithTheStrongerStanding) {
    // A hero and a wolf 120 px apart in row `cy`, the chances seeded alike.
    const auto fight = [&](int cy) {
        qv::SeedRand(2024);
        now = 1000;
        Player* hero = Fighter(At(20, cy), 40);
        Player* wolf = Fighter({At(20, cy).x + 120, At(20, cy).y, 0}, 15);
        Arm(hero, std::make_unique<TestWeapon>(60, 6, 20));
        Arm(wolf, std::make_unique<TestWeapon>(40, 3, 20));
        Pair(hero, wolf);
        const int ticks = Fight(hero, wolf, 2000);
        return std::make_tuple(hero, wolf, ticks);
    };
    const auto [hero, wolf, ticks] = fight(20);
    ASSERT_LT(ticks, 2000) << "the fight ends";
    EXPECT_TRUE(hero->IsAlive());
    EXPECT_FALSE(wolf->IsAlive());
    EXPECT_EQ(wolf->m_iHitPoints, 0);
    EXPECT_LT(hero->m_iHitPoints, 40) << "the wolf bit back";
    EXPECT_GT(hero->m_dExperience[1], 1.0) << "close hits count as short range";
    EXPECT_EQ(hero->m_dExperience[0], 1.0);
    EXPECT_TRUE(hero->m_Opponents.empty());
    EXPECT_EQ(hero->m_pTarget.Get(), nullptr);
    // The same seed fights the same fight.
    const auto [hero2, wolf2, ticks2] = fight(22);
    EXPECT_EQ(ticks2, ticks);
    EXPECT_EQ(hero2->m_iHitPoints, hero->m_iHitPoints);
}

TEST_F(SteppedFight, AnArcherShootsItsTargetDownFromAfar) {
    qv::SeedRand(77);
    Player* archer = Fighter(At(20, 20), 30);
    Player* rat = Fighter({At(20, 20).x + 200, At(20, 20).y, 0}, 12);
    world.m_pLeader = archer;  // the leader's group may keep its distance
    TestWeapon* bow = Arm(archer, std::make_unique<TestWeapon>(70, 4, 10, 21, true));
    // The missile arrives at once and resolves its hit as a missile.
    TestWeapon arrow(70, 4, 10, CombatWeapon::kMissileKind);
    int arrows = 0;
    bow->onLaunch = [&](Player* shooter, Player* target, int32_t) {
        ++arrows;
        shooter->ResolveHitWith(target, &arrow);
        return 1;
    };
    Pair(archer, rat);
    // The rat has no weapon: it stands.
    const int ticks = Fight(archer, rat, 3000);
    ASSERT_LT(ticks, 3000);
    EXPECT_FALSE(rat->IsAlive());
    EXPECT_EQ(archer->m_iHitPoints, 30);
    EXPECT_GE(arrows, 3) << "12 hit points at 4 a hit";
    EXPECT_GT(archer->m_dExperience[0], 1.0) << "shots count as long range";
    EXPECT_EQ(archer->m_dExperience[1], 1.0);
    EXPECT_EQ(MapMaster::PixelToCell(archer->m_Position), MapMaster::PixelToCell(At(20, 20)))
        << "it shot from where it stood";
    world.m_pLeader = nullptr;
}

TEST_F(SteppedFight, ADeathWithAFullBagLaysWhatItHeldAtItsFeet) {
    qv::SeedRand(5);
    Player* hero = Fighter(At(20, 20), 60);
    Player* bandit = Fighter({At(20, 20).x + 40, At(20, 20).y, 0}, 10);
    Arm(hero, std::make_unique<TestWeapon>(80, 5));
    TestWeapon* club = Arm(bandit, std::make_unique<TestWeapon>(20, 1));
    bandit->m_pBag = std::make_unique<CBag>("Bag");
    for (int i = 0; i < 20; ++i) belongings::Hold(bandit->m_pBag.get(), new Useable("Loot"));
    Pair(hero, bandit);
    ASSERT_LT(Fight(hero, bandit, 2000), 2000);
    ASSERT_FALSE(bandit->IsAlive());
    ASSERT_NE(bandit->m_pBag, nullptr);
    EXPECT_EQ(bandit->m_pBag->Items().size(), 20u) << "the bag was full";
    EXPECT_EQ(bandit->m_pBag->m_iBagKind, 3);
    EXPECT_TRUE(bandit->m_InUseList.empty());
    ASSERT_NE(club->m_pHolder, nullptr) << "the club lies at the corpse's feet";
    EXPECT_EQ(MapMaster::PixelToCell(club->m_pHolder->pos),
              MapMaster::PixelToCell(bandit->m_Position));
    // The corpse takes no more turns at fighting.
    for (int i = 0; i < 20; ++i) {
        now += kTick;
        bandit->Update(now, &map);
        hero->Update(now, &map);
    }
    EXPECT_TRUE(hero->m_Opponents.empty());
    EXPECT_EQ(hero->m_iHostileMode, 0) << "the fight is over";
}

}  // namespace
