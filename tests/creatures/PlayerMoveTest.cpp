// Scripted moves: their records, and a creature's list that holds nothing
// else.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PlayerTestSupport.h"
#include "creatures/PlayerMove.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using namespace creature_test;
using namespace record_test;

TEST(PlayerMove, RecordsKindsAndLines) {
    PlayerMoveTo to(3, -4);
    Bytes e;
    PutNewClass(e, "PlayerMoveTo", 1);
    PutNewClass(e, "PlayerMove", 1);
    PutInts(e, {3, -4});
    EXPECT_EQ(StoreObject(to), e);
    auto back = record_test::LoadObject<PlayerMoveTo>(e);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->x, 3);
    EXPECT_EQ(back->y, -4);
    EXPECT_EQ(back->GetMoveType(), 1);
    std::string line;
    back->Describe(line);
    EXPECT_EQ(line, "Move to:  3, -4");

    PlayerMove plain;
    Bytes p;
    PutNewClass(p, "PlayerMove", 1);
    EXPECT_EQ(StoreObject(plain), p);
    EXPECT_EQ(plain.GetMoveType(), 0);
    plain.Describe(line);
    EXPECT_EQ(line, "PlayerMove");

    // The move-to record names its base exactly; a second move-to in the same
    // archive names both classes by tag (the first move is index 2).
    Bytes two = e;
    PutWord(two, 0x8001);
    PutWord(two, 0x8003);
    PutInts(two, {7, 8});
    qv::Archive in(two);
    std::unique_ptr<PlayerMove> a(in.ReadObjectOf<PlayerMove>());
    std::unique_ptr<PlayerMove> b(in.ReadObjectOf<PlayerMove>());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(static_cast<PlayerMoveTo*>(b.get())->x, 7);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(PlayerMove, ACreatureReadsItsMovesBackInOrder) {
    World world;
    PlayerMoveTo m1(1, 2), m2(-5, 9);
    PlayerMove plain;
    Fields f;
    f.moves = {&m1, &plain, &m2};
    auto p = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->m_MoveList.size(), 3u);
    EXPECT_EQ(p->m_MoveList[0]->GetMoveType(), 1);
    EXPECT_EQ(p->m_MoveList[1]->GetMoveType(), 0);
    EXPECT_EQ(static_cast<PlayerMoveTo*>(p->m_MoveList[2].get())->y, 9);
    // Copied through their records with the creature.
    std::unique_ptr<Object> copy(p->Clone());
    auto* c = dynamic_cast<Player*>(copy.get());
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->m_MoveList.size(), 3u);
    EXPECT_EQ(static_cast<PlayerMoveTo*>(c->m_MoveList[0].get())->x, 1);
}

TEST(PlayerMove, TheMoveListHoldsNothingButMoves) {
    World world;
    world.CreateRootGroups();
    Group group;
    ObjectHolder holderOfGroup(Position(10, 10, 0), &group);
    Player creature;
    creature.m_iPartySlot = -1;
    Object item("Rock");
    const qv::Persistent* wrong[] = {&holderOfGroup, &creature, &item, &group};
    for (const qv::Persistent* w : wrong) {
        Fields f;
        f.moves = {w};
        Bytes bytes = CreatureRecord(44, f);
        EXPECT_EQ(record_test::RefusalOf<Player>(bytes), qv::ArchiveError::BadClass)
            << w->GetRuntimeClass()->name;
    }
    // No refused creature became the controlled member or took a slot, and no
    // group joined the tree.
    EXPECT_EQ(world.m_pControlPlayer.Get(), nullptr);
    for (const auto& h : world.m_Party) EXPECT_EQ(h.Get(), nullptr);
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);

    // A map named there is refused from its class record alone, before a
    // single cell is made: two bytes must not build a whole map.
    Bytes withMap;
    {
        // The record up to its move list, then a map's class record.
        PlayerMoveTo marker(0x5A5A5A5A, 0x5A5A5A5A);
        Fields g;
        g.moves = {&marker};
        Bytes marked = CreatureRecord(44, g);
        const Bytes tail = {'P', 'l', 'a', 'y', 'e', 'r', 'M', 'o', 'v', 'e', 'T', 'o'};
        auto at = std::search(marked.begin(), marked.end(), tail.begin(), tail.end());
        ASSERT_NE(at, marked.end());
        // Back over the name length, schema and new-class tag.
        withMap.assign(marked.begin(), at - 6);
        PutNewClass(withMap, "MapMaster", 2);
    }
    EXPECT_EQ(record_test::RefusalOf<Player>(withMap), qv::ArchiveError::BadClass);
}

}  // namespace
