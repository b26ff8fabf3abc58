// A creature's list of scripted moves: cut records refused, the move-pattern
// event filling the list, and the editor's random list.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "creatures/PlayerMoves.h"
#include "events/GameEvent.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "world/MapFixture.h"

namespace {

using namespace record_test;

TEST(PlayerMoves, AMoveRecordAndEveryTruncationOfIt) {
    Bytes record;
    PutNewClass(record, "PlayerMoveTo", 1);
    PutNewClass(record, "PlayerMove", 1);
    PutInts(record, {7, -2});
    EXPECT_EQ(StoreObject(PlayerMoveTo(7, -2)), record);
    auto whole = LoadObject<PlayerMove>(record);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->GetMoveType(), 1);
    for (size_t n = 0; n < record.size(); ++n) {
        Bytes cut(record.begin(), record.begin() + static_cast<ptrdiff_t>(n));
        SCOPED_TRACE(n);
        record_test::RefusalOf<PlayerMove>(cut);
    }
}

TEST(PlayerMoves, TheMovePatternEventAppendsMovesToCells) {
    Player p;
    p.m_MoveList.push_back(std::make_unique<PlayerMoveTo>(1, 1));
    CMovePatternEvent::FillMoves(&p, {{4, 5}, {6, 7}});
    ASSERT_EQ(p.m_MoveList.size(), 3u);
    auto* last = qv::DynamicCast<PlayerMoveTo>(p.m_MoveList[2].get());
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->x, 6);
    EXPECT_EQ(last->y, 7);
}

class RandomMovesTest : public maptest::MapFixture {
protected:
    std::vector<std::pair<int, int>> Cells() const {
        std::vector<std::pair<int, int>> out;
        for (const auto& m : creature.m_MoveList) {
            auto* to = qv::DynamicCast<PlayerMoveTo>(m.get());
            EXPECT_NE(to, nullptr);
            if (to) out.emplace_back(to->x, to->y);
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

TEST_F(RandomMovesTest, AFixedSeedGivesTheListItsDrawsMake) {
    // Worked from the generator (state x 214013 + 2531011, bits 16 to 30):
    // the number wanted is 2 + a draw mod 3, then each try draws y first and
    // x second, each cell + draw mod 8 - 4; open country reaches every cell,
    // and a cell already listed (the own one, or a repeat) is passed over.
    struct Row {
        const char* rule;
        uint32_t seed;
        std::vector<std::pair<int, int>> cells;
    };
    const Row rows[] = {
        {"seed 1: four wanted", 1, {{30, 30}, {32, 29}, {27, 30}, {32, 30}, {28, 32}}},
        {"seed 7: offsets -4 and +3 reached", 7, {{30, 30}, {33, 32}, {27, 26}, {26, 30}}},
        {"seed 12345: two wanted", 12345, {{30, 30}, {29, 30}, {30, 31}}},
    };
    creature.m_Position = At(30, 30, 5, 5);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        creature.m_MoveList.clear();
        qv::SeedRand(r.seed);
        EXPECT_EQ(AddRandomMoves(creature, map), static_cast<int>(r.cells.size()));
        EXPECT_EQ(Cells(), r.cells);
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
