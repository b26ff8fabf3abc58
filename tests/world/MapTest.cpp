// The world map: wrapping arithmetic, the window, placing, moving and removing
// holders, drawing order, walls on edges, the light and fixture lists,
// exploring and the mini-map.

#include <memory>
#include <vector>

#include "MapFixture.h"
#include "platform/Message.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"

using namespace maptest;

namespace {

class MapCoordinates : public MapFixture {};

TEST_F(MapCoordinates, WrappedDifferencesLieInTheHalfOpenRange) {
    // 100 x 80 cells: 16000 x 8960 pixels.
    EXPECT_EQ(map.worldpixelx, 16000);
    EXPECT_EQ(map.halfpixely, 4480);
    EXPECT_EQ(map.PixelDelta({0, 0}, {8000, 0}), (CellPoint{-8000, 0}));
    EXPECT_EQ(map.PixelDelta({0, 0}, {7999, 4479}), (CellPoint{7999, 4479}));
    EXPECT_EQ(map.PixelDelta({0, 0}, {0, 4480}), (CellPoint{0, -4480}));
    EXPECT_EQ(map.PixelDelta({15990, 8950}, {10, 5}), (CellPoint{20, 15}));
    EXPECT_EQ(map.delta, (CellPoint{20, 15}));
    EXPECT_EQ(map.CellDelta({99, 0}, {1, 79}), (CellPoint{2, -1}));
    // 30 pixels apart vertically: 30 x 30 / 2.
    EXPECT_EQ(map.PixelDistanceSq({100, 100}, {100, 130}), 450);
    EXPECT_EQ(map.PixelDistanceSq({100, 100}, {103, 103}), 9 + 4);
    // Far apart in a large world still fits.
    EXPECT_EQ(map.CellDistanceSq({0, 0}, {7999, 4479}), 7999LL * 7999 + 4479LL * 4479);
}

TEST(MapDistance, SpacingOfFarPointsInAWideWorldDoesNotOverflow) {
    // 1000 x 1000 cells: half the width is 80000 pixels, whose square is
    // past what 32 bits hold.
    MapMaster wide;
    wide.SetWorldSize(1000, 1000);
    EXPECT_EQ(wide.PixelDistanceSq({0, 0}, {79999, 55999}), 79999LL * 79999 + 55999LL * 55999 / 2);
}

TEST_F(MapCoordinates, WrapsTakeOneStepEachWay) {
    Position p(16000, -1);
    map.WrapPosition(p);
    EXPECT_EQ(p, Position(0, 8959));
    CellPoint c{-1, 80};
    map.WrapCell(c);
    EXPECT_EQ(c, (CellPoint{99, 0}));
    CellRect r{-2, 5, 3, 82};
    map.WrapRect(r);
    EXPECT_EQ(r, (CellRect{98, 5, 3, 2}));
}

TEST_F(MapCoordinates, ScreenPointOfWorldPoint) {
    map.viewcentre = {1000, 1000};
    int32_t sx = 0, sy = 0;
    map.WorldToScreen({1000, 1000}, sx, sy);
    EXPECT_EQ(sx, 320);
    EXPECT_EQ(sy, 240);
    // A step south moves the point left on the screen by as much.
    map.WorldToScreen({1000, 1010}, sx, sy);
    EXPECT_EQ(sx, 310);
    EXPECT_EQ(sy, 250);
    map.WorldToScreen({1030, 990}, sx, sy);
    EXPECT_EQ(sx, 360);
    EXPECT_EQ(sy, 230);
    // Across the seams from a view centre near the world's corner (16000 x
    // 8960 pixels): 200 pixels west and 100 north, not a world away.
    map.viewcentre = {100, 50};
    map.WorldToScreen({15900, 8910}, sx, sy);
    EXPECT_EQ(sx, -200 + 100 + 320);
    EXPECT_EQ(sy, -100 + 240);
    map.viewcentre = {1000, 1000};
    EXPECT_TRUE(map.IsDeltaInRect({1000, 1000}, {1030, 990}, {0, -10, 41, 0}));
    EXPECT_FALSE(map.IsDeltaInRect({1000, 1000}, {1030, 990}, {0, -10, 40, 0}));
}

TEST_F(MapCoordinates, WindowCellsRaiseNegativeOffsetsOnly) {
    // Window origin (10, 10): window cells 0..50 x 0..47.
    EXPECT_TRUE(map.LocateInWindow(At(60, 57)));
    EXPECT_EQ(map.windowcell, (CellPoint{50, 47}));
    EXPECT_FALSE(map.LocateInWindow(At(61, 20)));
    EXPECT_FALSE(map.LocateInWindow(At(20, 58)));
    // Below the origin: raised by the world size, then too large.
    EXPECT_FALSE(map.LocateInWindow(At(9, 10)));
    EXPECT_EQ(map.windowcell, (CellPoint{99, 0}));
    CellPoint out;
    EXPECT_TRUE(map.CellToWindow({10, 10}, out));
    EXPECT_EQ(out, (CellPoint{0, 0}));
    EXPECT_FALSE(map.CellToWindow({9, 10}, out));
}

TEST_F(MapCoordinates, RectanglesAcrossTheSeam) {
    // A rectangle straddling the seam in x: cells 95..99 and 0..4.
    const CellRect seam{95, 10, 5, 20};
    EXPECT_TRUE(map.RectsOverlap(seam, {2, 12, 3, 13}));
    EXPECT_TRUE(map.RectsOverlap(seam, {96, 12, 97, 13}));
    EXPECT_FALSE(map.RectsOverlap(seam, {50, 12, 60, 13}));
    // Touching rectangles overlap.
    EXPECT_TRUE(map.RectsOverlap({0, 0, 10, 10}, {10, 10, 20, 20}));
    EXPECT_TRUE(map.RectContains({0, 0, 10, 10}, {2, 2, 5, 5}));
    // Reaching the outer right bound is not contained.
    EXPECT_FALSE(map.RectContains({0, 0, 10, 10}, {2, 2, 10, 5}));
    EXPECT_TRUE(map.RectContains(seam, {97, 12, 2, 15}));
}

TEST_F(MapCoordinates, RecentringKeepsTheOldOrigin) {
    map.focuscell = {5, 3};
    map.RecentreWindow();
    EXPECT_EQ(map.origin, (CellPoint{80, 59}));
    EXPECT_EQ(map.oldorigin, (CellPoint{10, 10}));
    EXPECT_EQ(map.windowrect, (CellRect{80, 59, 31, 27}));
}

// ---- placement -----------------------------------------------------------

class MapPlacement : public MapFixture {};

TEST_F(MapPlacement, PointObjectIsListedInItsOwnCellOnly) {
    Object* obj = Make<Object>();
    ObjectHolder* h = Hold(obj);
    Position pos = At(20, 20, 10, 10);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_EQ(h->pos, pos);
    EXPECT_EQ(CountListings(h), 1);
    EXPECT_TRUE(WindowCellAt(pos).holders.Find(h));
    EXPECT_EQ(h->m_Corners[0].column, 10);
    EXPECT_EQ(h->m_Corners[0].row, 10);
    EXPECT_EQ(map.RemoveHolder(pos, h), 1);
    EXPECT_EQ(CountListings(h), 0);
    EXPECT_EQ(h->m_Corners[0].column, -1);
    EXPECT_EQ(map.RemoveHolder(pos, h), 0);
}

TEST_F(MapPlacement, RefusedOutsideTheWindowAndAtItsLastCell) {
    Object* obj = Make<Object>();
    ObjectHolder* h = Hold(obj);
    Position outside = At(61, 20);
    EXPECT_EQ(map.AddHolder(outside, h), 0);
    EXPECT_FALSE(map.IsListedAnywhere(h));
    Position last = At(60, 57, 159, 111);
    EXPECT_EQ(map.AddHolder(last, h), 1);
    EXPECT_TRUE(map.GetCell(50, 47).holders.Find(h));
}

TEST_F(MapPlacement, PlacedAndRemovedAtTheWindowsFirstAndLastCells) {
    // Window origin (10, 10): window cells (0, 0) and (50, 47) are world
    // cells (10, 10) and (60, 57).
    auto* obj = Make<Object>();
    ObjectHolder* h = Hold(obj);
    Position first = At(10, 10, 0, 0);
    ASSERT_EQ(map.AddHolder(first, h), 1);
    EXPECT_TRUE(map.GetCell(0, 0).holders.Find(h));
    EXPECT_EQ(map.RemoveHolder(first, h), 1);
    EXPECT_EQ(CountListings(h), 0);

    auto image = SolidImage(20, 20, 10, 10);
    auto* thing = Make<Thing>(image.get());
    ObjectHolder* hi = Hold(thing);
    // Reaching one pixel west of the window: refused, nothing left behind.
    Position west = At(10, 10, 9, 30);
    EXPECT_EQ(map.AddHolder(west, hi), 0);
    EXPECT_FALSE(map.IsListedAnywhere(hi));
    Position inside = At(10, 10, 10, 10);
    ASSERT_EQ(map.AddHolder(inside, hi), 1);
    EXPECT_EQ(CountListings(hi), 1);
    EXPECT_EQ(map.RemoveHolder(inside, hi), 1);

    // Across the corner of the last four window cells, then removed after
    // its frame changed to a smaller one.
    Position last = At(60, 57, 5, 5);
    ASSERT_EQ(map.AddHolder(last, hi), 1);
    EXPECT_EQ(CountListings(hi), 4);
    for (auto [i, j] : {std::pair{49, 46}, {50, 46}, {49, 47}, {50, 47}})
        EXPECT_TRUE(map.GetCell(i, j).holders.Find(hi)) << i << ", " << j;
    auto small = SolidImage(2, 2, 1, 1);
    thing->m_image = small.get();
    EXPECT_EQ(map.RemoveHolder(last, hi), 1);
    EXPECT_EQ(CountListings(hi), 0);
    // Reaching one pixel past the last row: refused.
    thing->m_image = image.get();
    Position south = At(60, 57, 80, 102);
    EXPECT_EQ(map.AddHolder(south, hi), 0);
    EXPECT_FALSE(map.IsListedAnywhere(hi));
}

TEST_F(MapPlacement, ImageAcrossBothSeamsIsListedInFourCellsAndRemovedFromEach) {
    map.SetOrigin({70, 60});  // window columns 70..99, 0..20; rows 60..79, 0..27
    auto image = SolidImage(80, 60, 40, 30);
    auto* thing = Make<Thing>(image.get());
    ObjectHolder* h = Hold(thing);
    Position pos(0, 0);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_EQ(CountListings(h), 4);
    EXPECT_TRUE(map.GetCell(29, 19).holders.Find(h));  // world cell (99, 79)
    EXPECT_TRUE(map.GetCell(30, 19).holders.Find(h));  // (0, 79)
    EXPECT_TRUE(map.GetCell(29, 20).holders.Find(h));  // (99, 0)
    EXPECT_TRUE(map.GetCell(30, 20).holders.Find(h));  // (0, 0)

    // The picture changes while placed (a smaller one): removal still uses the
    // cells recorded at placement.
    auto small = SolidImage(4, 4, 2, 2);
    thing->m_image = small.get();
    EXPECT_EQ(map.RemoveHolder(pos, h), 1);
    EXPECT_EQ(CountListings(h), 0);
    for (const auto& c : h->m_Corners) EXPECT_EQ(c.column, -1);
}

TEST_F(MapPlacement, ImageReachingPastTheWindowLeavesNothingPlaced) {
    auto image = SolidImage(100, 20, 10, 10);  // reaches 90 pixels east
    auto* thing = Make<Thing>(image.get());
    ObjectHolder* h = Hold(thing);
    Position pos = At(60, 30, 100, 50);  // last window column; the east corners fall outside
    EXPECT_EQ(map.AddHolder(pos, h), 0);
    EXPECT_FALSE(map.IsListedAnywhere(h));
    for (const auto& c : h->m_Corners) EXPECT_EQ(c.column, -1);
    // The same picture further west fits.
    Position inside = At(59, 30, 100, 50);
    EXPECT_EQ(map.AddHolder(inside, h), 1);
    EXPECT_EQ(CountListings(h), 2);
}

TEST_F(MapPlacement, ObjectListsSurviveRemovalAfterTheirPredicateChanged) {
    // An object that carries a light and can be interacted with while placed.
    struct Lamp : Thing {
        using Thing::Thing;
        Object* GetLightSource() override { return lit ? &light : nullptr; }
        int CanInteract() override { return interact; }
        LightSource light;
        bool lit = true;
        int interact = 1;
    };
    auto image = SolidImage(10, 10, 5, 5);
    auto* lamp = Make<Lamp>(image.get());
    lamp->m_bMoveable = 0;
    ObjectHolder* h = Hold(lamp);
    Position pos = At(20, 20);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    ASSERT_EQ(map.GetLightHolders().size(), 1u);
    ASSERT_EQ(map.GetFixtures().size(), 1u);
    EXPECT_EQ(lamp->light.m_Position, pos);
    // Adding again lists nothing twice.
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_EQ(map.GetLightHolders().size(), 1u);
    lamp->lit = false;
    lamp->interact = 0;
    map.RemoveHolder(pos, h);
    EXPECT_TRUE(map.GetLightHolders().empty());
    EXPECT_TRUE(map.GetFixtures().empty());
}

TEST_F(MapPlacement, WhatAnswersANonLightIsNotALightHolder) {
    struct Carrier : Object {
        Object* GetLightSource() override { return &weapon; }
        Object weapon;
    };
    auto* carrier = Make<Carrier>();
    ObjectHolder* h = Hold(carrier);
    Position pos = At(20, 20);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_TRUE(map.GetLightHolders().empty());
}

TEST_F(MapPlacement, DrawingOrderBackToFront) {
    auto image = SolidImage(20, 20, 10, 10);
    auto* a = Make<Thing>(image.get());
    auto* b = Make<Thing>(image.get());
    auto* c = Make<Thing>(image.get());
    c->m_iState = -1;  // lies under everything
    ObjectHolder* ha = Hold(a);
    ObjectHolder* hb = Hold(b);
    ObjectHolder* hc = Hold(c);
    // a spans (40..60, 40..60) of world cell (20, 20), b (90..110, 40..60).
    Position pa = At(20, 20, 50, 50);
    Position pb = At(20, 20, 100, 50);
    Position pc = At(20, 20, 140, 100);
    ASSERT_EQ(map.AddHolder(pb, hb), 1);
    ASSERT_EQ(map.AddHolder(pa, ha), 1);
    const ObjectHolderList& list = WindowCellAt(pa).holders;
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0], ha);
    EXPECT_EQ(list[1], hb);
    EXPECT_FALSE(ha->IsInFrontOf(hb, 20, 20));
    ASSERT_EQ(map.AddHolder(pc, hc), 1);
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0], hc);
    // The other order of insertion gives the same list.
    map.RemoveHolder(pa, ha);
    map.RemoveHolder(pb, hb);
    ASSERT_EQ(map.AddHolder(pa, ha), 1);
    ASSERT_EQ(map.AddHolder(pb, hb), 1);
    EXPECT_EQ(list[0], hc);
    EXPECT_EQ(list[1], ha);
    EXPECT_EQ(list[2], hb);
}

