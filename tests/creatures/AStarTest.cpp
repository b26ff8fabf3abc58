// The path finder on small maps drawn in the test: '#' is solid ground, 'S'
// the start, 'G' the goal, everything else open. Expected walks were worked
// out by hand from the search's rules (neighbour order, open-list ties).

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "creatures/AStar.h"
#include "platform/Rand.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/Group.h"
#include "world/MapFixture.h"

namespace {

using maptest::MapFixture;
using Walk = std::vector<qv::Point>;

class AStarTest : public MapFixture {
protected:
    explicit AStarTest(CellPoint origin = {10, 10}) : MapFixture(origin) {}

    // Draws the rows with their top-left corner at window cell `at`; start
    // and goal come back as world cells.
    void Draw(const std::vector<std::string>& rows, CellPoint at = {5, 5}) {
        for (size_t j = 0; j < rows.size(); ++j)
            for (size_t i = 0; i < rows[j].size(); ++i) {
                const int wi = at.x + static_cast<int>(i);
                const int wj = at.y + static_cast<int>(j);
                const char c = rows[j][i];
                map.GetCell(wi, wj).terrain = c == '#' ? 7 : 0;
                if (c == 'S') start = World(wi, wj);
                if (c == 'G') goal = World(wi, wj);
            }
        drawnAt = at;
    }
    // The world cell of window cell (i, j).
    qv::Point World(int i, int j) const {
        qv::Point c{map.origin.x + i, map.origin.y + j};
        map.WrapCell(c);
        return c;
    }
    // A cell of the drawing, as a world cell.
    qv::Point D(int i, int j) const { return World(drawnAt.x + i, drawnAt.y + j); }

    Walk Search(Object* mover = nullptr) {
        search.FindPath(start.x, start.y, goal.x, goal.y, &map, mover);
        return Rest();
    }
    Walk Rest() {
        Walk walk;
        while (search.HasNextStep()) {
            qv::Point c;
            search.NextStep(&c.x, &c.y);
            walk.push_back(c);
        }
        return walk;
    }

