// The platforms' own pictures: a drawbridge and a ship carry a walker over
// water exactly where their decks lie, a raised bridge carries nobody, and
// each is drawn with a picture of its own.

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
    ObjectHolder* Place(Object* platform) {
        Position at = At(20, 20);
        ObjectHolder* h = Hold(platform, at);
        EXPECT_EQ(map.AddHolder(at, h), 1);
        return h;
    }
    // What a walker meets at the offset from the platform's place: the
    // platform carrying it, or the map's refusal of the water.
    ObjectHolder* Meets(int dx, int dy) {
        Object walker;  // walks on land only
        const Position at = At(20, 20);
        return map.CheckMove(&walker, Position(at.x + dx, at.y + dy, 0), nullptr, 0, 0);
    }
};

struct Row {
    const char* what;
    int dx, dy;
    bool aboard;
};

void CheckRows(PlatformDeck* test, ObjectHolder* platform, ObjectHolder* refused,
               const std::vector<Row>& rows, ObjectHolder* (PlatformDeck::*meets)(int, int)) {
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ((test->*meets)(r.dx, r.dy), r.aboard ? platform : refused);
    }
}

class BridgeDeck : public PlatformDeck {};

TEST_F(BridgeDeck, ALoweredBridgeCarriesAWalkerOverItsDeckAndNowhereElse) {
    struct Case {
        const char* what;
        int direction, raised;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"carrying north and south: 48 wide, a cell long",
         0,
         0,
         {{"the middle", 0, 0, true},
          {"the east edge", kBridgeHalfWidth - 1, 0, true},
          {"a pixel east of it", kBridgeHalfWidth, 0, false},
          {"the west edge", -kBridgeHalfWidth, 0, true},
          {"a pixel west of it", -kBridgeHalfWidth - 1, 0, false},
          {"the south end", 0, kBridgeHalfSpanY - 1, true},
          {"a pixel beyond it, in the next cell", 0, kBridgeHalfSpanY, false},
          {"the north end", 0, -kBridgeHalfSpanY, true},
          {"a pixel beyond it", 0, -kBridgeHalfSpanY - 1, false}}},
        {"carrying east and west: a cell long, 48 wide",
         1,
         0,
         {{"the middle", 0, 0, true},
          {"the east end", kBridgeHalfSpanX - 1, 0, true},
          {"a pixel beyond it, in the next cell", kBridgeHalfSpanX, 0, false},
          {"the west end", -kBridgeHalfSpanX, 0, true},
          {"a pixel beyond it, in the next cell", -kBridgeHalfSpanX - 1, 0, false},
          {"the south edge", 0, kBridgeHalfWidth - 1, true},
          {"a pixel south of it", 0, kBridgeHalfWidth, false},
          {"the north edge", 0, -kBridgeHalfWidth, true},
          {"a pixel north of it", 0, -kBridgeHalfWidth - 1, false}}},
        {"raised, carrying north and south", 0, 1, {{"the middle", 0, 0, false}}},
        {"raised, carrying east and west", 1, 1, {{"the middle", 0, 0, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* bridge = Make<DrawBridge>(c.direction);
        bridge->m_bRaised = c.raised;
        ObjectHolder* h = Place(bridge);
        CheckRows(this, h, map.GetBlocker(), c.rows, &PlatformDeck::Meets);
        map.RemoveHolder(h->pos, h);
    }
}

TEST_F(PlatformDeck, AShipCarriesAWalkerOverItsDeckToItsPointedEnds) {
    // The deck: 90 each way along x, 36 across, narrowing over the last 30
    // pixels of each end: at 75 from the middle (15 into the bow) it is
    // 36 * 15 / 30 = 18 wide each way.
    auto* ship = Make<Ship>();
    ObjectHolder* h = Place(ship);
    CheckRows(this, h, map.GetBlocker(),
              {{"the middle", 0, 0, true},
               {"the bow's point", kShipHalfLength, 0, true},
               {"a pixel beyond it", kShipHalfLength + 1, 0, false},
               {"the stern's point", -kShipHalfLength, 0, true},
               {"the side amidships", 0, kShipHalfBeam, true},
               {"a pixel over the side", 0, kShipHalfBeam + 1, false},
               {"where the bow begins", 60, kShipHalfBeam, true},
               {"a pixel into the bow at the side", 61, kShipHalfBeam, false},
               {"15 into the bow, 18 across", 75, 18, true},
               {"15 into the bow, 19 across", 75, 19, false},
               {"15 into the stern, 18 across the other way", -75, -18, true}},
              &PlatformDeck::Meets);
}

// Each platform is drawn by a picture of its own: a few hundred pixels of
// planks and hull, none in the deck's colour.
TEST_F(PlatformDeck, EachPlatformIsDrawnWithAPictureOfItsOwn) {
    struct Case {
        const char* what;
        Object* platform;
    };
    auto* bridgeAlong = Make<DrawBridge>(0);
    auto* bridgeAcross = Make<DrawBridge>(1);
    auto* raised = Make<DrawBridge>(0);
    raised->m_bRaised = 1;
    const std::vector<Case> cases = {{"a bridge north and south", bridgeAlong},
                                     {"a bridge east and west", bridgeAcross},
                                     {"a raised bridge", raised},
                                     {"a ship", Make<Ship>()}};
    const uint16_t deck = MakeScreenPixel(0, 0, 2);
    map.SetFullLight(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
        ASSERT_NE(dynamic_cast<Traversable*>(c.platform)->GetLook(), nullptr);
    }
    map.SetFullLight(false);
}

}  // namespace
