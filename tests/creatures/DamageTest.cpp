// Wounds and death: protections, poison, the group told of every loss, the
// party that cannot be hurt, the corpse that keeps what it had in its bag,
// and a death that parts the creature from every opponent.

#include <gtest/gtest.h>

#include "creatures/FightSupport.h"
#include "items/Bag.h"
#include "world/Group.h"
#include "world/UnusedNumbers.h"

namespace {

using fight_test::FightFixture;
using fight_test::TestArmour;
using fight_test::TestWeapon;

class Damage : public FightFixture {};

TEST_F(Damage, HitPointsFallAfterTheProtections) {
    struct Row {
        const char* rule;
        int amount, kind;
        int32_t fireProtection, grounded, noDamage;
        int32_t hitPoints;  // before
        int32_t left;
        std::vector<int> sounds;
        int16_t life = 1;
    };
    const int hurt = CombatSound::Hurt, death = CombatSound::Death;
    const Row rows[] = {
        {"plain damage", 7, 0, 0, 0, 0, 20, 13, {hurt}},
        {"fire 9 on a protected creature is 0, yet it hurts", 9, 2, 1, 0, 0, 20, 20, {hurt}},
        {"fire 25 on a protected creature is 2", 25, 2, 1, 0, 0, 20, 18, {hurt}},
        {"fire on an unprotected creature in full", 9, 2, 0, 1, 0, 20, 11, {hurt}},
        {"shock on a grounded creature is a tenth", 30, 3, 0, 1, 0, 20, 17, {hurt}},
        {"shock on a fire-protected creature in full", 30, 3, 1, 0, 0, 40, 10, {hurt}},
        {"beyond what is left: death, then the hurt", 50, 0, 0, 0, 0, 20, 0, {death, hurt}},
        {"no damage flag: nothing lost, no sound", 7, 0, 0, 0, 1, 20, 20, {}},
        {"an amount of 0 does nothing", 0, 0, 0, 0, 0, 20, 20, {}},
        {"the dead take no more", 5, 0, 0, 0, 0, 0, 0, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player* p = Place(At(20, 20), r.hitPoints);
        p->m_bFireProtection = r.fireProtection;
        p->m_bGrounded = r.grounded;
        p->m_bNoDamage = r.noDamage;
        p->m_sLifeState = r.life;
        sounds.clear();
        p->TakeDamage(r.amount, r.kind);
        EXPECT_EQ(p->m_iHitPoints, r.left);
        EXPECT_EQ(sounds, r.sounds);
        Unplace(1);
    }
}

TEST_F(Damage, PoisonRisesOnAnOddRollUpToTen) {
    Player* p = Place(At(20, 20), 1000);
    int risen = 0, odd = 0;
    for (int i = 0; i < 40 && p->m_iPoison < 10; ++i) {
        qv::SeedRand(static_cast<uint32_t>(100 + i));
        const bool isOdd = (qv::Rand() & 1) != 0;
        qv::SeedRand(static_cast<uint32_t>(100 + i));
        const int32_t before = p->m_iPoison;
        p->TakeDamage(1, DamageKind::Poison);
        risen += p->m_iPoison - before;
        odd += isOdd;
    }
    EXPECT_EQ(risen, std::min(odd, 10));
    p->m_iPoison = 10;
    const int32_t hp = p->m_iHitPoints;
    for (int i = 0; i < 5; ++i) p->TakeDamage(2, DamageKind::Poison);
    EXPECT_EQ(p->m_iPoison, 10) << "poison at 10 stays at 10";
    EXPECT_EQ(p->m_iHitPoints, hp - 10) << "and poison still costs hit points";
}

TEST_F(Damage, TheGroupLosesExactlyWhatTheCreatureLost) {
    world.CreateRootGroups();
    auto* group = new Group;
    world.m_pAllGroups->AddMemberDirect(group);
    auto* p = new Player;
    group->AddMemberDirect(p);
    p->m_iMaxHitPoints = p->m_iHitPoints = 12;
    group->m_iHitPoints = 12;
    world.m_pAllGroups->m_iHitPoints = 12;
    p->TakeDamage(30, 0);
    EXPECT_EQ(p->m_iHitPoints, 0);
    EXPECT_EQ(group->m_iHitPoints, 0) << "12 lost, not 30";
    EXPECT_EQ(world.m_pAllGroups->m_iHitPoints, 0);
    EXPECT_FALSE(p->IsAlive());
    world.DeleteGroups();
}

TEST_F(Damage, APartyMemberLosesNothingWhileThePartyIsInvulnerable) {
    Player* member = Place(At(20, 20));
    Player* stranger = Place(At(22, 20));
    world.m_Party[1] = member;
    member->m_iPartySlot = 1;
    world.m_bPartyInvulnerable = 1;
    member->TakeDamage(5, 0);
    stranger->TakeDamage(5, 0);
    EXPECT_EQ(member->m_iHitPoints, 20);
    EXPECT_EQ(stranger->m_iHitPoints, 15);
    world.m_bPartyInvulnerable = 0;
    member->TakeDamage(5, 0);
    EXPECT_EQ(member->m_iHitPoints, 15);
}

TEST_F(Damage, DeathPartsTheCreatureFromEveryOpponentAndTheirStrikes) {
    Player* dying = Place(At(20, 20), 5);
    Player* a = Place(At(21, 20));
    Player* b = Place(At(22, 20));
    Player* c = Place(At(23, 20));
    Pair(dying, a);
    Pair(dying, b);
    Pair(a, c);
    a->m_pTarget = dying;
    b->m_pTarget = dying;
    c->m_pTarget = a;
    for (Player* o : {a, b}) {
        o->Events().Post(ObjectEventType::HIT, 5000, dying);
        o->Events().Post(ObjectEventType::ATTACK, 5000, dying);
        dying->Events().Post(ObjectEventType::HIT, 5000, o);
        dying->Events().Post(ObjectEventType::ATTACK, 6000, o);
    }
    a->Events().Post(ObjectEventType::HIT, 5000, c);
    dying->TakeDamage(5, 0);
    for (Player* o : {a, b}) {
        SCOPED_TRACE(o == a ? "a" : "b");
        EXPECT_EQ(CountFor(o, ObjectEventType::HIT, dying), 0);
        EXPECT_EQ(CountFor(o, ObjectEventType::ATTACK, dying), 0);
        EXPECT_EQ(CountFor(dying, ObjectEventType::HIT, o), 0);
        EXPECT_EQ(CountFor(dying, ObjectEventType::ATTACK, o), 0);
        EXPECT_EQ(o->m_pTarget.Get(), nullptr);
        EXPECT_EQ(std::count_if(o->m_Opponents.begin(), o->m_Opponents.end(),
                                [&](auto& h) { return h.Get() == dying; }),
                  0);
    }
    EXPECT_TRUE(dying->m_Opponents.empty());
    EXPECT_EQ(CountFor(a, ObjectEventType::HIT, c), 1) << "a strike at another stays";
    EXPECT_EQ(c->m_pTarget.Get(), a);
    EXPECT_EQ(dying->m_sLifeState, 0);
    EXPECT_EQ(dying->m_bMoveable, 1);
}

TEST_F(Damage, TheCorpseBagHoldsWhatWasInUseAndKeepsItsNaturalWeaponReady) {
    Player* p = Place(At(20, 20), 5);
    TestWeapon* sword = Arm(p, std::make_unique<TestWeapon>(50, 3));
    auto shield = std::make_unique<TestArmour>(90, 10);
    TestArmour* worn = shield.get();
    p->m_InUseList.push_back(std::move(shield));
    p->m_WornList.emplace_back(worn);
    auto teeth = std::make_unique<TestWeapon>(50, 2, 0, 1);
    p->m_UsableList.emplace_back(teeth.get());
    p->m_UsableList.emplace_back(sword);
    p->m_pNaturalWeapon = std::move(teeth);
    p->m_pBag = std::make_unique<CBag>("Bag");
    for (int i = 0; i < 3; ++i) {
        p->m_pBag->AddItem(new Useable("Coin"));
        p->m_pBag->SetItemCount(p->m_pBag->ItemCount() + 1);
    }
    p->TakeDamage(5, 0);
    ASSERT_NE(p->m_pBag, nullptr);
    EXPECT_EQ(p->m_pBag->m_iBagKind, 3) << "a corpse's bag";
    EXPECT_TRUE(p->m_InUseList.empty());
    EXPECT_TRUE(p->m_WornList.empty());
    EXPECT_EQ(p->m_pMeleeWeapon.Get(), nullptr);
    const auto& items = p->m_pBag->Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3].get(), sword) << "in the order they were in use";
    EXPECT_EQ(items[4].get(), worn);
    ASSERT_EQ(p->m_UsableList.size(), 1u) << "only the natural weapon stays ready";
    EXPECT_EQ(p->m_UsableList[0].Get(), p->m_pNaturalWeapon.get());
}