TEST_F(MapPlacement, DrawingOrderFollowsTheNewPlace) {
    auto image = SolidImage(20, 20, 10, 10);
    auto* a = Make<Thing>(image.get());
    auto* b = Make<Thing>(image.get());
    ObjectHolder* ha = Hold(a);
    // b is made at a spot east of a, where it would be drawn after a...
    ObjectHolder* hb = Hold(b, At(20, 20, 150, 50));
    Position pa = At(20, 20, 100, 50);  // a spans 90..110 across the cell
    ASSERT_EQ(map.AddHolder(pa, ha), 1);
    // ...but is placed west of it (40..60), where a is in front of it.
    Position pb = At(20, 20, 50, 50);
    ASSERT_EQ(map.AddHolder(pb, hb), 1);
    const ObjectHolderList& list = WindowCellAt(pa).holders;
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0], hb);
    EXPECT_EQ(list[1], ha);
    // Moved east of a, it is drawn after a; moved back west, before it.
    ASSERT_EQ(map.MoveHolder(hb->pos, At(20, 20, 150, 50), hb), 1);
    EXPECT_EQ(list[0], ha);
    EXPECT_EQ(list[1], hb);
    ASSERT_EQ(map.MoveHolder(hb->pos, At(20, 20, 50, 50), hb), 1);
    EXPECT_EQ(list[0], hb);
    EXPECT_EQ(list[1], ha);
    // A refused placement leaves the holder's position as it was.
    map.RemoveHolder(hb->pos, hb);
    map.GetCell(11, 10).terrain = 7;  // world cell (21, 20) is solid
    Position solid = At(21, 20);
    EXPECT_EQ(map.AddHolder(solid, hb), 0);
    EXPECT_EQ(hb->pos, At(20, 20, 50, 50));
}

