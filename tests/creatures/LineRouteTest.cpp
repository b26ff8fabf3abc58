// The two-pixel line and a creature's straight route: the line's points, the
// first leg, open and closed doors, detours around an obstacle on the side
// that ends nearer the goal, the same side twice, and the world's seam.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/LineRoute.h"
#include "creatures/Player.h"
#include "structures/Walls.h"
#include "world/MapFixture.h"

namespace {

using maptest::MapFixture;
using Points = std::vector<qv::Point>;

Points Walk(qv::Point a, qv::Point b) {
    BresenhamLine line;
    line.Start(&a, &b);
    Points out;
    while (!line.AtEnd()) {
        qv::Point p;
        line.Next(&p);
        out.push_back(p);
    }
    return out;
}

TEST(BresenhamLine, StepsTwoPixelsAndLandsOnTheEvenEnd) {
    // (7, 3): the deltas become (6, 2).
    EXPECT_EQ(Walk({0, 0}, {7, 3}), (Points{{2, 0}, {4, 2}, {6, 2}}));
    // (4, 2): the error starts at 4 - 2 x 2 = 0, at most 0, so the first
    // step moves in y as well.
    EXPECT_EQ(Walk({0, 0}, {4, 2}), (Points{{2, 2}, {4, 2}}));
    EXPECT_EQ(Walk({0, 0}, {-7, -3}), (Points{{-2, 0}, {-4, -2}, {-6, -2}}));
    // Longer in y: (3, -9) becomes (2, -8).
    EXPECT_EQ(Walk({0, 0}, {3, -9}), (Points{{0, -2}, {0, -4}, {2, -6}, {2, -8}}));
    // One pixel: nothing to walk, the start is the end.
    EXPECT_EQ(Walk({5, 5}, {6, 5}), Points{});
    BresenhamLine line;
    qv::Point a{5, 5}, b{6, 5};
    line.Start(&a, &b);
    EXPECT_EQ(line.m_iEndX, 5);
    EXPECT_EQ(line.m_iEndY, 5);
}

TEST(LineRoute, Turns) {
    EXPECT_EQ(LineRoute::TurnClockwise({2, 0}), (qv::Point{0, 2}));  // east to south
    EXPECT_EQ(LineRoute::TurnAnticlockwise({2, 0}), (qv::Point{0, -2}));
    EXPECT_EQ(LineRoute::TurnBack({2, -2}), (qv::Point{-2, 2}));
}

class LineRouteTest : public MapFixture {
protected:
    explicit LineRouteTest(CellPoint origin = {10, 10}) : MapFixture(origin) {}

    // A solid 20 x 20 block centred on pos.
    ObjectHolder* Block(Position pos) {
        if (!blockImage) blockImage = maptest::SolidImage(20, 20, 10, 10);
        auto* thing = Make<maptest::Thing>(blockImage.get());
        ObjectHolder* h = Hold(thing, pos);
        EXPECT_EQ(map.AddHolder(pos, h), 1);
        return h;
    }
    // Points relative to p.
    static Points Rel(const Points& points, Position p) {
        Points out;
        for (qv::Point q : points) out.push_back({q.x - p.x, q.y - p.y});
        return out;
    }
    void Plan(Position from, Position to, int budget, int occupiedEnd = 1,
              Object* target = nullptr) {
        creature->m_Route.Plan(from.x, from.y, to.x, to.y, creature.get(), &map, target,
                               occupiedEnd, budget, 0);
    }
    const Points& Route() const { return creature->m_Route.Points(); }

    std::unique_ptr<CDDObject> blockImage;
    std::unique_ptr<Player> creature = std::make_unique<Player>();
};

TEST_F(LineRouteTest, AFreeLineEndsAtTheEndPointWithinTheBudget) {
    const Position p = At(20, 20);
    Plan(p, {p.x + 20, p.y}, 40);
    ASSERT_EQ(Route().size(), 10u);
    EXPECT_EQ(Route().back(), (qv::Point{p.x + 20, p.y}));
    EXPECT_EQ(Route().front(), (qv::Point{p.x + 2, p.y}));

    Plan(p, {p.x + 20, p.y}, 4);
    EXPECT_EQ(Rel(Route(), p), (Points{{2, 0}, {4, 0}, {6, 0}, {8, 0}}));

    // The points are handed out in order.
    qv::Point q;
    ASSERT_EQ(creature->m_Route.HasMorePoints(), 1);
    creature->m_Route.NextPoint(&q);
    EXPECT_EQ(q, (qv::Point{p.x + 2, p.y}));
}

TEST_F(LineRouteTest, AnOccupiedEnd) {
    const Position p = At(20, 20);
    Block({p.x + 30, p.y});
    // Refused outright unless an occupied end is allowed; then the route
    // stops short of the obstacle without a detour.
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 60, 0);
    EXPECT_EQ(Route().size(), 0u);
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 60, 1);
    ASSERT_EQ(Route().size(), 24u);  // -28 .. +18
    EXPECT_EQ(Route().back(), (qv::Point{p.x + 18, p.y}));
}

