// Movement and sight: standing tests against terrain, pictures and creatures;
// steps across cell edges with walls and doors; lines of sight.

#include <chrono>
#include <cstdlib>
#include <utility>
#include <vector>

#include "MapFixture.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/World.h"

using namespace maptest;

namespace {

class MapStanding : public MapFixture {};

TEST_F(MapStanding, TerrainDecidesWhoMayStand) {
    map.GetCell(10, 10).terrain = 3;  // water at world cell (20, 20)
    map.GetCell(11, 10).terrain = 7;
    map.GetCell(12, 10).terrain = 8;
    map.GetCell(13, 10).terrain = 14;
    map.GetCell(14, 10).terrain = 10;
    Object walker;  // move mode 1
    Object swimmer;
    swimmer.m_iMoveMode = 2;
    Object flier;
    flier.m_iMoveMode = 3;
    ObjectHolder* mapBlocks = map.GetBlocker();
    EXPECT_EQ(map.CheckMove(&walker, At(20, 20), nullptr, 1, 0), mapBlocks);
    EXPECT_EQ(map.CheckMove(&swimmer, At(20, 20), nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&flier, At(20, 20), nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&swimmer, At(25, 20), nullptr, 1, 0), mapBlocks);
    EXPECT_EQ(map.CheckMove(&flier, At(25, 20), nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(nullptr, At(20, 20), nullptr, 1, 0), nullptr);
    for (int cx : {21, 22, 23})
        EXPECT_EQ(map.CheckMove(&flier, At(cx, 20), nullptr, 1, 0), mapBlocks);
    EXPECT_EQ(map.CheckMove(&walker, At(24, 20), nullptr, 1, 0), nullptr);
    // Outside the window the map blocks, whatever the mover.
    EXPECT_EQ(map.CheckMove(nullptr, At(61, 20), nullptr, 1, 0), mapBlocks);
}

TEST_F(MapStanding, PicturesBlockByTheirPixels) {
    // Left half transparent, right half solid; a snare row at the bottom.
    auto image = MakeImage(20, 20, 10, 10, [](int x, int y) -> uint8_t {
        if (y == 19) return kSnare;
        return x < 10 ? 0 : kSolid;
    });
    auto* thing = Make<Thing>(image.get());
    ObjectHolder* h = Hold(thing);
    Position pos = At(20, 20);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    Object walker;
    Object crawler;
    crawler.m_iMoveMode = 4;
    EXPECT_EQ(map.CheckMove(&walker, {pos.x - 5, pos.y}, nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&walker, {pos.x + 5, pos.y}, nullptr, 1, 0), h);
    EXPECT_EQ(map.CheckMove(&walker, {pos.x - 5, pos.y + 9}, nullptr, 1, 0), h);
    EXPECT_EQ(map.CheckMove(&crawler, {pos.x - 5, pos.y + 9}, nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(nullptr, {pos.x - 5, pos.y + 9}, nullptr, 1, 0), nullptr);
    // An ignored object never blocks; neither does a mover its own picture.
    ObjectIgnoreList ignore{thing};
    EXPECT_EQ(map.CheckMove(&walker, {pos.x + 5, pos.y}, &ignore, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(thing, {pos.x + 5, pos.y}, nullptr, 1, 0), nullptr);
}

TEST_F(MapStanding, WalkThroughWallsAreSkipped) {
    auto image = SolidImage(40, 40, 20, 20);
    auto* pw = Make<Pictured<FrontWall>>();
    pw->image = image.get();
    Position pos = At(20, 20);
    ObjectHolder* h = Hold(pw);
    ASSERT_EQ(map.AddHolder(pos, h), 1);  // snapped to (x + 80, y)
    Object walker;
    EXPECT_EQ(map.CheckMove(&walker, {pos.x + 5, pos.y + 5}, nullptr, 1, 0), h);
    pw->m_bWalkThrough = 1;
    EXPECT_EQ(map.CheckMove(&walker, {pos.x + 5, pos.y + 5}, nullptr, 1, 0), nullptr);
}

TEST_F(MapStanding, DecksCarryOverWater) {
    map.GetCell(10, 10).terrain = 3;
    auto deckImage = MakeImage(100, 60, 50, 30, [](int, int) { return kDeck; });
    auto* raft = Make<Pictured<Traversable>>();
    raft->image = deckImage.get();
    ObjectHolder* hr = Hold(raft);
    Position rp = At(20, 20);
    ASSERT_EQ(map.AddHolder(rp, hr), 1);
    Object walker;
    // Nothing blocks; the caller that keeps no carrier learns what carries it.
    EXPECT_EQ(map.CheckMove(&walker, rp, nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&walker, rp, nullptr, 0, 0), hr);
    // A platform's deck blocks another platform.
    EXPECT_EQ(map.CheckMove(&walker, rp, nullptr, 1, 1), hr);
    // Off the deck, in the water, the walker is stranded.
    EXPECT_EQ(map.CheckMove(&walker, At(20, 20, 150, 100), nullptr, 1, 0), map.GetBlocker());
    // Against the platform's own list there is no terrain.
    ObjectHolderList list;
    list.Append(hr);
    EXPECT_EQ(map.CheckMoveInList(&walker, rp, nullptr, 0, list), hr);
    EXPECT_EQ(map.CheckMoveInList(&walker, rp, nullptr, 1, list), nullptr);
}

TEST_F(MapStanding, APlatformCollectsWhatStandsOnItsDeck) {
    // Deck on the left half of the picture, rail (solid) on the right.
    auto deckImage = MakeImage(100, 60, 50, 30, [](int x, int) { return x < 50 ? kDeck : kSolid; });
    auto* raft = Make<Pictured<Ship>>();
    raft->image = deckImage.get();
    ObjectHolder* hr = Hold(raft);
    Position rp = At(20, 20);
    ASSERT_EQ(map.AddHolder(rp, hr), 1);
    auto* mast = Make<Mast>();
    Position pm(rp.x - 10, rp.y + 5);
    ASSERT_EQ(map.AddHolder(pm, Hold(mast)), 1);
    auto* aboard = Make<Object>();
    ObjectHolder* ha = Hold(aboard);
    Position pa(rp.x - 20, rp.y);
    ASSERT_EQ(map.AddHolder(pa, ha), 1);
    auto* ashore = Make<Object>();
    ObjectHolder* hs = Hold(ashore);
    Position ps(rp.x - 70, rp.y);  // in the cell, off the picture
    ASSERT_EQ(map.AddHolder(ps, hs), 1);
    raft->CollectCarriedObjects();
    ASSERT_EQ(raft->GetCarried().Count(), 2u);
    EXPECT_TRUE(raft->GetCarried().Find(ha));
    EXPECT_FALSE(raft->GetCarried().Find(hs));
    // The mast on its deck now moves with the ship.
    EXPECT_FALSE(mast->IsVesselMoving());
    raft->m_bMoving = 1;
    EXPECT_TRUE(mast->IsVesselMoving());
}

TEST_F(MapStanding, CreaturesKeepTheirDistance) {
    auto* still = Make<Creature>(20);
    ObjectHolder* hs = Hold(still);
    Position ps = At(20, 20);
    ASSERT_EQ(map.AddHolder(ps, hs), 1);
    Creature mover(20);
    // 30 pixels apart vertically: 450 < (20 + 20)^2.
    EXPECT_EQ(map.CheckMove(&mover, {ps.x, ps.y + 30}, nullptr, 1, 0), hs);
    // 45 pixels apart across: 2025 >= 1600.
    EXPECT_EQ(map.CheckMove(&mover, {ps.x + 45, ps.y}, nullptr, 1, 0), nullptr);
    // Doubled toward the mover's attack target: 2025 < 6400.
    mover.m_target = still;
    EXPECT_EQ(map.CheckMove(&mover, {ps.x + 45, ps.y}, nullptr, 1, 0), hs);
    mover.m_target = nullptr;
    // A party member may come within a pixel.
    mover.m_partySlot = 2;
    EXPECT_EQ(map.CheckMove(&mover, {ps.x + 1, ps.y}, nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&mover, ps, nullptr, 1, 0), hs);
    mover.m_partySlot = 0;
    // Without a creature mover: below 2 x 20^2 = 800.
    EXPECT_EQ(map.CheckMove(nullptr, {ps.x, ps.y + 30}, nullptr, 1, 0), hs);
    EXPECT_EQ(map.CheckMove(nullptr, {ps.x + 30, ps.y}, nullptr, 1, 0), nullptr);
    // Its own holder never blocks a creature; the dead never block.
    EXPECT_EQ(map.CheckMove(still, ps, nullptr, 1, 0), nullptr);
    still->m_hp = 0;
    EXPECT_EQ(map.CheckMove(&mover, ps, nullptr, 1, 0), nullptr);
    // Something of type 3 that is no creature never blocks by spacing,
    // asked about in turn with creatures of two classes.
    struct Other : Creature {
        using Creature::Creature;
    };
    auto* shape = Make<Thing>(nullptr, PLAYER, 0);
    auto* other = Make<Other>(10);
    Position pt = At(25, 20), po = At(30, 20);
    ASSERT_EQ(map.AddHolder(pt, Hold(shape)), 1);
    ObjectHolder* ho = Hold(other);
    ASSERT_EQ(map.AddHolder(po, ho), 1);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(map.CheckMove(&mover, pt, nullptr, 1, 0), nullptr);
        EXPECT_EQ(map.CheckMove(&mover, {po.x + 29, po.y}, nullptr, 1, 0), ho);  // < 30^2
        EXPECT_EQ(map.CheckMove(&mover, {po.x + 30, po.y}, nullptr, 1, 0), nullptr);
    }
}

TEST_F(MapStanding, ACrowdedCellAnswersEverySpacingByTheRule) {
    // Nine creatures of radius 3 in a row 10 pixels apart across world cell
    // (20, 20); a mover of radius 3 is blocked below (3 + 3)^2 = 36 of the
    // nearest, below 4 x 36 = 144 of its attack target, and a party member
    // only on the very spot.
    std::vector<Creature*> crowd;
    std::vector<ObjectHolder*> hs;
    for (int k = 0; k < 9; ++k) {
        crowd.push_back(Make<Creature>(3));
        hs.push_back(Hold(crowd.back()));
        Position p = At(20, 20, 20 + 10 * k, 50);
        ASSERT_EQ(map.AddHolder(p, hs.back()), 1);
    }
    ASSERT_EQ(WindowCellAt(At(20, 20)).holders.Count(), 9u);
    Creature mover(3);
    const Position p8 = hs[8]->pos;
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 5, p8.y}, nullptr, 1, 0), hs[8]);    // 25
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 6, p8.y}, nullptr, 1, 0), nullptr);  // 36
    EXPECT_EQ(map.CheckMove(&mover, {p8.x, p8.y + 8}, nullptr, 1, 0), hs[8]);    // 64 / 2
    EXPECT_EQ(map.CheckMove(&mover, {p8.x, p8.y + 9}, nullptr, 1, 0), nullptr);  // 81 / 2
    mover.m_target = crowd[8];
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 11, p8.y}, nullptr, 1, 0), hs[8]);    // 121
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 12, p8.y}, nullptr, 1, 0), nullptr);  // 144
    // Near the party the target makes no difference: within a pixel only.
    mover.m_partySlot = 1;
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 5, p8.y}, nullptr, 1, 0), nullptr);
    EXPECT_EQ(map.CheckMove(&mover, {p8.x, p8.y + 1}, nullptr, 1, 0), hs[8]);  // 1 / 2
    mover.m_partySlot = 0;
    mover.m_target = nullptr;
    // Halfway between two, 5 pixels from each: the first listed answers.
    EXPECT_EQ(map.CheckMove(&mover, {hs[3]->pos.x + 5, p8.y}, nullptr, 1, 0), hs[3]);
    crowd[3]->m_hp = 0;
    EXPECT_EQ(map.CheckMove(&mover, {hs[3]->pos.x + 5, p8.y}, nullptr, 1, 0), hs[4]);
    // Without a creature mover: below 2 x 3^2 = 18.
    EXPECT_EQ(map.CheckMove(nullptr, {p8.x + 4, p8.y}, nullptr, 1, 0), hs[8]);    // 16
    EXPECT_EQ(map.CheckMove(nullptr, {p8.x + 5, p8.y}, nullptr, 1, 0), nullptr);  // 25
    // A listed holder given another creature answers for that one: radius
    // 20 blocks at 10 pixels (100 < 23^2), then a plain object not at all.
    auto* big = Make<Creature>(20);
    Object* kept = hs[8]->m_pObject;
    hs[8]->m_pObject = big;
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 10, p8.y}, nullptr, 1, 0), hs[8]);
    auto* plain = Make<Object>();
    hs[8]->m_pObject = plain;
    EXPECT_EQ(map.CheckMove(&mover, {p8.x + 1, p8.y}, nullptr, 1, 0), nullptr);
    hs[8]->m_pObject = kept;
    // A radius is the creature's as it is now: one widened after placing
    // blocks farther off (10 pixels: 100 < 23^2), and a very wide one, 70
    // pixels off: 4900 < (40000 + 3)^2.
    crowd[7]->m_radius = 20;
    EXPECT_EQ(map.CheckMove(&mover, {hs[7]->pos.x, hs[7]->pos.y + 14}, nullptr, 1, 0), hs[7]);
    crowd[7]->m_radius = 3;
    auto* huge = Make<Creature>(40000);
    ObjectHolder* hh = Hold(huge);
    Position ph = At(22, 20);
    ASSERT_EQ(map.AddHolder(ph, hh), 1);
    EXPECT_EQ(map.CheckMove(&mover, {ph.x + 70, ph.y}, nullptr, 1, 0), hh);
    EXPECT_EQ(map.CheckMove(nullptr, {ph.x + 70, ph.y}, nullptr, 1, 0), hh);
}

