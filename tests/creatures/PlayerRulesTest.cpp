// Creature rules at their edges: the thresholds of regeneration, the cap on
// hit points, the picture row a file may give, joining a walk target, copying
// a creature's bags and the texts of its checks.

#include <gtest/gtest.h>

#include "PlayerTestSupport.h"
#include "items/Useable.h"
#include "platform/Message.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using namespace creature_test;

// A creature with nothing queued and its clocks started at `start`.
void Settle(Probe& p, int32_t start) {
    p.Events().Clear();
    p.Update(start, nullptr);
    p.Events().Clear();
}

// Hit points regained by a creature of 10 hit points at rate 1 (an interval of
// 600000 / 10 = 60000) after `elapsed` units, at the given alertness.
int32_t RegainedAt(int32_t alertness, int32_t elapsed) {
    Probe p;
    p.m_iAlertness = alertness;
    Settle(p, 1000);
    p.m_iHitPoints = 2;
    p.Update(1000 + elapsed, nullptr);
    return p.m_iHitPoints - 2;
}

TEST(PlayerRules, AlertnessThresholdsOfRegeneration) {
    // 500 and above: the plain interval, 60000.
    EXPECT_EQ(RegainedAt(500, 60000), 1);
    EXPECT_EQ(RegainedAt(500, 59999), 0);
    // Below 500: doubled, 120000.
    EXPECT_EQ(RegainedAt(499, 60000), 0);
    EXPECT_EQ(RegainedAt(499, 120000), 1);
    // 250 is still only doubled.
    EXPECT_EQ(RegainedAt(250, 120000), 1);
    EXPECT_EQ(RegainedAt(250, 119999), 0);
    // Below 250: twenty times, 1200000.
    EXPECT_EQ(RegainedAt(249, 1199999), 0);
    EXPECT_EQ(RegainedAt(249, 1200000), 1);
}

TEST(PlayerRules, RegenerationCapsHitPointsAboveTheMaximum) {
    Probe p;
    Settle(p, 1000);
    ASSERT_EQ(p.m_iMaxHitPoints, 10);
    p.m_iHitPoints = 15;
    p.Update(1000 + 60000, nullptr);  // one point due
    EXPECT_EQ(p.m_iHitPoints, 10);
    // Nothing due: nothing changes, not even the cap.
    Probe q;
    Settle(q, 1000);
    q.m_iHitPoints = 15;
    q.Update(1000 + 59999, nullptr);
    EXPECT_EQ(q.m_iHitPoints, 15);
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