TEST_F(MapPlacement, ACrowdedCellKeepsItsDrawingOrderThroughMovesAndRemovals) {
    // Seven pictures of 20 x 20 in a row across world cell (20, 20), their
    // left edges at 2, 23, 44, 65, 86, 107 and 128 (top 40): none overlaps,
    // so they are drawn west to east; two lie under everything and come
    // first, in the order they were placed.
    auto image = SolidImage(20, 20, 10, 10);
    std::vector<ObjectHolder*> row;
    for (int k = 0; k < 7; ++k) row.push_back(Hold(Make<Thing>(image.get())));
    auto* flat1 = Make<Thing>(image.get());
    auto* flat2 = Make<Thing>(image.get());
    flat1->m_iState = flat2->m_iState = -1;
    ObjectHolder* under1 = Hold(flat1);
    ObjectHolder* under2 = Hold(flat2);
    auto rowAt = [](int k) { return At(20, 20, 12 + 21 * k, 50); };
    for (int k : {4, 1, 6}) {
        Position p = rowAt(k);
        ASSERT_EQ(map.AddHolder(p, row[size_t(k)]), 1);
    }
    Position pu1 = At(20, 20, 60, 90);
    ASSERT_EQ(map.AddHolder(pu1, under1), 1);
    for (int k : {0, 5, 3, 2}) {
        Position p = rowAt(k);
        ASSERT_EQ(map.AddHolder(p, row[size_t(k)]), 1);
    }
    Position pu2 = At(20, 20, 100, 90);
    ASSERT_EQ(map.AddHolder(pu2, under2), 1);
    const ObjectHolderList& list = WindowCellAt(rowAt(0)).holders;
    auto order = [&] { return std::vector<ObjectHolder*>(list.begin(), list.end()); };
    EXPECT_EQ(order(), (std::vector<ObjectHolder*>{under1, under2, row[0], row[1], row[2], row[3],
                                                   row[4], row[5], row[6]}));
    // The westmost moved to the east end (left edge 149) is drawn last.
    ASSERT_EQ(map.MoveHolder(row[0]->pos, At(20, 20, 159, 50), row[0]), 1);
    EXPECT_EQ(order(), (std::vector<ObjectHolder*>{under1, under2, row[1], row[2], row[3], row[4],
                                                   row[5], row[6], row[0]}));
    // Taking out the middle ones and an under one keeps the rest in order.
    EXPECT_EQ(map.RemoveHolder(row[3]->pos, row[3]), 1);
    EXPECT_EQ(map.RemoveHolder(under1->pos, under1), 1);
    EXPECT_EQ(map.RemoveHolder(row[4]->pos, row[4]), 1);
    EXPECT_EQ(order(),
              (std::vector<ObjectHolder*>{under2, row[1], row[2], row[5], row[6], row[0]}));
    // Back at its old place, between 2 and 5.
    Position p4 = rowAt(4);
    ASSERT_EQ(map.AddHolder(p4, row[4]), 1);
    EXPECT_EQ(order(),
              (std::vector<ObjectHolder*>{under2, row[1], row[2], row[4], row[5], row[6], row[0]}));
}