TEST_F(LineRouteTest, ADetourTakesTheSideThatEndsNearerTheGoal) {
    // The block covers -10..+9 around p. Going east from -30 the leg keeps
    // -28..-12 and strikes the block at -10 after 10 of the 40 steps.
    const Position p = At(20, 20);
    Block(p);
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 40);
    const Points route = Rel(Route(), p);
    ASSERT_EQ(route.size(), 9u + 30u);
    EXPECT_EQ(route[8], (qv::Point{-12, 0}));
    // Clockwise round the south side: five steps down along the block, then
    // east under it to (38, 10), nearer the goal than the north side's
    // (36, -12).
    EXPECT_EQ(route[9], (qv::Point{-12, 2}));
    EXPECT_EQ(route[13], (qv::Point{-12, 10}));
    EXPECT_EQ(route[14], (qv::Point{-10, 10}));
    EXPECT_EQ(route.back(), (qv::Point{38, 10}));
    EXPECT_EQ(creature->m_Route.m_iLastSide, 1);

    // The same obstacle again: the same side, the leg's points dropped and
    // the whole budget spent on the detour.
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 40);
    const Points again = Rel(Route(), p);
    ASSERT_EQ(again.size(), 40u);
    EXPECT_EQ(again.front(), (qv::Point{-12, 2}));
    EXPECT_EQ(again.back(), (qv::Point{58, 10}));
}

TEST_F(LineRouteTest, DetoursEndingEquallyNearTheGoalTakeSide0) {
    // A block of 21 x 21 pixels, -10..+10 about p, on the line: the two
    // detours end mirrored about it, equally near the goal.
    auto image = maptest::SolidImage(21, 21, 10, 10);
    const Position p = At(20, 20);
    auto* thing = Make<maptest::Thing>(image.get());
    Position at = p;
    ASSERT_EQ(map.AddHolder(at, Hold(thing)), 1);
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 40);
    const Points route = Rel(Route(), p);
    ASSERT_FALSE(route.empty());
    EXPECT_EQ(creature->m_Route.m_iLastSide, 0);
    EXPECT_LT(route.back().y, 0);  // round the north side, anticlockwise
}

TEST_F(LineRouteTest, TouchingTheTargetEndsADetour) {
    const Position p = At(20, 20);
    Block(p);
    // The target stands just south of where the leg stops: the clockwise
    // detour touches it at once and ends; the anticlockwise one is taken.
    auto image = maptest::SolidImage(4, 4, 2, 0);
    auto* target = Make<maptest::Thing>(image.get());
    ObjectHolder* targetHolder = Hold(target, {p.x - 13, p.y + 2});
    Position at = targetHolder->pos;
    ASSERT_EQ(map.AddHolder(at, targetHolder), 1);
    Plan({p.x - 30, p.y}, {p.x + 30, p.y}, 40, 1, target);
    const Points route = Rel(Route(), p);
    ASSERT_EQ(route.size(), 9u + 30u);
    EXPECT_EQ(route[9], (qv::Point{-12, -2}));
    EXPECT_EQ(route.back(), (qv::Point{36, -12}));
    EXPECT_EQ(creature->m_Route.m_iLastSide, 0);
    // What it touched is remembered as the obstacle.
    EXPECT_EQ(creature->m_Route.m_pLastObstacle, targetHolder);
}

TEST_F(LineRouteTest, ADetourStartsAtTheStartWhenTheLegKeptNothing) {
    const Position p = At(20, 20);
    Block(p);
    // The first step already strikes the block.
    Plan({p.x - 12, p.y}, {p.x + 30, p.y}, 20);
    const Points route = Rel(Route(), p);
    ASSERT_EQ(route.size(), 19u);
    EXPECT_EQ(route.front(), (qv::Point{-12, 2}));
}