// What a death leaves: a pool id given back, a death node's conversation
// opened with the leader, and the corpse's frame for a creature without a look.
TEST_F(Damage, ADeathGivesBackItsIdOpensItsLastWordsAndShowsTheCorpse) {
    world.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(0, 0, 1);
    struct Row {
        const char* rule;
        int32_t number;
        bool givenBack;
        const char* node;
        bool leader, opens;
        int16_t poseSheet;
        int column;
    };
    const Row rows[] = {
        {"a pool id", -7, true, "HELLO", true, false, 0, 2},
        {"the lowest pool id", -1000, true, "HELLO", true, false, 0, 2},
        {"below the pool", -1001, false, "HELLO", true, false, 0, 2},
        {"the highest pool id", -2, true, "HELLO", true, false, 0, 2},
        {"one below the highest", -3, true, "HELLO", true, false, 0, 2},
        {"-1: no number", -1, false, "HELLO", true, false, 0, 2},
        {"an actor number", 4, false, "HELLO", true, false, 0, 2},
        {"a death node and a leader", -1, false, "LAST WORDS", true, true, 0, 2},
        {"HELLO opens nothing", -1, false, "HELLO", true, false, 0, 2},
        {"no leader, nothing", -1, false, "LAST WORDS", false, false, 0, 2},
        {"a pose sheet: the corpse is the pose count's column", -1, false, "HELLO", true, false, 1,
         7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player* leader = Place(At(30, 30));
        Player* p = Place(At(20, 20), 1);
        world.m_pLeader = r.leader ? leader : nullptr;
        p->m_iPlayerNumber = r.number;
        p->m_strDeathNode = r.node;
        p->m_bPoseSheet = r.poseSheet;
        p->Events().Clear();
        std::vector<std::pair<Player*, std::string>> opened;
        world.m_OpenDeathTalk = [&](Player* who, Player* speaker) {
            opened.emplace_back(who, speaker->m_strMessageNode);
            EXPECT_EQ(speaker, p);
        };
        const int before = world.m_pUnusedNumbers->GetCount();
        p->TakeDamage(1, 0);
        EXPECT_EQ(world.m_pUnusedNumbers->GetCount() - before, r.givenBack ? 1 : 0);
        ASSERT_EQ(opened.size(), r.opens ? 1u : 0u);
        if (r.opens) {
            EXPECT_EQ(opened[0].first, leader);
            EXPECT_EQ(opened[0].second, "LAST WORDS");
        }
        // Without a look the corpse shows its frame and animates at once.
        EXPECT_EQ(p->m_iXImageNum, r.column);
        EXPECT_EQ(p->m_iYImageNum, 0);
        ASSERT_EQ(p->Events().Count(), 1);
        EXPECT_EQ(p->Events().At(0).m_iType, ObjectEventType::ANIMATE);
        EXPECT_EQ(p->Events().At(0).m_iTime, 0);
        world.m_pLeader = nullptr;
        world.m_OpenDeathTalk = nullptr;
        Unplace(2);
    }
}

}  // namespace
