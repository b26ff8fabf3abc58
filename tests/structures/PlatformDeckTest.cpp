// The platforms' own pictures: a drawbridge and a ship carry a walker over
// water exactly where their decks lie, a raised bridge carries nobody, and
// each is drawn with a picture of its own.

#include <functional>
#include <vector>

#include "media/DIBitmap.h"
#include "media/Resources.h"
#include "platform/Surface.h"
#include "structures/Traversable.h"
#include "world/MapFixture.h"

using namespace maptest;

namespace {

class PlatformDeck : public MapFixture {
public:
    // Water over the 3 x 3 cells around world cell (20, 20).
    PlatformDeck() {
        for (int i = 9; i <= 11; ++i)
            for (int j = 9; j <= 11; ++j) map.GetCell(i, j).terrain = 3;
    }
    DrawBridge* Bridge(int direction, int raised) {
        auto* bridge = Make<DrawBridge>(direction);
        bridge->m_bRaised = raised;
        return bridge;
    }
};

// What a walker who walks on land only meets at an offset from the
// platform's place: the platform carrying it, or the map's refusal of the
// water. The ship's deck: 90 each way along x, 36 across, narrowing over the
// last 30 pixels of each end: at 75 from the middle (15 into the bow) it is
// 36 * 15 / 30 = 18 wide each way.
TEST_F(PlatformDeck, AWalkerIsCarriedOverTheDeckAndNowhereElse) {
    struct Row {
        const char* what;
        int dx, dy;
        bool aboard;
    };
    struct Case {
        const char* what;
        std::function<Object*()> make;
        std::vector<Row> rows;
    };
    const int W = kBridgeHalfWidth, X = kBridgeHalfSpanX, Y = kBridgeHalfSpanY;
    const int L = kShipHalfLength, B = kShipHalfBeam;
    // clang-format off
    const Case cases[] = {
        {"a bridge carrying north and south: 48 wide, a cell long", [&] { return Bridge(0, 0); },
         {{"the middle", 0, 0, true},
          {"the east edge", W - 1, 0, true}, {"a pixel east of it", W, 0, false},
          {"the west edge", -W, 0, true}, {"a pixel west of it", -W - 1, 0, false},
          {"the south end", 0, Y - 1, true}, {"a pixel beyond it, in the next cell", 0, Y, false},
          {"the north end", 0, -Y, true}, {"a pixel beyond it", 0, -Y - 1, false}}},
        {"a bridge carrying east and west: a cell long, 48 wide", [&] { return Bridge(1, 0); },
         {{"the middle", 0, 0, true},
          {"the east end", X - 1, 0, true}, {"a pixel beyond it, in the next cell", X, 0, false},
          {"the west end", -X, 0, true}, {"a pixel beyond it, in the next cell", -X - 1, 0, false},
          {"the south edge", 0, W - 1, true}, {"a pixel south of it", 0, W, false},
          {"the north edge", 0, -W, true}, {"a pixel north of it", 0, -W - 1, false}}},
        {"a raised bridge, north and south", [&] { return Bridge(0, 1); }, {{"the middle", 0, 0, false}}},
        {"a raised bridge, east and west", [&] { return Bridge(1, 1); }, {{"the middle", 0, 0, false}}},
        {"a ship", [&] { return Make<Ship>(); },
         {{"the middle", 0, 0, true},
          {"the bow's point", L, 0, true}, {"a pixel beyond it", L + 1, 0, false},
          {"the stern's point", -L, 0, true},
          {"the side amidships", 0, B, true}, {"a pixel over the side", 0, B + 1, false},
          {"where the bow begins", 60, B, true}, {"a pixel into the bow at the side", 61, B, false},
          {"15 into the bow, 18 across", 75, 18, true}, {"15 into the bow, 19 across", 75, 19, false},
          {"15 into the stern, 18 across the other way", -75, -18, true}}},
    };
    // clang-format on
    const Position at = At(20, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Position place = at;
        ObjectHolder* h = Hold(c.make(), place);
        ASSERT_EQ(map.AddHolder(place, h), 1);
        for (const Row& r : c.rows) {
            SCOPED_TRACE(r.what);
            Object walker;
            EXPECT_EQ(map.CheckMove(&walker, Position(at.x + r.dx, at.y + r.dy, 0), nullptr, 0, 0),
                      r.aboard ? h : map.GetBlocker());
        }
        map.RemoveHolder(h->pos, h);
    }
}

// Each platform is drawn by a picture of its own: a few hundred pixels of
// planks and hull, none in the deck's colour.
TEST_F(PlatformDeck, EachPlatformIsDrawnWithAPictureOfItsOwn) {
    const struct {
        const char* what;
        Traversable* platform;
    } cases[] = {{"a bridge north and south", Bridge(0, 0)},
                 {"a bridge east and west", Bridge(1, 0)},
                 {"a raised bridge", Bridge(0, 1)},
                 {"a ship", Make<Ship>()}};
    const uint16_t deck = MakeScreenPixel(0, 0, 2);
    map.SetFullLight(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.platform->GetLook(), nullptr);
        qv::Surface surface(400, 400);
        surface.Fill(0);
        c.platform->Draw(&surface, {200, 250}, surface.Bounds(), At(20, 20), 1);
        int painted = 0, deckColoured = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x) {
                painted += surface.GetPixel(x, y) != 0;
                deckColoured += surface.GetPixel(x, y) == deck;
            }
        EXPECT_GT(painted, 300);
        EXPECT_EQ(deckColoured, 0);
    }
    map.SetFullLight(false);
}

}  // namespace
