// Creature rules at their edges: regeneration by alertness and poison, the
// cap on hit points, the picture row a file may give, joining a walk target, copying
// a creature's bags and the texts of its checks.

#include <gtest/gtest.h>

#include "PlayerTestSupport.h"
#include "items/Useable.h"
#include "platform/Message.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using namespace creature_test;

// A creature of 10 hit points at rate 1: an interval of 600000 / 10 = 60000,
// lengthened by tiredness and shortened by poison, its clocks started at
// `start`, then its turn `elapsed` later.
TEST(PlayerRules, RegenerationByAlertnessPoisonAndTheCap) {
    struct Row {
        const char* rule;
        int32_t alertness, poison, hitPoints, elapsed, after;
        int deaths = 0;
        int32_t start = 1000;
    };
    const Row rows[] = {
        {"500 and above: the plain interval", 500, 0, 2, 60000, 3},
        {"500, one short of it", 500, 0, 2, 59999, 2},
        {"below 500: doubled, not yet at 60000", 499, 0, 2, 60000, 2},
        {"499 at 120000", 499, 0, 2, 120000, 3},
        {"400: doubled, one short of the second point", 400, 0, 2, 239999, 3},
        {"250 is still only doubled", 250, 0, 2, 120000, 3},
        {"250, one short", 250, 0, 2, 119999, 2},
        {"below 250: twenty times, one short", 249, 0, 2, 1199999, 2},
        {"249 at 1200000", 249, 0, 2, 1200000, 3},
        {"200 at 1200000", 200, 0, 2, 1200000, 3},
        {"poison 4: a quarter of the interval, hit points fall; no tiredness", 200, 4, 9, 45000, 6},
        {"poison takes the last hit point: death", 200, 4, 1, 15000, 0, 1},
        {"across the wrap of game time: 60001 later", 1000, 0, 2, 60001, 3, 0, INT32_MAX - 30000},
        {"a point due pulls hit points above the maximum down to it", 1000, 0, 15, 60000, 10},
        {"nothing due: nothing changes, not even the cap", 1000, 0, 15, 59999, 15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Probe p;
        p.m_iAlertness = r.alertness;
        p.m_iPoison = r.poison;
        Settle(p, r.start);
        ASSERT_EQ(p.m_iMaxHitPoints, 10);
        p.m_iHitPoints = r.hitPoints;
        p.Update(static_cast<int32_t>(static_cast<uint32_t>(r.start) + uint32_t(r.elapsed)),
                 nullptr);
        EXPECT_EQ(p.m_iHitPoints, r.after);
        EXPECT_EQ(p.deaths, r.deaths);
    }
}

TEST(PlayerRules, APictureRowPastTheEightFacingsBecomesRowZero) {
    Player p;
    int column = -1, row = 9;
    p.SetImageFrame(&column, &row);
    EXPECT_EQ(p.m_iYImageNum, 0);
    row = 7;
    p.SetImageFrame(&column, &row);
    EXPECT_EQ(p.m_iYImageNum, 7);
    row = -1;  // left as it is
    p.SetImageFrame(&column, &row);
    EXPECT_EQ(p.m_iYImageNum, 7);
    column = 4, row = 8;
    p.SetImageFrame(&column, &row);
    EXPECT_EQ(p.m_iXImageNum, 4);
    EXPECT_EQ(p.m_iYImageNum, 0);

    // Below schema 14 the object part holds the only row: 9 is read as 0, and
    // stays 0 through a save and a reload.
    World world;
    for (int32_t stored : {9, -3, 8, 100}) {
        Fields f;
        f.objectRow = stored;
        auto q = LoadCreature(CreatureRecord(13, f));
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->m_iYImageNum, 0) << stored;
        auto again = LoadCreature(StoreObject(*q));
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->m_iYImageNum, 0) << stored;
    }
    // A row in range is kept at schema 13, and the creature's own row wins
    // from schema 14 on.
    Fields kept;
    kept.objectRow = 5;
    EXPECT_EQ(LoadCreature(CreatureRecord(13, kept))->m_iYImageNum, 5);
    Fields own;
    own.objectRow = 9;
    own.row = 3;
    EXPECT_EQ(LoadCreature(CreatureRecord(14, own))->m_iYImageNum, 3);
}