// ---- edges, steps and sight ------------------------------------------------

class MapEdges : public MapFixture {
protected:
    // A door or wall piece on an edge of window cell (i, j): a FrontWall on
    // its north edge, a SideWall on its west edge.
    template <class W>
    W* Piece(int i, int j, int key, int state) {
        auto* w = Make<W>();
        w->m_iItemNum = key;
        w->m_iState = state;
        Position p = At(i + 10, j + 10);
        EXPECT_EQ(map.AddHolder(p, Hold(w)), 1);
        return w;
    }
    FrontWall* NorthPiece(int i, int j, int key, int state) {
        return Piece<FrontWall>(i, j, key, state);
    }
    SideWall* WestPiece(int i, int j, int key, int state) {
        return Piece<SideWall>(i, j, key, state);
    }
};

TEST_F(MapEdges, DoorStatesAndFlags) {
    struct Case {
        int key, state, walk, see, locked;
        int move, moveDoorsOpen, sight;
    };
    const Case cases[] = {
        {-1, 1, 0, 0, 0, 1, 1, 1},  // a plain wall blocks whatever its state
        {5, 0, 0, 0, 0, 0, 0, 0},   // open doors
        {5, 1, 0, 0, 0, 0, 0, 0},
        {5, 2, 0, 0, 0, 1, 0, 1},   // closed, not locked: opens for a path finder
        {5, 2, 0, 0, 1, 1, 1, 1},   // closed and locked
        {5, 3, 0, 0, 0, 1, 1, 1},   // any other state blocks
        {-1, 1, 1, 0, 0, 0, 0, 1},  // walk-through: movement passes, sight does not
        {-1, 1, 0, 1, 0, 1, 1, 0},  // see-through: sight passes, movement does not
    };
    int column = 2;
    for (const Case& c : cases) {
        FrontWall* w = NorthPiece(column, 5, c.key, c.state);
        w->m_bWalkThrough = c.walk;
        w->m_bSeeThrough = c.see;
        w->m_bLocked = c.locked;
        SCOPED_TRACE(column);
        // North of (column, 5) and, the same edge, south of (column, 4).
        EXPECT_EQ(map.IsEdgeBlocked(column, 5, 3, 0, 0), c.move);
        EXPECT_EQ(map.IsEdgeBlocked(column, 4, 1, 0, 0), c.move);
        EXPECT_EQ(map.IsEdgeBlocked(column, 5, 3, 0, 1), c.moveDoorsOpen);
        EXPECT_EQ(map.IsEdgeBlocked(column, 5, 3, 1, 0), c.sight);
        EXPECT_EQ(map.IsLineClear(column, 4, 0, 1), 1 - c.sight);
        EXPECT_EQ(map.IsStepBlocked({column + 10, 14}, {column + 10, 15}, 0), c.move);
        EXPECT_EQ(map.IsStepBlocked({column + 10, 15}, {column + 10, 14}, 1), c.moveDoorsOpen);
        column += 2;
    }
}

