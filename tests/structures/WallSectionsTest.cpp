// Wall sections as the player meets them: drawn on their edges, cut down where
// the party stands behind them, blocking along their edges, a door open or
// shut by its state, and sections that meet at a corner all placed, whatever
// their order, closing a yard but for its door.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Surface.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "world/MapFixture.h"

namespace {

using maptest::Creature;
using maptest::MapFixture;

class WallSections : public MapFixture {
protected:
    // The anchor of a cell's north edge, west edge and north-west corner.
    static Position North(int cx, int cy) { return At(cx, cy, 80, 0); }
    static Position West(int cx, int cy) { return At(cx, cy, 0, 56); }
    static Position Corner(int cx, int cy) { return At(cx, cy, 0, 0); }

    template <class W>
    W* Place(Position p, int key = -1, int state = 1) {
        auto* w = Make<W>();
        w->m_iItemNum = key;
        w->m_iState = state;
        EXPECT_EQ(map.AddHolder(p, Hold(w)), 1) << w->m_strSpecialName;
        return w;
    }
    bool Blocks(int x, int y) { return map.CheckMove(&mover, {x, y, 0}, nullptr, 1, 0) != nullptr; }

    Creature mover;
};

TEST_F(WallSections, ADoorShowsAndBlocksByItsState) {
    // Offsets from the middle of the door's edge: the opening is 21 pixels
    // either side of it; a plain section (no key) never opens.
    struct Row {
        const char* rule;
        int key, state;
        int column;  // the cell shown and tested
        int along;   // a point this far along the edge, 3 pixels south of it
        bool blocked;
    };
    const Row rows[] = {
        {"a plain section is shut whatever its state", -1, 1, 0, 0, true},
        {"a shut door (state 2) blocks its opening", 1, Wall::kDoorClosed, 0, 0, true},
        {"an open door (state 1) lets through its middle", 1, Wall::kDoorOpen, 1, 0, false},
        {"state 0 is open as well", 1, 0, 1, 0, false},
        {"any other state is shut", 1, 3, 0, 0, true},
        {"the opening's east end is free", 1, Wall::kDoorOpen, 1, kDoorHalfWidth, false},
        {"one pixel past it the section blocks", 1, Wall::kDoorOpen, 1, kDoorHalfWidth + 1, true},
        {"the opening's west end is free", 1, Wall::kDoorOpen, 1, -kDoorHalfWidth, false},
        {"one pixel past the west end blocks", 1, Wall::kDoorOpen, 1, -kDoorHalfWidth - 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        auto* door = Make<FrontDoorBrick>();
        door->m_iItemNum = r.key;
        door->m_iState = r.state;
        ObjectHolder* h = Hold(door);
        Position p = North(20, 20);
        ASSERT_EQ(map.AddHolder(p, h), 1);
        int column = 0, row = 0;
        door->GetImageFrame(&column, &row);
        EXPECT_EQ(column, r.column);
        EXPECT_EQ(row, 0);
        EXPECT_EQ(Blocks(p.x + r.along, p.y + 3), r.blocked);
        // Across the edge the section blocks 6 pixels either side, not 7.
        EXPECT_TRUE(Blocks(p.x + 40, p.y + kWallBand));
        EXPECT_TRUE(Blocks(p.x + 40, p.y - kWallBand));
        EXPECT_FALSE(Blocks(p.x + 40, p.y + kWallBand + 1));
        EXPECT_FALSE(Blocks(p.x + 40, p.y - kWallBand - 1));
        map.RemoveHolder(h->pos, h);
    }
}

TEST_F(WallSections, AWorkedDoorOpensItsWayAndShutsItAgain) {
    auto* door = Place<SideDoorBrick>(West(20, 20), 4, Wall::kDoorClosed);
    const Position middle = West(20, 20);
    EXPECT_TRUE(Blocks(middle.x + 3, middle.y));
    int code = -1;
    ASSERT_EQ(door->Activate(&code, nullptr), 1);
    EXPECT_TRUE(door->IsOpen());
    EXPECT_FALSE(Blocks(middle.x + 3, middle.y));
    EXPECT_FALSE(Blocks(middle.x - 3, middle.y + kDoorHalfWidth));
    EXPECT_TRUE(Blocks(middle.x - 3, middle.y + kDoorHalfWidth + 1));
    ASSERT_EQ(door->Activate(&code, nullptr), 1);
    EXPECT_TRUE(Blocks(middle.x + 3, middle.y));
}

TEST_F(WallSections, SectionsMeetingAtACornerArePlacedInAnyOrder) {
    // At corner (20, 20): front sections east and west of it, side sections north
    // and south of it, and the peg; in every order of the five.
    struct Section {
        const char* name;
        int kind;  // 0 front, 1 side, 2 peg
        Position at;
    };
    const std::array<Section, 5> sections = {{{"front east", 0, North(20, 20)},
                                              {"front west", 0, North(19, 20)},
                                              {"side south", 1, West(20, 20)},
                                              {"side north", 1, West(20, 19)},
                                              {"peg", 2, Corner(20, 20)}}};
    std::array<int, 5> order = {0, 1, 2, 3, 4};
    int orders = 0;
    do {
        std::string named;
        for (int i : order) named += std::string(sections[static_cast<size_t>(i)].name) + ", ";
        SCOPED_TRACE(named);
        std::vector<ObjectHolder*> placed;
        for (int i : order) {
            const Section& section = sections[static_cast<size_t>(i)];
            Object* w = section.kind == 0   ? static_cast<Object*>(Make<FrontWall>())
                        : section.kind == 1 ? static_cast<Object*>(Make<SideWall>())
                                            : static_cast<Object*>(Make<Peg>());
            ObjectHolder* h = Hold(w);
            Position p = section.at;
            EXPECT_EQ(map.AddHolder(p, h), 1) << section.name;
            placed.push_back(h);
        }
        for (ObjectHolder* h : placed) map.RemoveHolder(h->pos, h);
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 120);
}

TEST_F(WallSections, ASectionBetweenCellsBesideSolidGroundIsPlaced) {
    // A corridor one cell high through solid ground: its sections stay within
    // the two cells they part.
    for (int cx = 18; cx <= 23; ++cx)
        for (int cy : {19, 21}) map.GetCell(cx - 10, cy - 10).terrain = 7;
    Place<SideDoorBrick>(West(20, 20), 1, Wall::kDoorClosed);
    Place<SideWall>(West(22, 20));
    for (int cy : {19, 21})
        for (int cx = 18; cx <= 23; ++cx) map.GetCell(cx - 10, cy - 10).terrain = 0;
    // A front section in a corridor one cell wide.
    for (int cy = 18; cy <= 22; ++cy)
        for (int cx : {19, 21}) map.GetCell(cx - 10, cy - 10).terrain = 7;
    Place<FrontDoorBrick>(North(20, 20), 1, Wall::kDoorClosed);
    for (int cy = 18; cy <= 22; ++cy)
        for (int cx : {19, 21}) map.GetCell(cx - 10, cy - 10).terrain = 0;
}

TEST_F(WallSections, AYardOfSectionsAndPegsKeepsACreatureInButAtItsOpenDoor) {
    // A yard of 2 x 2 cells, (20, 20) to (21, 21), its door in the middle of
    // the south wall's west section. A creature walks in steps of 2 pixels in
    // the eight directions; from a start of either parity it reaches no point
    // outside the yard until the door stands open.
    FrontDoorBrick* door = nullptr;
    for (int cx = 20; cx <= 21; ++cx) {
        Place<FrontWall>(North(cx, 20));
        if (cx == 20)
            door = Place<FrontDoorBrick>(North(cx, 22), 1, Wall::kDoorClosed);
        else
            Place<FrontWall>(North(cx, 22));
    }
    for (int cy = 20; cy <= 21; ++cy) {
        Place<SideWall>(West(20, cy));
        Place<SideWall>(West(22, cy));
    }
    for (int cx = 20; cx <= 22; ++cx)
        for (int cy = 20; cy <= 22; ++cy)
            if (cx != 21 || cy != 21) Place<Peg>(Corner(cx, cy));

    const int left = 20 * 160, top = 20 * 112, right = 22 * 160, bottom = 22 * 112;
    // Whether a walk from (x, y) gets out of the yard (beyond a margin of its
    // walls), looking no farther than a cell around it.
    auto escapes = [&](int x, int y) {
        std::set<std::pair<int, int>> seen;
        std::vector<std::pair<int, int>> todo{{x, y}};
        seen.insert(todo.back());
        while (!todo.empty()) {
            auto [px, py] = todo.back();
            todo.pop_back();
            if (px < left - 10 || px > right + 10 || py < top - 10 || py > bottom + 10) return true;
            for (int dx = -2; dx <= 2; dx += 2)
                for (int dy = -2; dy <= 2; dy += 2) {
                    const std::pair<int, int> next{px + dx, py + dy};
                    if ((dx == 0 && dy == 0) || seen.count(next)) continue;
                    seen.insert(next);
                    if (!Blocks(next.first, next.second)) todo.push_back(next);
                }
        }
        return false;
    };
    const Position inside = At(21, 21);
    struct Row {
        const char* rule;
        int dx, dy;
        bool open;
        bool escapes;
    };
    const Row rows[] = {
        {"even steps, the door shut", 0, 0, false, false},
        {"odd steps, the door shut", 1, 1, false, false},
        {"odd across, even down, the door shut", 1, 0, false, false},
        {"even across, odd down, the door shut", 0, 1, false, false},
        {"even steps, the door open", 0, 0, true, true},
        {"odd steps, the door open", 1, 1, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        door->m_iState = r.open ? Wall::kDoorOpen : Wall::kDoorClosed;
        EXPECT_EQ(escapes(inside.x + r.dx, inside.y + r.dy), r.escapes);
    }
}

// A picture's pixel on a surface that started all see-through (0).
struct Canvas {
    qv::Surface surface{400, 240};
    Canvas() { surface.Fill(0); }
    bool Painted(int x, int y) const { return surface.GetPixel(x, y) != 0; }
};

TEST(WallLooks, DrawnOnTheirEdgeAndCutDownWhereThePartyStandsBehind) {
    // Drawn at full light (no map) with its hot spot at (200, 180): a front
    // section's south face rises kWallHeight above its edge, its top kWallHalfThickness
    // behind; cut down, only kWallCutHeight of it stays.
    const qv::Point at{200, 180};
    const qv::Rect view{0, 0, 400, 240};
    const int above = 2 * kWallHalfThickness + 1;  // past the top's far edge
    struct Row {
        const char* rule;
        int flags;   // the draw modes 1 plain, 2 see-through
        int height;  // a point of the face this high above the edge
        bool painted;
    };
    const Row rows[] = {
        {"plain: the face's foot", 1, 2, true},
        {"plain: half way up", 1, kWallHeight / 2, true},
        {"plain: the top's far edge", 1, kWallHeight + above - 2, true},
        {"plain: above the top", 1, kWallHeight + above + 1, false},
        {"see-through: the face's foot", 2, 2, true},
        {"see-through: the cut's far edge", 2, kWallCutHeight + above - 2, true},
        {"see-through: above the cut", 2, kWallCutHeight + above + 1, false},
        {"hovered and see-through: cut too", 6, kWallCutHeight + above + 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Canvas c;
        FrontWall wall;
        ASSERT_NE(wall.GetLook(), nullptr);
        wall.Draw(&c.surface, at, view, Position(0, 0), r.flags);
        EXPECT_EQ(wall.m_bNotDrawn, 0);
        // The south face lies kWallHalfThickness south of the edge: on the
        // screen that far lower and to the left.
        const int x = at.x - kWallHalfThickness + 20, y = at.y + kWallHalfThickness - r.height;
        EXPECT_EQ(c.Painted(x, y), r.painted);
    }
}

TEST(WallLooks, EverySectionWearsAPictureAndAFootprint) {
    FrontWall front;
    SideWall side;
    Peg peg;
    FrontDoorBrick frontDoor;
    SideDoorBrick sideDoor;
    for (Wall* w : std::initializer_list<Wall*>{&front, &side, &peg, &frontDoor, &sideDoor}) {
        SCOPED_TRACE(w->m_strSpecialName);
        ASSERT_NE(w->GetLook(), nullptr);
        ASSERT_NE(w->GetImage(), nullptr);
        EXPECT_NE(w->GetLook(), w->GetImage());
        EXPECT_TRUE(w->GetLook()->IsLoaded());
        // The footprint blocks about its hot spot, not at the spot itself.
        w->GetImage()->m_iCurrentColumn = w->GetImage()->m_iCurrentRow = 0;
        EXPECT_EQ(w->GetImage()->HitTest({0, 0}, 0), 0);
        EXPECT_NE(w->GetImage()->HitTest({1, 1}, 0), 0);
    }
    // Kinds of a shape share a footprint; doors have pictures of their own.
    EXPECT_EQ(front.GetImage(), frontDoor.GetImage());
    EXPECT_EQ(side.GetImage(), sideDoor.GetImage());
    EXPECT_NE(front.GetLook(), frontDoor.GetLook());
    // A plain wall of kind 0 and a tile keep the plain object's picture.
    Wall plain;
    Tile tile;
    EXPECT_EQ(plain.GetLook(), nullptr);
    EXPECT_EQ(tile.GetLook(), nullptr);
}

TEST(LampPosts, AVisibleLightStandsAsALampPost) {
    struct Row {
        const char* rule;
        int visible;
        bool painted;
    };
    const Row rows[] = {{"a visible light shows its post", 1, true},
                        {"an unseen light shows nothing outside build mode", 0, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Canvas c;
        LightSource lamp("Lamp");
        lamp.m_bVisible = r.visible;
        lamp.Draw(&c.surface, {200, 180}, {0, 0, 400, 240}, Position(0, 0), 1);
        // The post half way up, and its lantern at the top.
        EXPECT_EQ(c.Painted(200, 180 - kLampPostHotY / 2), r.painted);
        EXPECT_EQ(c.Painted(200, 180 - kLampPostHotY + 12), r.painted);
    }
}

}  // namespace