TEST(PlayerRules, JoiningAWalkTargetClearsTheWaitCount) {
    World world;
    Object door("Door");
    ObjectHolder target(Position(10, 20, 0), &door);
    Player p;
    p.m_iWaitCount = 2;
    p.JoinPlayerSet(&target);
    EXPECT_EQ(p.m_iWaitCount, 0);
    EXPECT_EQ(p.m_pPlayerSet, &target);
    ASSERT_EQ(target.m_PlayerSet.size(), 1u);

    // With joining forbidden the count is still cleared and the old set left.
    world.m_bJoinForbidden = 1;
    p.m_iWaitCount = -1;
    auto* bare = new ObjectHolder(Position(30, 30, 0), nullptr);
    p.JoinPlayerSet(bare);  // not joined: the bare target is the caller's
    EXPECT_EQ(p.m_iWaitCount, 0);
    EXPECT_EQ(p.m_pPlayerSet, nullptr);
    EXPECT_TRUE(target.m_PlayerSet.empty());
    delete bare;

    // A null holder: leaves, count cleared.
    world.m_bJoinForbidden = 0;
    p.JoinPlayerSet(&target);
    p.m_iWaitCount = 1;
    p.JoinPlayerSet(nullptr);
    EXPECT_EQ(p.m_iWaitCount, 0);
    EXPECT_EQ(p.m_pPlayerSet, nullptr);
}

TEST(PlayerRules, ACopiedCreatureKeepsWhatItsInnerBagsHold) {
    World world;
    // A clone copies the class and the stack count (not the name), so the
    // counts tell the things apart.
    auto thing = [](int count) {
        auto* u = new Useable("Thing");
        u->m_iBulkNum = count;
        return u;
    };
    Player p;
    auto* pouch = new CBag("Pouch");
    pouch->AddItem(thing(3));
    pouch->AddItem(thing(4));
    auto* purse = new CBag("Purse");
    purse->AddItem(thing(7));
    purse->SetItemCount(1);
    pouch->AddItem(purse);
    pouch->SetItemCount(3);
    p.m_pBag->AddItem(pouch);
    p.m_pBag->SetItemCount(1);

    std::unique_ptr<Object> made(p.Clone());
    auto* copy = dynamic_cast<Player*>(made.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->m_pBag->Items().size(), 1u);
    auto* pouchCopy = dynamic_cast<CBag*>(copy->m_pBag->Items()[0].get());
    ASSERT_NE(pouchCopy, nullptr);
    EXPECT_NE(pouchCopy, pouch);
    ASSERT_EQ(pouchCopy->Items().size(), 3u);
    EXPECT_EQ(pouchCopy->ItemCount(), 3);
    EXPECT_EQ(pouchCopy->Items()[0]->m_iBulkNum, 3);
    EXPECT_EQ(pouchCopy->Items()[1]->m_iBulkNum, 4);
    auto* purseCopy = dynamic_cast<CBag*>(pouchCopy->Items()[2].get());
    ASSERT_NE(purseCopy, nullptr);
    EXPECT_EQ(purseCopy->Parent(), pouchCopy);
    ASSERT_EQ(purseCopy->Items().size(), 1u);
    EXPECT_EQ(purseCopy->Items()[0]->m_iBulkNum, 7);
    EXPECT_EQ(purseCopy->ItemCount(), 1);
    // The original keeps its own.
    EXPECT_EQ(pouch->Items().size(), 3u);
    EXPECT_EQ(purse->Items().size(), 1u);
}

TEST(PlayerRules, ACreatureStoredWithoutABagShowsTheCheckAsWritten) {
    Player p;
    p.m_pBag.reset();
    qv::ScriptedMessages script({qv::MessageAnswer::Retry});
    qv::Archive out;
    out.WriteObject(&p);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.shown[0].starts_with("assertion failed (")) << script.shown[0];
    EXPECT_TRUE(script.shown[0].ends_with(":PlayerSerial.cpp)\nm_pBag != NULL")) << script.shown[0];
}

}  // namespace