TEST_F(MapEdges, WestEdgesAndDirections) {
    WestPiece(5, 5, -1, 1);
    EXPECT_EQ(map.IsEdgeBlocked(5, 5, 2, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(4, 5, 0, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(5, 5, 0, 0, 0), 0);
    EXPECT_EQ(map.IsEdgeBlocked(5, 5, 3, 0, 0), 0);
    EXPECT_EQ(map.IsEdgeBlocked(5, 5, 7, 0, 0), 0);
    // A diagonal step is judged by its horizontal part only.
    EXPECT_EQ(map.IsStepBlocked({15, 16}, {14, 15}, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {14, 16}, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({14, 16}, {15, 15}, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {15, 16}, 0), 0);
}

TEST_F(MapEdges, TheWindowsLastRowAndColumnBlock) {
    EXPECT_EQ(map.IsEdgeBlocked(50, 10, 0, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(10, 47, 1, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(50, 47, 2, 0, 0), 0);
    EXPECT_EQ(map.IsEdgeBlocked(-1, 5, 2, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(5, 48, 3, 0, 0), 1);
    EXPECT_EQ(map.IsLineClear(49, 10, 1, 0), 1);
    EXPECT_EQ(map.IsLineClear(49, 10, 3, 0), 0);
    EXPECT_EQ(map.IsLineClear(10, 46, 0, 2), 0);
    EXPECT_EQ(map.IsLineClear(1, 1, -3, -3), 0);
    EXPECT_EQ(map.IsStepBlocked({60, 20}, {61, 20}, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({59, 57}, {60, 57}, 0), 0);
}

TEST_F(MapEdges, DoorsInTheWindowsLastRowAndColumn) {
    // A door on the north edge of the last row and one on the west edge of
    // the last column: the edges inside the window follow the door.
    FrontWall* south = NorthPiece(10, 47, 5, 0);
    SideWall* east = WestPiece(50, 10, 5, 0);
    EXPECT_EQ(map.IsEdgeBlocked(10, 46, 1, 0, 0), 0);
    EXPECT_EQ(map.IsEdgeBlocked(49, 10, 0, 0, 0), 0);
    EXPECT_EQ(map.IsLineClear(10, 45, 0, 2), 1);
    EXPECT_EQ(map.IsLineClear(48, 10, 2, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({20, 56}, {20, 57}, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({60, 20}, {59, 20}, 0), 0);
    for (auto* door : {static_cast<Wall*>(south), static_cast<Wall*>(east)}) {
        door->m_iState = 2;
        door->m_bLocked = 0;
    }
    EXPECT_EQ(map.IsEdgeBlocked(10, 46, 1, 0, 0), 1);
    EXPECT_EQ(map.IsEdgeBlocked(10, 46, 1, 0, 1), 0);
    EXPECT_EQ(map.IsEdgeBlocked(49, 10, 0, 0, 1), 0);
    EXPECT_EQ(map.IsLineClear(48, 10, 2, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({59, 20}, {60, 20}, 1), 0);
    east->m_bLocked = 1;
    EXPECT_EQ(map.IsEdgeBlocked(49, 10, 0, 0, 1), 1);
    EXPECT_EQ(map.IsStepBlocked({59, 20}, {60, 20}, 1), 1);
    east->m_bSeeThrough = 1;
    EXPECT_EQ(map.IsLineClear(48, 10, 2, 0), 1);
    // Beyond the last row and column the window ends: blocked, door or not.
    EXPECT_EQ(map.IsEdgeBlocked(50, 10, 0, 1, 1), 1);
    EXPECT_EQ(map.IsEdgeBlocked(10, 47, 1, 1, 1), 1);
    EXPECT_EQ(map.IsStepBlocked({60, 20}, {61, 20}, 1), 1);
}

TEST_F(MapEdges, TerrainOfTheSourceCell) {
    map.GetCell(5, 5).terrain = 10;
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {16, 15}, 0), 1);  // out of a terrain-10 cell
    EXPECT_EQ(map.IsStepBlocked({16, 15}, {15, 15}, 0), 0);  // into one
    map.GetCell(5, 5).terrain = 7;
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {16, 15}, 0), 1);
    // Solid terrain stops sight from the cell, not into it.
    EXPECT_EQ(map.IsLineClear(5, 5, 1, 0), 0);
    EXPECT_EQ(map.IsLineClear(4, 5, 1, 0), 1);
    EXPECT_EQ(map.IsLineClear(4, 5, 2, 0), 0);
}

TEST_F(MapEdges, LeavingWaterNeedsADrawbridgeThatCarriesTheStep) {
    map.GetCell(5, 5).terrain = 3;
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {16, 15}, 0), 1);
    auto* bridge = Make<DrawBridge>(1);  // carries steps east and west
    Position p = At(15, 15);
    ASSERT_EQ(map.AddHolder(p, Hold(bridge)), 1);
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {16, 15}, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {14, 15}, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {15, 16}, 0), 1);
    bridge->m_bRaised = 1;
    EXPECT_EQ(map.IsStepBlocked({15, 15}, {16, 15}, 0), 1);
}

TEST_F(MapEdges, StepsAcrossTheWorldsSeam) {
    map.SetOrigin({70, 60});
    // A wall on the west edge of world cell (0, 65): between (99, 65) and (0, 65).
    auto* w = Make<SideWall>();
    Position p = At(0, 65);
    ASSERT_EQ(map.AddHolder(p, Hold(w)), 1);
    EXPECT_EQ(map.IsStepBlocked({0, 65}, {99, 65}, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({99, 65}, {0, 65}, 0), 1);
    EXPECT_EQ(map.IsStepBlocked({99, 65}, {98, 65}, 0), 0);
    EXPECT_EQ(map.IsStepBlocked({0, 65}, {1, 65}, 0), 0);
}

TEST_F(MapEdges, ADiagonalLineTakesEitherStair) {
    // From (10, 10) to (11, 11): east then south, or south then east.
    EXPECT_EQ(map.IsLineClear(10, 10, 1, 1), 1);
    WestPiece(11, 10, -1, 1);  // blocks the east-first stair
    EXPECT_EQ(map.IsLineClear(10, 10, 1, 1), 1);
    NorthPiece(10, 11, -1, 1);  // and now the south-first stair
    EXPECT_EQ(map.IsLineClear(10, 10, 1, 1), 0);
    // Longer lines: two across and one down.
    EXPECT_EQ(map.IsLineClear(20, 20, 2, 1), 1);
    WestPiece(22, 20, -1, 1);
    WestPiece(22, 21, -1, 1);
    EXPECT_EQ(map.IsLineClear(20, 20, 2, 1), 0);
    EXPECT_EQ(map.IsLineClear(20, 20, 0, 0), 1);
}

// The sight rule walked literally: straight runs step by step; a diagonal
// tries the horizontal-first stair, else one step down and on.
int LiteralLineClear(const MapMaster& map, int x, int y, int dx, int dy) {
    for (;;) {
        if (std::abs(dx) < std::abs(dy)) {
            if (map.IsEdgeBlocked(x, y, dy < 0 ? 3 : 1, 1, 0)) return 0;
            if (dy == -1 || dy == 1) return 1;
            y += dy < 0 ? -1 : 1;
            dy -= dy < 0 ? -1 : 1;
        } else if (std::abs(dx) > std::abs(dy)) {
            if (map.IsEdgeBlocked(x, y, dx < 0 ? 2 : 0, 1, 0)) return 0;
            if (dx == -1 || dx == 1) return 1;
            x += dx < 0 ? -1 : 1;
            dx -= dx < 0 ? -1 : 1;
        } else {
            if (dx == 0) return 1;
            const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
            if (LiteralLineClear(map, x, y, sx, 0) && LiteralLineClear(map, x + sx, y, dx - sx, dy))
                return 1;
            if (!LiteralLineClear(map, x, y, 0, sy)) return 0;
            y += sy;
            dy -= sy;
        }
    }
}

TEST_F(MapEdges, SightLinesAnswerAsTheRuleWalkedStepByStep) {
    // Walls, a door and solid ground scattered over a corner of the window.
    for (int i = 2; i < 20; ++i)
        for (int j = 2; j < 20; ++j) {
            if ((i * 7 + j * 3) % 11 == 0) NorthPiece(i, j, -1, 1);
            if ((i * 5 + j * 13) % 9 == 0) WestPiece(i, j, i % 2 ? 3 : -1, 2);
        }
    map.GetCell(9, 9).terrain = 8;
    map.GetCell(13, 6).terrain = 7;
    int clear = 0;
    for (auto [x, y] : {std::pair{10, 10}, {8, 12}, {13, 7}})
        for (int dx = -7; dx <= 7; ++dx)
            for (int dy = -7; dy <= 7; ++dy) {
                const int expected = LiteralLineClear(map, x, y, dx, dy);
                ASSERT_EQ(map.IsLineClear(x, y, dx, dy), expected)
                    << x << "," << y << " by " << dx << "," << dy;
                clear += expected;
            }
    // Both answers occur often enough for the comparison to mean something.
    EXPECT_GT(clear, 100);
    EXPECT_LT(clear, 3 * 15 * 15 - 100);
}

TEST_F(MapEdges, ALongDiagonalBlockedAtItsEndIsAnsweredAtOnce) {
    // The destination cell is walled on its west and north: every stair
    // toward it fails at its last step.
    WestPiece(44, 44, -1, 1);
    NorthPiece(44, 44, -1, 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(map.IsLineClear(2, 2, 42, 42), 0);
    EXPECT_EQ(map.IsLineClear(2, 4, 42, 40), 0);
    EXPECT_EQ(map.IsLineClear(2, 2, 41, 41), 1);
    // Offsets far beyond the window: blocked at the window's edge.
    EXPECT_EQ(map.IsLineClear(25, 24, 1000000, -1000000), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(500));
}

}  // namespace