TEST_F(MapPlacement, CreatureOnAnObstacleIsPushedEast) {
    auto image = SolidImage(30, 30, 15, 15);  // covers x - 15 .. x + 14
    auto* rock = Make<Thing>(image.get());
    Position rockPos = At(20, 20, 80, 56);
    ASSERT_EQ(map.AddHolder(rockPos, Hold(rock)), 1);
    auto* creature = Make<Creature>();
    ObjectHolder* h = Hold(creature);
    Position pos = rockPos;
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_EQ(pos.x, rockPos.x + 15);
    EXPECT_EQ(h->pos, pos);
    EXPECT_EQ(creature->m_pos, pos);
    // Anything else is refused.
    auto* crate = Make<Object>();
    Position cratePos = rockPos;
    EXPECT_EQ(map.AddHolder(cratePos, Hold(crate)), 0);
    EXPECT_EQ(cratePos, rockPos);
}

TEST_F(MapPlacement, PushThatLeavesTheWindowFailsAndKeepsThePosition) {
    // A wall over the last window column up to its last pixel, west of its anchor.
    auto image = SolidImage(159, 20, 159, 10);
    auto* wall = Make<Thing>(image.get());
    Position wallPos = At(60, 30, 159, 56);
    ASSERT_EQ(map.AddHolder(wallPos, Hold(wall)), 1);
    auto* creature = Make<Creature>();
    ObjectHolder* h = Hold(creature);
    Position pos = At(60, 30, 20, 56);
    EXPECT_EQ(map.AddHolder(pos, h), 0);
    EXPECT_EQ(pos, At(60, 30, 20, 56));
    EXPECT_FALSE(map.IsListedAnywhere(h));
}