    AStar search;
    qv::Point start, goal;
    CellPoint drawnAt;
};

// The rows of a drawing are parted by '|'; cells of it are written "i,j".
TEST_F(AStarTest, WalksOnDrawnMaps) {
    struct Row {
        const char* rule;
        const char* drawing;
        const char* walk;
        int found;
        int steps;              // -1: not looked at
        const char* goal = "";  // a drawing without a 'G'
    };
    const Row rows[] = {
        {"the start is the goal: no step", "S..", "", 1, 0, "0,0"},
        {"a neighbour: one step", "S..", "1,0", 1, 1, "1,0"},
        // Farther east than south: east is tried first, and the newest of
        // equal totals is taken first, which turns the walk south in the
        // middle.
        {"farther east than south", "S...|..G.", "1,0 1,1 2,1", 1, 3},
        {"farther west than north: the mirror image", "G...|..S.", "1,1 1,0 0,0", 1, -1},
        {"farther south than east: north is tried first, yet south twice before east",
         "S..|...|.G.", "0,1 0,2 1,2", 1, -1},
        // The order of row 3 (north, west, east, south); the newest of equal
        // totals first walks a staircase, south first.
        {"as far south as east", "S..|...|..G", "0,1 1,1 1,2 2,2", 1, 4},
        // Row 1 (south, east, west, north) decides; north comes last, so its
        // node is the newest of the totals of 3 and is taken first.
        {"as far north as east", "..G|...|S..", "0,1 1,1 1,0 2,0", 1, 4},
        // North is tried first but the south side's newer nodes reach a total
        // of 3 first.
        {"equally long detours round an obstacle", ".....|.S#G.|.....", "1,2 2,2 3,2 3,1", 1, 4},
        {"a walled-off goal is not found", "#######|#S.#G##|#######", "", 0, 1},
    };
    const auto cells = [this](const std::string& text) {
        Walk out;
        std::istringstream in(text);
        for (int i = 0, j = 0; in >> i && in.ignore() && in >> j;) out.push_back(D(i, j));
        return out;
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        for (int i = 0; i < 10; ++i)
            for (int j = 0; j < 10; ++j) map.GetCell(5 + i, 5 + j).terrain = 0;
        std::vector<std::string> drawing;
        std::istringstream lines(r.drawing);
        for (std::string line; std::getline(lines, line, '|');) drawing.push_back(line);
        Draw(drawing);
        if (*r.goal) goal = cells(r.goal)[0];
        EXPECT_EQ(Search(), cells(r.walk));
        EXPECT_EQ(search.Found(), r.found);
        if (r.steps >= 0) {
            EXPECT_EQ(search.StepCount(), r.steps);
        }
        EXPECT_EQ(search.HasNextStep(), 0);
    }
}

TEST_F(AStarTest, TheStepTestIsAskedAboutTheCellEntered) {
    // A cell nothing may leave can still not be entered by a search, while
    // the start may be left although it is such a cell.
    Draw({"S.G"});
    map.GetCell(drawnAt.x + 1, drawnAt.y).terrain = 10;
    map.GetCell(drawnAt.x, drawnAt.y).terrain = 10;
    const Walk walk = Search();
    ASSERT_EQ(walk.size(), 4u);
    EXPECT_NE(walk[0], D(1, 0));
    EXPECT_EQ(walk.back(), D(2, 0));
}

TEST_F(AStarTest, AMoverOpensDoorsThatAreNotLocked) {
    // A door on the west edge of the goal cell, in a wall of solid ground.
    Draw({"#####", "#S.G#", "#####"});
    auto* door = Make<SideDoorBrick>();
    door->m_iItemNum = 4;
    door->m_iState = 2;
    Position p = At(goal.x, goal.y);
    ASSERT_EQ(map.AddHolder(p, Hold(door)), 1);

    auto* mover = Make<maptest::Creature>();
    EXPECT_EQ(Search(mover), (Walk{D(2, 1), D(3, 1)}));
    EXPECT_EQ(Search(nullptr), Walk{});
    door->m_bLocked = 1;
    EXPECT_EQ(Search(mover), Walk{});
}

TEST_F(AStarTest, AStepOutOfWaterNeedsALoweredDrawbridgeAcross) {
    // The water cell between start and goal can be entered only where a
    // bridge carries the step out of it (the entered cell is the one asked).
    Draw({"#####", "#S~G#", "#####"});
    const CellPoint w{drawnAt.x + 2, drawnAt.y + 1};
    map.GetCell(w.x, w.y).terrain = 3;
    EXPECT_EQ(Search(), Walk{});

    auto* bridge = Make<DrawBridge>(1);  // carries steps east and west
    Position p = At(D(2, 1).x, D(2, 1).y);
    ASSERT_EQ(map.AddHolder(p, Hold(bridge)), 1);
    EXPECT_EQ(Search(), (Walk{D(2, 1), D(3, 1)}));
    bridge->m_bRaised = 1;
    EXPECT_EQ(Search(), Walk{});
    bridge->m_bRaised = 0;
    bridge->m_iDirection = 0;  // north and south only
    EXPECT_EQ(Search(), Walk{});
}

// A single corridor snakes through the window: row 0 east, down at the east
// end, row 2 west, down at the west end, and so on. Every expansion opens
// exactly one new cell, so the 1000th expansion is the corridor's cell 999.
class AStarCapTest : public AStarTest {
protected:
    AStarCapTest() {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).terrain = 7;
        for (int r = 0; 2 * r < MapMaster::high - 2; ++r) {
            for (int i = 0; i < MapMaster::wide; ++i) map.GetCell(i, 2 * r).terrain = 0;
            map.GetCell(r % 2 == 0 ? MapMaster::wide - 1 : 0, 2 * r + 1).terrain = 0;
        }
        start = World(0, 0);
    }
};

TEST_F(AStarCapTest, ThePartialWalkOfTheCapCountsAsFoundInTheGoalsColumn) {
    // Cell 999 = 19 rows of 52 cells and 11 more: row 38, going west from
    // column 50, so column 39.
    goal = World(39, 41);  // solid, in the column of cell 999
    const Walk walk = Search();
    EXPECT_EQ(search.Found(), 1);
    EXPECT_EQ(search.StepCount(), 999);
    ASSERT_EQ(walk.size(), 999u);
    EXPECT_EQ(walk.front(), World(1, 0));
    EXPECT_EQ(walk[49], World(50, 0));
    EXPECT_EQ(walk[50], World(50, 1));
    EXPECT_EQ(walk[51], World(50, 2));
    EXPECT_EQ(walk.back(), World(39, 38));

    goal = World(0, 38);  // in its row
    Search();
    EXPECT_EQ(search.Found(), 1);

    goal = World(40, 41);  // neither: no walk at all
    EXPECT_EQ(Search(), Walk{});
    EXPECT_EQ(search.Found(), 0);
    EXPECT_EQ(search.StepCount(), 1);
}

// The window lies across both seams of the 100 x 80 world.
class AStarSeamTest : public AStarTest {
protected:
    AStarSeamTest() : AStarTest({80, 60}) {}

    Walk SearchShortWay() {
        qv::Point s, g;
        AStar::StartAndGoal(map, start, goal, &s, &g);
        search.FindPath(s.x, s.y, g.x, g.y, &map, nullptr);
        return Rest();
    }
};

