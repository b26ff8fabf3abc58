// Scripted moves: their stored records, their lines in the editor's list, the
// move-pattern event filling a creature's list, and the editor's random list.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "events/GameEvent.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "world/MapFixture.h"

namespace {

using namespace record_test;

TEST(PlayerMove, RecordsAndTheirLines) {
    // A move to a cell: its class, the plain move's class under it, x, y.
    Bytes expected;
    PutNewClass(expected, "PlayerMoveTo", 1);
    PutNewClass(expected, "PlayerMove", 1);
    PutInts(expected, {7, -2});
    PlayerMoveTo to(7, -2);
    EXPECT_EQ(StoreObject(to), expected);
    auto back = LoadObject<PlayerMove>(expected);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetMoveType(), 1);
    auto* cell = qv::DynamicCast<PlayerMoveTo>(back.get());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->m_iX, 7);
    EXPECT_EQ(cell->m_iY, -2);

    // Every truncation of the record is refused.
    for (size_t n = 0; n < expected.size(); ++n) {
        Bytes cut(expected.begin(), expected.begin() + static_cast<ptrdiff_t>(n));
        qv::Archive in(cut);
        EXPECT_THROW(delete in.ReadObjectOf<PlayerMove>(), qv::ArchiveError) << n;
    }

    // A plain move stores nothing of its own.
    Bytes plain;
    PutNewClass(plain, "PlayerMove", 1);
    PlayerMove move;
    EXPECT_EQ(StoreObject(move), plain);
    EXPECT_EQ(LoadObject<PlayerMove>(plain)->GetMoveType(), 0);

    std::string text;
    move.Describe(&text);
    EXPECT_EQ(text, "PlayerMove");
    to.Describe(&text);
    EXPECT_EQ(text, "Move to:  7, -2");
}

TEST(PlayerMove, TheMovePatternEventAppendsMovesToCells) {
    InstallScriptedMoves();
    Player p;
    p.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(1, 1));
    CMovePatternEvent::FillMoves(&p, {{4, 5}, {6, 7}});
    ASSERT_EQ(p.m_MoveList.size(), 3u);
    auto* last = qv::DynamicCast<PlayerMoveTo>(p.m_MoveList[2].get());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->m_iX, 6);
    EXPECT_EQ(last->m_iY, 7);
    CMovePatternEvent::SetFiller(nullptr);
}

class RandomMovesTest : public maptest::MapFixture {
protected:
    std::vector<std::pair<int, int>> Cells() const {
        std::vector<std::pair<int, int>> out;
        for (const auto& m : creature.m_MoveList) {
            auto* to = qv::DynamicCast<PlayerMoveTo>(m.get());
            EXPECT_NE(to, nullptr);
            if (to) out.emplace_back(to->m_iX, to->m_iY);
        }
        return out;
    }
    Player creature;
};

TEST_F(RandomMovesTest, OwnCellFirstThenReachableCellsNearItNoneTwice) {
    creature.m_Position = At(30, 30, 5, 5);
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
        creature.m_MoveList.clear();
        qv::SeedRand(seed);
        const int added = AddRandomMoves(creature, map);
        const auto cells = Cells();
        ASSERT_EQ(static_cast<int>(cells.size()), added);
        EXPECT_GE(added, 3);
        EXPECT_LE(added, 5);
        EXPECT_EQ(cells.front(), std::make_pair(30, 30));
        const std::set<std::pair<int, int>> distinct(cells.begin(), cells.end());
        EXPECT_EQ(distinct.size(), cells.size());
        for (auto [x, y] : cells) {
            EXPECT_GE(x, 26);
            EXPECT_LE(x, 33);
            EXPECT_GE(y, 26);
            EXPECT_LE(y, 33);
        }
    }
}

TEST_F(RandomMovesTest, AWalledInCreatureGetsOnlyItsOwnCellAfterAllTries) {
    // Window cell (20, 20) is world cell (30, 30); its neighbours are solid.
    for (int i = 19; i <= 21; ++i)
        for (int j = 19; j <= 21; ++j)
            if (i != 20 || j != 20) map.GetCell(i, j).terrain = 7;
    creature.m_Position = At(30, 30);
    qv::SeedRand(9);
    EXPECT_EQ(AddRandomMoves(creature, map), 1);
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{30, 30}}));
    // One draw for the number wanted and two for each of the 2000 tries.
    qv::SeedRand(9);
    for (int i = 0; i < 1 + 2 * 2000; ++i) qv::Rand();
    const int expectedNext = qv::Rand();
    qv::SeedRand(9);
    creature.m_MoveList.clear();
    AddRandomMoves(creature, map);
    EXPECT_EQ(qv::Rand(), expectedNext);
}

}  // namespace