TEST_F(MapPlacement, PushAcrossTheSeamIsWrapped) {
    map.SetOrigin({70, 60});
    auto image = SolidImage(20, 20, 10, 10);  // covers x - 10 .. x + 9
    auto* rock = Make<Thing>(image.get());
    Position rockPos(15990, 100);
    ASSERT_EQ(map.AddHolder(rockPos, Hold(rock)), 1);
    auto* creature = Make<Creature>();
    ObjectHolder* h = Hold(creature);
    Position pos(15990, 100);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    EXPECT_EQ(pos.x, 0);  // two pushes reach 16000, wrapped to 0, past the rock
    EXPECT_EQ(h->pos.x, 0);
    EXPECT_TRUE(map.GetCell(30, 20).holders.Find(h));
}

TEST_F(MapPlacement, RefusedMoveLeavesTheHolderWhereItStood) {
    auto* thing = Make<Object>();
    ObjectHolder* h = Hold(thing);
    Position pos = At(20, 20);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    map.GetCell(11, 10).terrain = 7;  // world cell (21, 20) is solid
    EXPECT_EQ(map.MoveHolder(h->pos, At(21, 20), h), 0);
    EXPECT_EQ(h->pos, At(20, 20));
    EXPECT_TRUE(map.GetCell(10, 10).holders.Find(h));
    EXPECT_EQ(CountListings(h), 1);
    // A move that is allowed lands and wraps.
    EXPECT_EQ(map.MoveHolder(h->pos, At(20, 21, 80, 60), h), 1);
    EXPECT_EQ(h->pos, At(20, 21, 80, 60));
    EXPECT_EQ(CountListings(h), 1);
    EXPECT_TRUE(map.GetCell(10, 11).holders.Find(h));
    // A creature moved onto the solid cell is pushed east until it fits.
    auto* creature = Make<Creature>();
    ObjectHolder* hc = Hold(creature);
    Position pc = At(20, 22);
    ASSERT_EQ(map.AddHolder(pc, hc), 1);
    EXPECT_EQ(map.MoveHolder(hc->pos, At(21, 20, 0, 56), hc), 1);
    EXPECT_EQ(hc->pos, At(22, 20, 0, 56));
}