class LineRouteDoorTest : public LineRouteTest {
protected:
    // A door in the north edge of cell (20, 20), 160 x 10 pixels.
    LineRouteDoorTest() {
        doorImage = maptest::SolidImage(160, 10, 80, 5);
        door = Make<maptest::Pictured<FrontDoorBrick>>();
        door->image = doorImage.get();
        door->m_iItemNum = 3;
        door->m_iState = 2;
        Position at = At(20, 20);
        doorHolder = Hold(door);
        EXPECT_EQ(map.AddHolder(at, doorHolder), 1);
    }
    std::unique_ptr<CDDObject> doorImage;
    maptest::Pictured<FrontDoorBrick>* door = nullptr;
    ObjectHolder* doorHolder = nullptr;
};

TEST_F(LineRouteDoorTest, AnOpenDoorIsWalkedThroughAndALockedOneIsTried) {
    // North through the door, 40 pixels from the cell's west edge.
    const Position from = At(20, 20, 40, 30), to = At(20, 20, 40, -30);
    Plan(from, to, 60);
    ASSERT_EQ(Route().size(), 30u);
    EXPECT_EQ(Route().back(), (qv::Point{to.x, to.y}));

    // Locked: the route stops at the door, and the creature goes to try it.
    door->m_bLocked = 1;
    Plan(from, to, 60);
    const Points route = Route();
    ASSERT_EQ(route.size(), 12u);  // y + 28 .. y + 6; the door starts at y + 4
    EXPECT_EQ(route.back(), (qv::Point{from.x, from.y - 24}));
    EXPECT_EQ(creature->m_pPlayerSet, doorHolder);
    // Struck left of the middle going north: the clockwise side.
    EXPECT_EQ(creature->m_Route.m_iLastSide, 1);
    creature->LeavePlayerSet();
}

TEST_F(LineRouteDoorTest, AShutDoorSendsTheRouteRoundOnTheSideItWasStruck) {
    // A door in any other state is a wall: the creature walks along it, on
    // the side that where the line struck it fixes: going north, side 1 up
    // to x offset 80 of the cell and side 0 beyond; going south the other
    // way round.
    door->m_iState = 3;
    struct Row {
        const char* rule;
        int offset;  // x within the cell
        bool north;
        int side;
    };
    const Row rows[] = {
        {"north at 40", 40, true, 1},  {"north at exactly 80", 80, true, 1},
        {"north at 81", 81, true, 0},  {"north at 120", 120, true, 0},
        {"south at 80", 80, false, 0}, {"south at 81", 81, false, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        creature->m_Route.Clear();
        const Position south = At(20, 20, r.offset, 30), north = At(20, 20, r.offset, -30);
        Plan(r.north ? south : north, r.north ? north : south, 20);
        EXPECT_EQ(creature->m_pPlayerSet, nullptr);
        EXPECT_EQ(creature->m_Route.m_iLastSide, r.side);
    }
    // Going north at 120: the leg took 13 of the 20 steps; anticlockwise
    // from north is west: the route turns along the door.
    creature->m_Route.Clear();
    const Position from = At(20, 20, 120, 30), to = At(20, 20, 120, -30);
    Plan(from, to, 20);
    const Points route = Route();
    ASSERT_EQ(route.size(), 12u + 7u);
    EXPECT_EQ(route[12], (qv::Point{from.x - 2, from.y - 24}));
}

// The window lies across the world's seam at x = 16000 (world cell 100).
class LineRouteSeamTest : public LineRouteTest {
protected:
    LineRouteSeamTest() : LineRouteTest({90, 10}) {}
};

TEST_F(LineRouteSeamTest, ARouteCrossesTheSeamTheShortWay) {
    const Position from(15990, 20 * 112 + 56), to(10, 20 * 112 + 56);
    Plan(from, to, 40);
    Points expected;
    for (int x = 15992; x <= 16010; x += 2) expected.push_back({x % 16000, from.y});
    EXPECT_EQ(Route(), expected);

    // Around a block just past the seam, the points kept wrapped.
    Block({12, from.y});
    Plan(from, {40, from.y}, 40);
    const Points route = Route();
    ASSERT_EQ(route.size(), 5u + 34u);
    EXPECT_EQ(route[4], (qv::Point{0, from.y}));
    for (qv::Point q : route) {
        EXPECT_GE(q.x, 0);
        EXPECT_LT(q.x, 16000);
    }
}

}  // namespace