TEST_F(AStarSeamTest, AWalkCrossesEachSeamTheShortWay) {
    start = {98, 5};
    goal = {1, 5};
    EXPECT_EQ(SearchShortWay(), (Walk{{99, 5}, {0, 5}, {1, 5}}));
    EXPECT_EQ(search.Found(), 1);

    start = {1, 5};
    goal = {98, 5};
    EXPECT_EQ(SearchShortWay(), (Walk{{0, 5}, {99, 5}, {98, 5}}));

    start = {3, 78};
    goal = {3, 1};
    EXPECT_EQ(SearchShortWay(), (Walk{{3, 79}, {3, 0}, {3, 1}}));
}

TEST_F(AStarTest, TheGroupCodeAsksAboutWindowCells) {
    world.m_pPathFinder = &AStarPaths::Shared();
    Draw({"#####", "#S.##", "#####"});
    const CellPoint s{drawnAt.x + 1, drawnAt.y + 1};
    EXPECT_TRUE(Group::PathReaches(map, s, {s.x + 1, s.y}));
    EXPECT_FALSE(Group::PathReaches(map, s, {s.x + 5, s.y}));
    world.m_pPathFinder = nullptr;
}

// The search as it reads, with plain lists searched from the head: OPEN
// sorted on insertion only, CLOSED most recent first.
Walk ReferenceWalk(MapMaster& map, qv::Point s, qv::Point g, int* found, int doorsopen = 0,
                   std::vector<qv::Point>* expanded = nullptr) {
    struct N {
        int f, h, g, x, y;
        N* parent;
        std::vector<N*> children;
    };
    std::vector<std::unique_ptr<N>> all;
    std::vector<N*> open, closed;  // open: front is the head
    auto h = [&](int x, int y) { return std::max(std::abs(x - g.x), std::abs(y - g.y)); };
    auto make = [&](int x, int y, int cost, N* parent) {
        all.push_back(std::make_unique<N>(N{cost + h(x, y), h(x, y), cost, x, y, parent, {}}));
        return all.back().get();
    };
    auto insert = [&](N* n) {
        auto it = open.begin();
        while (it != open.end() && (*it)->f < n->f) ++it;
        open.insert(it, n);
    };
    const int dx[4] = {0, 1, 0, -1}, dy[4] = {1, 0, -1, 0};
    const int rows[4][4] = {{1, 0, 2, 3}, {0, 1, 3, 2}, {3, 2, 0, 1}, {2, 3, 1, 0}};
    const int row =
        std::abs(s.x - g.x) > std::abs(s.y - g.y) ? (g.x > s.x ? 0 : 2) : (g.y > s.y ? 3 : 1);
    insert(make(s.x, s.y, 0, nullptr));
    N* result = nullptr;
    for (int expansions = 0;;) {
        if (open.empty()) break;
        N* best = open.front();
        open.erase(open.begin());
        closed.insert(closed.begin(), best);
        if (best->x == g.x && best->y == g.y) {
            result = best;
            break;
        }
        if (expanded) expanded->push_back({best->x, best->y});
        for (int i = 0; i < 4; ++i) {
            const int d = rows[row][i];
            const int nx = best->x + dx[d], ny = best->y + dy[d];
            if (map.IsStepBlocked({nx, ny}, {best->x, best->y}, doorsopen)) continue;
            const int cost = best->g + 1;
            N* old = nullptr;
            bool inClosed = false;
            for (N* n : open)
                if (n->x == nx && n->y == ny) {
                    old = n;
                    break;
                }
            if (!old)
                for (N* n : closed)
                    if (n->x == nx && n->y == ny) {
                        old = n;
                        inClosed = true;
                        break;
                    }
            if (!old) {
                N* n = make(nx, ny, cost, best);
                insert(n);
                best->children.push_back(n);
                continue;
            }
            best->children.push_back(old);
            if (cost >= old->g) continue;
            old->parent = best;
            old->g = cost;
            old->f = old->h + cost;
            if (!inClosed) continue;
            std::vector<N*> stack;
            auto check = [&](N* from) {
                for (N* c : from->children)
                    if (from->g + 1 < c->g) {
                        c->g = from->g + 1;
                        c->f = c->h + c->g;
                        c->parent = from;
                        stack.push_back(c);
                    }
            };
            check(old);
            while (!stack.empty()) {
                N* top = stack.back();
                stack.pop_back();
                check(top);
            }
        }
        if (++expansions >= AStar::kMaxExpansions) {
            result = best;
            break;
        }
    }
    Walk walk;
    *found = result && (result->x == g.x || result->y == g.y);
    if (*found)
        for (N* n = result; n->parent; n = n->parent) walk.insert(walk.begin(), {n->x, n->y});
    return walk;
}