TEST_F(MapPlacement, WallsSnapToTheirEdgesAndFillTheEdgeSlots) {
    auto* front = Make<FrontWall>();
    auto* side = Make<SideWall>();
    auto* peg = Make<Peg>();
    auto* tile = Make<Tile>();
    ObjectHolder* hf = Hold(front);
    ObjectHolder* hs = Hold(side);
    ObjectHolder* hp = Hold(peg);
    ObjectHolder* ht = Hold(tile);
    Position pf = At(20, 20, 33, 77);
    Position ps = At(20, 20, 33, 77);
    Position pp = At(20, 20, 33, 77);
    Position pt = At(20, 20, 33, 77);
    ASSERT_EQ(map.AddHolder(pf, hf), 1);
    ASSERT_EQ(map.AddHolder(ps, hs), 1);
    ASSERT_EQ(map.AddHolder(pp, hp), 1);
    ASSERT_EQ(map.AddHolder(pt, ht), 1);
    EXPECT_EQ(pf, At(20, 20, 80, 0));
    EXPECT_EQ(ps, At(20, 20, 0, 56));
    EXPECT_EQ(pp, At(20, 20, 0, 0));
    EXPECT_EQ(pt, Position(20 * 160, 20 * 112, 45));
    MapCell& cell = map.GetCell(10, 10);
    EXPECT_EQ(cell.northwall, hf);
    EXPECT_EQ(cell.westwall, hs);
    EXPECT_EQ(cell.corner, hp);
    EXPECT_EQ(cell.GetEdgeList(1), hf);
    EXPECT_EQ(cell.GetEdgeList(4), nullptr);

    // A second piece on the same edge takes the slot; removing the first keeps it.
    auto* other = Make<FrontWall>();
    ObjectHolder* ho = Hold(other);
    Position po = At(20, 20);
    ASSERT_EQ(map.AddHolder(po, ho), 1);
    EXPECT_EQ(cell.northwall, ho);
    map.RemoveHolder(hf->pos, hf);
    EXPECT_EQ(cell.northwall, ho);
    map.RemoveHolder(ho->pos, ho);
    EXPECT_EQ(cell.northwall, nullptr);

    // Removed through a position in another cell, a wall still leaves the
    // edge it stood on: nothing blocks there any more.
    auto* wall = Make<FrontWall>();
    ObjectHolder* hw = Hold(wall);
    Position pw = At(20, 20);
    ASSERT_EQ(map.AddHolder(pw, hw), 1);
    EXPECT_EQ(map.IsEdgeBlocked(10, 10, 3, 0, 0), 1);
    EXPECT_EQ(map.RemoveHolder(At(25, 25), hw), 1);
    EXPECT_EQ(cell.northwall, nullptr);
    EXPECT_EQ(map.IsEdgeBlocked(10, 10, 3, 0, 0), 0);
    EXPECT_FALSE(map.IsListedAnywhere(hw));
}

