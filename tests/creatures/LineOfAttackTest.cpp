// The line of attack: clear when nothing but the target stands on the
// straight line to it, measured the short way round the world.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "world/MapFixture.h"

using namespace maptest;

namespace {

class LineOfAttack : public MapFixture {
protected:
    explicit LineOfAttack(CellPoint origin = {10, 10}) : MapFixture(origin) {}
    Player* Place(Position at) {
        auto* p = Make<Player>();
        Position pos = at;
        EXPECT_EQ(map.AddHolder(pos, Hold(p)), 1);
        return p;
    }
    void Block(Position at) {
        images.push_back(SolidImage(12, 12, 6, 6));
        Position pos = at;
        EXPECT_EQ(map.AddHolder(pos, Hold(Make<Thing>(images.back().get()))), 1);
    }
    std::vector<std::unique_ptr<CDDObject>> images;
};

TEST_F(LineOfAttack, IsClearUnlessSomethingElseStandsBetween) {
    const Position from = At(30, 30);
    struct Row {
        const char* rule;
        int dx, dy;
        int between;  // 0 nothing, 1 a block, 2 a creature
        bool clear;
    };
    const Row rows[] = {
        {"open ground east", 60, 0, 0, true},
        {"open ground, steep", 10, -50, 0, true},
        {"an odd distance still ends", 41, 17, 0, true},
        {"the target right beside it", 4, 0, 0, true},
        {"a block between", 60, 0, 1, false},
        {"another creature between", 60, 0, 2, false},
        {"a block beyond the target does not matter", -30, 0, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Player* attacker = Place(from);
        Player* target = Place({from.x + r.dx, from.y + r.dy});
        if (r.between == 1) Block({from.x + r.dx / 2, from.y + r.dy / 2});
        if (r.between == 2) Place({from.x + r.dx / 2, from.y + r.dy / 2});
        if (r.dx < 0) Block({from.x + r.dx - 20, from.y});
        EXPECT_EQ(attacker->IsLineOfAttackClear(target, &map), r.clear);
        for (auto& h : owned) map.RemoveHolder(h->pos, h.get());
        owned.clear();
    }
}

TEST_F(LineOfAttack, WithoutATargetOrMapThereIsNone) {
    Player* attacker = Place(At(30, 30));
    EXPECT_FALSE(attacker->IsLineOfAttackClear(nullptr, &map));
    Player* target = Place(At(30, 30, 120));
    EXPECT_FALSE(attacker->IsLineOfAttackClear(target, nullptr));
}

// A window across the world's east edge (cells 95..99 and 0.. of 100).
class LineOfAttackAcrossTheSeam : public LineOfAttack {
protected:
    LineOfAttackAcrossTheSeam() : LineOfAttack({95, 10}) {}
};

TEST_F(LineOfAttackAcrossTheSeam, GoesTheShortWay) {
    Player* attacker = Place({100 * 160 - 10, 20 * 112});
    Player* target = Place({8, 20 * 112});
    EXPECT_TRUE(attacker->IsLineOfAttackClear(target, &map));
    EXPECT_TRUE(target->IsLineOfAttackClear(attacker, &map));
    Block({0, 20 * 112 + 1});
    EXPECT_FALSE(attacker->IsLineOfAttackClear(target, &map));
}

}  // namespace
