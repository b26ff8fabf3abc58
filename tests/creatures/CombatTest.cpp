// The rules of a fight that stand without weapons: reach, hit rolls, stun,
// experience, load and speed; opponents paired both ways and parted again;
// taking a creature out of play; closeness.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

TEST(CombatRules, ACloseStrikeReachesUpToFourThousand) {
    struct Row {
        const char* rule;
        int64_t d;
        int32_t r1, r2;
        bool reach;
    };
    const Row rows[] = {
        {"exactly 4000 after the radii: within", 4000 + 2 * (9 + 16), 3, 4, true},
        {"4001: beyond", 4001 + 2 * (9 + 16), 3, 4, false},
        {"3999: within", 3999 + 2 * (9 + 16), 3, 4, true},
        {"no radii", 4000, 0, 0, true},
        {"large radii reach farther", 4000 + 2 * (400 + 900), 20, 30, true},
        {"a distance past 32 bits is never near", int64_t{3} << 31, 3, 3, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(CombatRules::WithinReach(r.d, r.r1, r.r2), r.reach);
    }
}

TEST(CombatRules, ARollHitsUpToTheChance) {
    // The weapon's chance (5..95) plus 5: 10 hits rolls 0..10, 100 every roll.
    struct Row {
        const char* rule;
        int weaponChance;
        int hits;  // rolls of 0..99 that hit
    };
    const Row rows[] = {{"the lowest chance: 11 in 100", 5, 11},
                        {"the highest: all", 95, 100},
                        {"a middle chance", 50, 56}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        int hits = 0;
        for (int roll = 0; roll < 100; ++roll)
            hits += CombatRules::Hits(roll, r.weaponChance + CombatRules::kChanceBonus);
        EXPECT_EQ(hits, r.hits);
    }
}

TEST(CombatRules, StunDelaysByHalfTheStunShareOfAStep) {
    struct Row {
        const char* rule;
        int32_t stun, step, delay;
    };
    const Row rows[] = {
        {"stun 20, step 50: 10, halved 5", 20, 50, 5},
        {"an odd share is cut: 15 x 50 / 100 = 7, halved 3", 15, 50, 3},
        {"the share is cut first: 3 x 33 / 100 = 0", 3, 33, 0},
        {"no stun", 0, 50, 0},
        {"a large step does not overflow", 100000, 100000, 50000000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(CombatRules::StunDelay(r.stun, r.step), r.delay);
    }
}

TEST(CombatRules, AHitEarnsAShareOfTheTargetsExperience) {
    struct Row {
        const char* rule;
        int32_t damage, maxHp;
        std::array<double, 3> pools;
        double want;
    };
    const Row rows[] = {
        {"5 of 20 hit points of 1250 experience: 3.125", 5, 20, {1000, 200, 50}, 3.125},
        {"a whole kill of a fresh creature: 0.03", 10, 10, {1, 1, 1}, 0.03},
        {"no damage, nothing", 0, 20, {1000, 200, 50}, 0.0},
        {"a target of no hit points gives nothing", 5, 0, {1000, 200, 50}, 0.0},
        {"nor of fewer than none", 5, -3, {1000, 200, 50}, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_DOUBLE_EQ(CombatRules::HitExperience(r.damage, r.maxHp, r.pools), r.want);
    }
}

TEST(CombatRules, TheLoadRatioPicksTheClass) {
    // ratio = load x 20 / strength; strength 20 makes the ratio the load.
    struct Row {
        const char* rule;
        int64_t load;
        int32_t strength, cls, percent;
    };
    const Row rows[] = {
        {"9: class 0", 9, 20, 0, 100},
        {"exactly 10: class 1", 10, 20, 1, 90},
        {"24: class 1", 24, 20, 1, 90},
        {"25: class 2", 25, 20, 2, 75},
        {"49: class 2", 49, 20, 2, 75},
        {"50: class 3", 50, 20, 3, 50},
        {"74: class 3", 74, 20, 3, 50},
        {"75: class 4", 75, 20, 4, 25},
        {"89: class 4", 89, 20, 4, 25},
        {"exactly 90: class 5", 90, 20, 5, 0},
        {"the ratio is cut: 19 x 20 / 40 = 9", 19, 40, 0, 100},
        {"no strength carries as strength 1: 1 x 20 = 20", 1, 0, 1, 90},
        {"nothing carried without strength", 0, 0, 0, 100},
        {"negative strength as 1", 0, -5, 0, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const CombatRules::Load load = CombatRules::LoadClassOf(r.load, r.strength);
        EXPECT_EQ(load.loadClass, r.cls);
        EXPECT_EQ(load.percent, r.percent);
    }
}

// ---- opponents

// A world with its root groups, in which creatures are made into groups.
class Opponents : public ::testing::Test {
protected:
    Opponents() { world.CreateRootGroups(); }
    Player* Creature(Group* group) {
        auto* p = new Player;
        group->AddMemberDirect(p);
        return p;
    }
    Group* NewGroup(Group* parent = nullptr) {
        auto* g = new Group;
        (parent ? parent : world.m_pAllGroups)->AddMemberDirect(g);
        return g;
    }
    static bool Paired(Player* a, Player* b) {
        const auto has = [](Player* x, Player* y) {
            int n = 0;
            for (auto& h : x->m_Opponents) n += h.Get() == y;
            return n;
        };
        return has(a, b) == 1 && has(b, a) == 1;
    }
    World world;
};

TEST_F(Opponents, AreFoundInTheWholeTreeAndPairedBothWays) {
    Group* ours = NewGroup();
    Player* hero = Creature(ours);
    Group* theirs = NewGroup();
    Player* orc = Creature(theirs);
    Group* nested = NewGroup(theirs);
    Player* goblin = Creature(nested);
    Player* dead = Creature(nested);
    dead->m_sLifeState = 0;
    Player* asleep = Creature(theirs);
    asleep->m_bInactive = 1;
    EXPECT_EQ(hero->FindOpponents(theirs), 0.0);
    EXPECT_TRUE(Paired(hero, orc));
    EXPECT_TRUE(Paired(hero, goblin));
    EXPECT_EQ(hero->m_Opponents.size(), 2u) << "neither the dead nor those out of play";
    EXPECT_TRUE(dead->m_Opponents.empty());
    EXPECT_TRUE(asleep->m_Opponents.empty());
    // In the tree's list order: the orc, then the nested group's goblin.
    EXPECT_EQ(hero->m_Opponents[0].Get(), orc);
    EXPECT_EQ(hero->m_Opponents[1].Get(), goblin);
    // Asked again, nobody is listed twice.
    hero->FindOpponents(theirs);
    EXPECT_TRUE(Paired(hero, orc));
    EXPECT_EQ(orc->m_Opponents.size(), 1u);
}

TEST_F(Opponents, ACreatureNeverFightsItself) {
    Group* all = NewGroup();
    Player* a = Creature(all);
    Player* b = Creature(all);
    a->FindOpponents(all);
    EXPECT_TRUE(Paired(a, b));
    EXPECT_EQ(a->m_Opponents.size(), 1u);
    // A group asked against itself pairs every two of its creatures once.
    Player* c = Creature(all);
    all->FindOpponents(all);
    EXPECT_TRUE(Paired(a, c));
    EXPECT_TRUE(Paired(b, c));
    for (Player* p : {a, b, c}) EXPECT_EQ(p->m_Opponents.size(), 2u);
}

TEST_F(Opponents, PartingDropsTheStrikesBetweenTheTwoOnly) {
    Group* ours = NewGroup();
    Player* hero = Creature(ours);
    Player* friendOf = Creature(ours);
    Group* theirs = NewGroup();
    Player* orc = Creature(theirs);
    Player* troll = Creature(NewGroup());  // no opponent of the hero's
    ours->FindOpponents(theirs);
    orc->m_pTarget = hero;
    troll->m_pTarget = friendOf;
    using T = ObjectEventType;
    for (int32_t type : {T::HIT, T::ATTACK, T::THINK}) {
        orc->Events().Post(type, 500, hero);
        orc->Events().Post(type, 600, friendOf);
        hero->Events().Post(type, 700, orc);
        hero->Events().Post(type, 800, troll);
    }
    hero->LeaveOpponents(true);
    EXPECT_TRUE(hero->m_Opponents.empty());
    EXPECT_EQ(orc->m_Opponents.size(), 1u) << "the orc still fights the hero's friend";
    EXPECT_EQ(orc->m_pTarget.Get(), nullptr);
    EXPECT_EQ(troll->m_pTarget.Get(), friendOf);
    // The orc keeps its think and everything aimed at the friend; the hero
    // keeps its think at the orc and everything aimed at the troll.
    const auto aimedAt = [](Player* p, Object* target) {
        std::vector<int32_t> types;
        for (int32_t i = 0; i < p->Events().Count(); ++i)
            if (p->Events().At(i).m_pObject.Get() == target)
                types.push_back(p->Events().At(i).m_iType);
        return types;
    };
    EXPECT_EQ(aimedAt(orc, hero), std::vector<int32_t>{T::THINK});
    EXPECT_EQ(aimedAt(orc, friendOf), (std::vector<int32_t>{T::HIT, T::ATTACK, T::THINK}));
    EXPECT_EQ(aimedAt(hero, orc), std::vector<int32_t>{T::THINK});
    EXPECT_EQ(aimedAt(hero, troll), (std::vector<int32_t>{T::HIT, T::ATTACK, T::THINK}));
}

TEST_F(Opponents, OutOfPlayACreatureLeavesItsOpponentsQueuesAlone) {
    Group* ours = NewGroup();
    Player* hero = Creature(ours);
    Group* theirs = NewGroup();
    Player* orc = Creature(theirs);
    ours->FindOpponents(theirs);
    orc->m_pTarget = hero;
    orc->Events().Post(ObjectEventType::HIT, 500, hero);
    hero->Events().Post(ObjectEventType::ATTACK, 500, orc);
    const int32_t heroEvents = hero->Events().Count();
    const int32_t orcEvents = orc->Events().Count();
    EXPECT_EQ(hero->SetActive(0), 0);
    EXPECT_EQ(hero->m_bInactive, 1);
    EXPECT_TRUE(hero->m_Opponents.empty());
    EXPECT_TRUE(orc->m_Opponents.empty());
    EXPECT_EQ(orc->m_pTarget.Get(), nullptr);
    EXPECT_EQ(orc->Events().Count(), orcEvents);
    EXPECT_EQ(hero->Events().Count(), heroEvents);
    // Out of play it is not paired again; back in play it is.
    ours->FindOpponents(theirs);
    EXPECT_TRUE(orc->m_Opponents.empty());
    EXPECT_EQ(hero->SetActive(1), 1);
    EXPECT_EQ(hero->m_bInactive, 0);
    ours->FindOpponents(theirs);
    EXPECT_TRUE(Paired(hero, orc));
}

TEST_F(Opponents, AnOpponentDeletedMeanwhileIsPassedOver) {
    Group* ours = NewGroup();
    Player* hero = Creature(ours);
    Group* theirs = NewGroup();
    Player* orc = Creature(theirs);
    Player* troll = Creature(theirs);
    ours->FindOpponents(theirs);
    theirs->RemoveMember(orc);
    delete orc;
    hero->LeaveOpponents(true);
    EXPECT_TRUE(hero->m_Opponents.empty());
    EXPECT_TRUE(troll->m_Opponents.empty());
}

TEST(CombatCloseness, IsTheInverseOfTheDistanceToALivingCreature) {
    world_test::SmallWorld small;
    Player me;
    me.m_Position = Position(1000, 1000);
    struct Row {
        const char* rule;
        Position at;
        int16_t life;
        double want;
    };
    const Row rows[] = {
        {"on the spot: 1", {1000, 1000}, 1, 1.0},
        {"3 east: 1 / 10", {1003, 1000}, 1, 0.1},
        {"4 south counts half: 1 / 9", {1000, 1004}, 1, 1.0 / 9},
        {"dead: 0", {1003, 1000}, 0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player other;
        other.m_Position = r.at;
        other.m_sLifeState = r.life;
        EXPECT_DOUBLE_EQ(me.ProximityWeight(&other, &small.map), r.want);
    }
    EXPECT_EQ(me.ProximityWeight(nullptr, &small.map), 0.0);
}

}  // namespace