TEST(MapOwnership, TheMapDeletesWhatIsStillPlacedOnceWithItsObject) {
    auto image = SolidImage(80, 60, 40, 30);
    {
        MapMaster map;
        map.SetWorldSize(100, 80);
        map.SetOrigin({70, 60});
        // An image across four cells and a point object; both left on the map.
        auto* thing = new Thing(image.get());
        Position p1(0, 0);
        ASSERT_EQ(map.AddHolder(p1, new ObjectHolder(p1, thing)), 1);
        auto* obj = new Object();
        Position p2(500, 500);
        ASSERT_EQ(map.AddHolder(p2, new ObjectHolder(p2, obj)), 1);
    }  // the sanitizers report a double delete or a leak
}

TEST(MapOwnership, ResettingACellDeletesItsRandomSceneryButNotThePrototypes) {
    MapCell cell;
    Object prototype;
    prototype.m_bMoveable = 2;
    auto* own = new Object();  // a transient that belongs to the cell
    auto* standing = new ObjectHolder(Position(10, 10), &prototype);
    auto* ownHolder = new ObjectHolder(Position(20, 20), own);
    auto* flat = new ObjectHolder(Position(30, 30), &prototype);
    cell.transients.Append(standing);
    cell.transients.Append(ownHolder);
    cell.holders.Append(standing);
    cell.holders.Append(ownHolder);
    cell.decals.Append(flat);
    cell.Reset();
    EXPECT_TRUE(cell.transients.IsEmpty());
    EXPECT_TRUE(cell.decals.IsEmpty());
    EXPECT_TRUE(cell.holders.IsEmpty());
    EXPECT_EQ(prototype.m_pHolder, nullptr);
}

TEST(MapOwnership, HolderListsKeepOrderAndNeverOwn) {
    ObjectHolder a, b, c;
    ObjectHolderList list;
    list.Append(&a);
    list.Append(&b);
    EXPECT_TRUE(list.Find(&b));
    EXPECT_FALSE(list.Find(&c));
    ObjectHolderList copy;
    copy.Copy(list);
    copy.Copy(copy);
    EXPECT_EQ(copy.Count(), 2u);
    EXPECT_TRUE(list.Remove(&a));
    EXPECT_FALSE(list.Remove(&a));
    EXPECT_EQ(list[0], &b);
    EXPECT_EQ(copy[0], &a);
}

TEST(MapOwnership, HolderListsOfAnyLengthCopyAndMoveWhole) {
    std::vector<std::unique_ptr<ObjectHolder>> made;
    for (int k = 0; k < 13; ++k) made.push_back(std::make_unique<ObjectHolder>());
    auto holders = [](const ObjectHolderList& l) {
        return std::vector<ObjectHolder*>(l.begin(), l.end());
    };
    for (size_t n : {0u, 1u, 5u, 6u, 7u, 12u, 13u}) {
        ObjectHolderList list;
        std::vector<ObjectHolder*> want;
        for (size_t k = 0; k < n; ++k) {
            list.Append(made[k].get());
            want.push_back(made[k].get());
        }
        EXPECT_EQ(holders(list), want) << n;
        ObjectHolderList copy(list);
        ObjectHolderList assigned;
        assigned.Append(made[12].get());
        assigned = list;
        EXPECT_EQ(holders(copy), want) << n;
        EXPECT_EQ(holders(assigned), want) << n;
        ObjectHolderList moved(std::move(copy));
        EXPECT_EQ(holders(moved), want) << n;
        EXPECT_TRUE(copy.IsEmpty()) << n;  // NOLINT: a moved-from list is empty
        ObjectHolderList moveAssigned;
        moveAssigned = std::move(moved);
        EXPECT_EQ(holders(moveAssigned), want) << n;
        // Taken out from the front, each list keeps the rest in order, and
        // the copies are left as they were.
        for (size_t k = 0; k < n; ++k) {
            EXPECT_TRUE(list.Remove(made[k].get()));
            EXPECT_EQ(holders(list),
                      std::vector<ObjectHolder*>(want.begin() + long(k) + 1, want.end()));
        }
        EXPECT_EQ(holders(assigned), want) << n;
        EXPECT_EQ(holders(moveAssigned), want) << n;
        // Emptied, it fills again.
        list.Append(made[0].get());
        EXPECT_EQ(holders(list), std::vector<ObjectHolder*>{made[0].get()});
    }
}