TEST_F(AStarTest, WalksMatchTheSearchAsItReadsOnRandomMaps) {
    qv::SeedRand(99);
    int compared = 0, capped = 0;
    for (int round = 0; round < 12; ++round) {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                map.GetCell(i, j).terrain = qv::Rand() % 100 < 20 + round * 2 ? 7 : 0;
        for (int k = 0; k < 25; ++k) {
            start = World(qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high);
            goal = World(qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high);
            int found = 0;
            const Walk expected = ReferenceWalk(map, start, goal, &found);
            SCOPED_TRACE(::testing::Message() << "round " << round << " search " << k);
            EXPECT_EQ(Search(), expected);
            EXPECT_EQ(search.Found(), found);
            ++compared;
            capped += search.Found() && !expected.empty() && expected.back() != goal;
        }
    }
    EXPECT_EQ(compared, 300);
    EXPECT_GT(capped, 0);  // some searches ended at the cap with a partial walk
}

// A search of a class of its own, which keeps its nodes as any search that
// may change the step test does.
class OwnSearch : public AStar {};

// Random maps with walls, doors in every state, locked or not, pieces that
// let movement through, water and drawbridges: every search, with a mover
// and without, expands the same cells in the same order as the search as it
// reads, and gives the same walk, whichever storage it keeps its nodes in.
TEST_F(AStarTest, ExpansionsMatchTheSearchAsItReadsOnFurnishedMaps) {
    qv::SeedRand(4242);
    auto* mover = Make<maptest::Creature>();
    std::vector<ObjectHolder*> placed;
    int compared = 0, blockedByPieces = 0;
    for (int round = 0; round < 8; ++round) {
        for (ObjectHolder* h : placed) map.RemoveHolder(h->pos, h);
        placed.clear();
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) {
                const int r = qv::Rand() % 100;
                map.GetCell(i, j).terrain = r < 8 ? 7 : r < 14 ? 3 : r < 16 ? 10 : 0;
            }
        for (int k = 0; k < 500; ++k) {
            const CellPoint c{qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high};
            const qv::Point w = World(c.x, c.y);
            Object* piece = nullptr;
            const int kind = qv::Rand() % 6;
            if (kind < 4) {
                Wall* wall = kind % 2 ? static_cast<Wall*>(Make<FrontDoorBrick>())
                                      : static_cast<Wall*>(Make<SideDoorBrick>());
                wall->m_iItemNum = qv::Rand() % 3 == 0 ? -1 : 7;
                wall->m_iState = qv::Rand() % 4;
                wall->m_bLocked = qv::Rand() % 2;
                wall->m_bWalkThrough = qv::Rand() % 8 == 0;
                piece = wall;
            } else {
                auto* bridge = Make<DrawBridge>(qv::Rand() % 2);
                bridge->m_bRaised = qv::Rand() % 3 == 0;
                piece = bridge;
            }
            Position p = At(w.x, w.y);
            ObjectHolder* h = Hold(piece);
            if (map.AddHolder(p, h)) placed.push_back(h);
        }
        for (int k = 0; k < 20; ++k) {
            start = World(qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high);
            goal = World(qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high);
            for (Object* who : {static_cast<Object*>(mover), static_cast<Object*>(nullptr)}) {
                SCOPED_TRACE(::testing::Message() << "round " << round << " search " << k
                                                  << (who ? " with a mover" : " without"));
                std::vector<qv::Point> want;
                int found = 0;
                const Walk expected =
                    ReferenceWalk(map, start, goal, &found, who != nullptr, &want);
                AStar plain;
                OwnSearch own;
                for (AStar* search : {&plain, static_cast<AStar*>(&own)}) {
                    std::vector<qv::Point> got;
                    search->LogExpansions(&got);
                    search->FindPath(start.x, start.y, goal.x, goal.y, &map, who);
                    Walk walk;
                    while (search->HasNextStep()) {
                        qv::Point c;
                        search->NextStep(&c.x, &c.y);
                        walk.push_back(c);
                    }
                    EXPECT_EQ(got, want);
                    EXPECT_EQ(search->Expansions(), static_cast<int32_t>(want.size()));
                    EXPECT_EQ(walk, expected);
                    EXPECT_EQ(search->Found(), found);
                }
                ++compared;
            }
            // The pieces decide some searches: without them the walk differs.
            int foundWithout = 0;
            for (ObjectHolder* h : placed) map.RemoveHolder(h->pos, h);
            const Walk bare = ReferenceWalk(map, start, goal, &foundWithout, 1);
            for (ObjectHolder* h : placed) {
                Position p = h->pos;
                map.AddHolder(p, h);
            }
            int foundWith = 0;
            blockedByPieces += bare != ReferenceWalk(map, start, goal, &foundWith, 1);
        }
    }
    EXPECT_EQ(compared, 320);
    EXPECT_GT(blockedByPieces, 10);
    for (ObjectHolder* h : placed) map.RemoveHolder(h->pos, h);
}

}  // namespace