// ---- exploring and the mini-map --------------------------------------------

class MapExploring : public MapFixture {};

TEST_F(MapExploring, MarksTheCellsAroundTheFocusInClearSight) {
    map.focuscell = {30, 30};  // window cell (20, 20)
    map.GetCell(20, 20).imagetype = 3;
    map.GetCell(22, 20).imagetype = 13;
    // A plain wall on the east edge of the focus cell.
    auto* wall = Make<SideWall>();
    Position pw = At(31, 30);
    ASSERT_EQ(map.AddHolder(pw, Hold(wall)), 1);
    map.ExploreAroundFocus();
    EXPECT_TRUE(map.IsExplored({30, 30}));
    EXPECT_TRUE(map.IsExplored({28, 28}));
    EXPECT_FALSE(map.IsExplored({31, 30}));
    EXPECT_FALSE(map.IsExplored({32, 30}));
    EXPECT_FALSE(map.IsExplored({27, 30}));
    // Mini-map: 2 x 2 pixels per window cell, the picture's colour when explored.
    EXPECT_EQ(map.GetMinimapPixel(40, 40), 38);
    EXPECT_EQ(map.GetMinimapPixel(41, 41), 38);
    EXPECT_EQ(map.GetMinimapPixel(38, 40), 92);
    map.SetExplored({32, 30});
    map.PlotMinimapCell(22, 20, -1, 1);
    EXPECT_EQ(map.GetMinimapPixel(45, 40), 255);
    EXPECT_EQ(map.GetMinimapPixel(44, 40), 0);
    // Unexplored cells show colour 0 whatever their picture.
    map.FillMinimap(4);
    map.PlotMinimapCell(25, 25, -1, 4);
    EXPECT_EQ(map.GetMinimapPixel(50, 50), 0);
}

TEST_F(MapExploring, PlotOutsideTheWindowIsReportedAndSkipped) {
    qv::ScriptedMessages answers({qv::MessageAnswer::Retry});
    map.FillMinimap(7);
    map.PlotMinimapCell(51, 0, 5, 4);
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_NE(answers.shown[0].find("dx >= 0 && dx < wide && dy >=0 && dy < high"),
              std::string::npos);
    for (int x = 0; x < MapMaster::MinimapWidth; ++x) EXPECT_EQ(map.GetMinimapPixel(x, 0), 7);
}

TEST_F(MapExploring, FocusEdgeMarginsAreNotSymmetric) {
    map.focuscell = {35, 34};  // window offsets (25, 24)
    EXPECT_EQ(map.CheckFocusEdge(At(35, 34)), 1);
    EXPECT_EQ(map.CheckFocusEdge(At(17, 34)), 1);   // x offset 7
    EXPECT_EQ(map.CheckFocusEdge(At(16, 34)), -3);  // x offset 6
    EXPECT_EQ(map.CheckFocusEdge(At(52, 34)), 1);   // x offset 42
    EXPECT_EQ(map.CheckFocusEdge(At(53, 34)), -3);  // x offset 43
    EXPECT_EQ(map.CheckFocusEdge(At(35, 16)), 1);   // y offset 6
    EXPECT_EQ(map.CheckFocusEdge(At(35, 15)), -3);  // y offset 5
    EXPECT_EQ(map.CheckFocusEdge(At(35, 52)), 1);   // y offset 42
    EXPECT_EQ(map.CheckFocusEdge(At(35, 53)), -3);  // y offset 43
}

}  // namespace
