// Map lighting: daylight by the hour, light sources, sight from the focus,
// shadows of creatures, darkness levels, the hourly walk of the lights, and
// the floor drawn with the computed light.

#include <cstdint>

#include "MapFixture.h"
#include "platform/Surface.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "world/MapLight.h"
#include "world/World.h"

using namespace maptest;

namespace {

TEST(LightSourceIntensity, FallsOffInAStraightLineToItsRadius) {
    LightSource light;
    light.m_iStrength = 128;
    light.m_iRadius = 320;
    Position at(1000, 1000);
    light.SetPosition(nullptr, &at);
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1000, 1000}), 128.0);
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1160, 1000}), 64.0);
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1000 + 96, 1000 + 128}), 128.0 * (1 - 160.0 / 320));
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1320, 1000}), 0.0);
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({2000, 1000}), 0.0);
    light.m_iStrength = -100;
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1160, 1000}), -50.0);
    light.m_bLit = 0;
    EXPECT_DOUBLE_EQ(light.GetIntensityAt({1000, 1000}), 0.0);
}

TEST(LightSourceIntensity, BurnsOutAfterItsDurationAcrossTheTimeWrap) {
    LightSource light;
    EXPECT_EQ(light.UpdateState(5000), 0);  // no duration: burns for ever
    light.m_iDuration = 1000;
    const int32_t start = INT32_MAX - 500;
    EXPECT_EQ(light.UpdateState(start), 0);
    EXPECT_EQ(light.UpdateState(INT32_MIN + 498), 0);  // 999 later
    EXPECT_EQ(light.UpdateState(INT32_MIN + 499), -3);
    EXPECT_EQ(light.m_bLit, 0);
}

TEST(LightSourceIntensity, TimedFromItsFirstUpdateEvenAtGameTimeZero) {
    LightSource light;
    light.m_iDuration = 1000;
    EXPECT_EQ(light.UpdateState(0), 0);
    EXPECT_EQ(light.UpdateState(999), 0);
    EXPECT_EQ(light.UpdateState(1000), -3);
}

TEST(Daylight, FollowsTheHour) {
    const int expected[24] = {0,   0,   0,   0,   20, 40, 60, 80, 100, 100, 100, 100,
                              100, 100, 100, 100, 80, 60, 40, 20, 0,   0,   0,   0};
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(MapMaster::DaylightForHour(hour), expected[hour]) << hour;
    MapMaster map;
    map.SetWorldSize(60, 60);
    EXPECT_EQ(map.daylight, 1);
    map.OnNewHour(0, 8);
    EXPECT_EQ(map.daylight, 1);  // not in sunlight mode
    map.sunlightmode = 1;
    map.OnNewHour(0, 3);
    EXPECT_EQ(map.daylight, 0);
    map.OnNewHour(0, 8);
    EXPECT_EQ(map.daylight, 100);
    map.OnNewHour(0, 19);
    EXPECT_EQ(map.daylight, 20);
}

TEST(Darkness, ScaledToAnImagesLevels) {
    EXPECT_EQ(ScaleDarkness(-1, 4), -1);
    EXPECT_EQ(ScaleDarkness(0, 4), 0);
    EXPECT_EQ(ScaleDarkness(78, 4), 2);
    EXPECT_EQ(ScaleDarkness(127, 4), 3);
    EXPECT_EQ(ScaleDarkness(127, 1), 0);
    EXPECT_EQ(ScaleDarkness(127, 32), 31);
}

// The focus at the middle of world cell (35, 34), window cell (25, 24).
class MapLighting : public MapFixture {
protected:
    MapLighting() {
        map.daylight = 50;
        map.focuscell = {35, 34};
    }
    void Compute(int32_t now = 0) { map.ComputeLight(At(35, 34), now); }
    LightSource* PlaceLight(Position pos, int strength, int radius) {
        auto* light = Make<LightSource>();
        light->m_iStrength = strength;
        light->m_iRadius = radius;
        EXPECT_EQ(map.AddHolder(pos, Hold(light)), 1);
        return light;
    }
    // Every terrain drawn from one solid picture, onto a 640 x 480 screen.
    void UseGroundPictures() {
        std::array<CDDObject*, 45> pictures{};
        pictures.fill(ground.get());
        map.SetTerrainPictures(pictures);
    }
    std::unique_ptr<CDDObject> ground = SolidImage(160, 112, 0, 0);
    qv::Surface screen{640, 480};
};

TEST_F(MapLighting, DaylightGivesTheDarknessAroundTheFocus) {
    Compute();
    EXPECT_EQ(map.focuswindowcell, (CellPoint{25, 24}));
    EXPECT_EQ(map.GetLightAt(At(35, 34)), 78);
    EXPECT_EQ(map.GetLightAt(At(36, 35, 159, 111)), 78);
    // Lit rows 21..26; the focus row's columns run 22..28, the top row's 20..26.
    EXPECT_TRUE(map.IsLitCell(22, 24));
    EXPECT_FALSE(map.IsLitCell(21, 24));
    EXPECT_TRUE(map.IsLitCell(20, 21));
    EXPECT_FALSE(map.IsLitCell(27, 21));
    EXPECT_TRUE(map.IsLitCell(30, 26));
    EXPECT_FALSE(map.IsLitCell(25, 27));
    // Outside the lit rows and columns, and more than 3 cells from the focus.
    EXPECT_EQ(map.GetLightAt(At(35, 30)), -1);
    EXPECT_EQ(map.GetLightAt(At(31, 34)), -1);
    EXPECT_EQ(map.GetLightAt(At(30, 31)), -1);  // lit column 20 of row 21, 5 cells away
    EXPECT_EQ(map.GetSample(20, 21, 0, 0), -1);
}

TEST_F(MapLighting, WallsAndMountainsCutTheFocussSight) {
    auto* wall = Make<FrontWall>();  // north edge of the focus cell
    Position pw = At(35, 34);
    ASSERT_EQ(map.AddHolder(pw, Hold(wall)), 1);
    map.GetCell(26, 24).terrain = 8;  // a mountain east of the focus
    Compute();
    EXPECT_EQ(map.GetLightAt(At(35, 33)), -1);
    EXPECT_EQ(map.GetLightAt(At(36, 34)), 0);   // mountains are always at full light
    EXPECT_EQ(map.GetLightAt(At(37, 34)), -1);  // behind the mountain
    EXPECT_EQ(map.GetLightAt(At(34, 34)), 78);
}

TEST_F(MapLighting, FullLightLightsEverythingWithoutShadows) {
    auto* creature = Make<Creature>();
    Position pc = At(35, 34);
    ASSERT_EQ(map.AddHolder(pc, Hold(creature)), 1);
    map.SetFullLight(true);
    Compute();
    EXPECT_EQ(map.GetLightAt(At(35, 34)), 1);
    EXPECT_EQ(map.GetLightAt(At(90, 70)), 1);
    EXPECT_EQ(map.GetSample(25, 24, 2, 4), 128);
    EXPECT_EQ(creature->m_exposure, -999);
    MapMaster empty;
    empty.SetFullLight(true);
    ObjectHolder h(Position(5, 5), nullptr);
    EXPECT_EQ(empty.GetLight(&h), 1);
}

TEST_F(MapLighting, LightSourcesAddTheirIntensityInSight) {
    map.daylight = 0;
    PlaceLight(At(35, 34, 16, 4), 100, 1000);                // on sample (0, 0) of the focus cell
    auto* far = PlaceLight(At(39, 34, 16, 4), 500, 100000);  // 4 cells away: reaches nothing here
    Compute();
    EXPECT_EQ(map.GetSample(25, 24, 0, 0), 100);
    EXPECT_EQ(map.GetSample(25, 24, 1, 0), 96);  // 32 pixels away: 96.8
    EXPECT_EQ(map.GetLightAt(At(35, 34, 16, 4)), 28);
    EXPECT_EQ(map.GetSample(24, 24, 4, 0), 100 - 4);  // 16 + 16 pixels west: 96.8
    // The far light lights the cells within 3 of it, not the focus cell.
    EXPECT_GT(map.GetSample(28, 24, 0, 0), 400);
    far->m_iStrength = -300;
    Compute();
    EXPECT_EQ(map.GetLightAt(At(38, 34)), 127);  // darkness below 0
}

TEST_F(MapLighting, ALightAcrossTheSeamReachesTheCellsBeyond) {
    map.SetOrigin({80, 10});  // window columns 80..99, 0..30
    map.focuscell = {0, 34};  // window cell (20, 24)
    map.daylight = 0;
    PlaceLight(Position(15999, 34 * 112 + 4), 100, 1000);  // last pixel of the world
    map.ComputeLight(At(0, 34), 0);
    EXPECT_EQ(map.GetSample(20, 24, 0, 0), 98);  // 17 pixels across the seam: 98.3
}

TEST_F(MapLighting, CreaturesCastShadows) {
    map.daylight = 128;
    auto* creature = Make<Creature>();
    Position pc = At(35, 34, 2 * 32 + 5, 3 * 14 + 5);  // sample (2, 3)
    ASSERT_EQ(map.AddHolder(pc, Hold(creature)), 1);
    auto* edge = Make<Creature>();
    Position pe = At(35, 34, 5, 7 * 14 + 5);  // sample (0, 7): neighbours across two edges
    ASSERT_EQ(map.AddHolder(pe, Hold(edge)), 1);
    auto* gone = Make<Creature>();
    gone->m_removed = true;
    Position pg = At(35, 34, 4 * 32 + 5, 5);  // sample (4, 0)
    ASSERT_EQ(map.AddHolder(pg, Hold(gone)), 1);
    Compute();
    EXPECT_EQ(creature->m_exposure, 128);
    EXPECT_EQ(map.GetSample(25, 24, 2, 3), 105);
    EXPECT_EQ(map.GetSample(25, 24, 1, 3), 120);
    EXPECT_EQ(map.GetSample(25, 24, 3, 3), 120);
    EXPECT_EQ(map.GetSample(25, 24, 2, 2), 120);
    EXPECT_EQ(map.GetSample(25, 24, 2, 4), 120);
    EXPECT_EQ(map.GetSample(25, 24, 1, 2), 128);
    EXPECT_EQ(map.GetSample(24, 24, 4, 7), 120);  // west, in the cell before
    EXPECT_EQ(map.GetSample(25, 24, 0, 6), 120);
    // South, in the cell after: its own light is computed later and wins.
    EXPECT_EQ(map.GetSample(25, 25, 0, 0), 128);
    EXPECT_EQ(map.GetSample(25, 24, 4, 0), 128);
    EXPECT_EQ(gone->m_exposure, -999);
    EXPECT_EQ(map.GetLightAt(pc), 128 - 105);
}

TEST_F(MapLighting, OnlyACreatureStandingInACellShadowsIt) {
    map.daylight = 128;
    // A creature placed by its picture, which reaches 100 pixels east into
    // the next cell; it stands on sample (2, 3) of the focus cell.
    auto image = SolidImage(200, 10, 20, 5);
    auto* creature = Make<Pictured<Creature>>();
    creature->m_iLightSampling = 2;
    creature->image = image.get();
    Position pc = At(35, 34, 2 * 32 + 5, 3 * 14 + 5);
    ASSERT_EQ(map.AddHolder(pc, Hold(creature)), 1);
    ASSERT_TRUE(map.GetCell(26, 24).holders.Find(creature->m_pHolder));
    Compute();
    EXPECT_EQ(creature->m_exposure, 128);
    EXPECT_EQ(map.GetSample(25, 24, 2, 3), 105);
    EXPECT_EQ(map.GetSample(25, 24, 3, 3), 120);
    // The next cell, which its picture reaches, is in full light.
    for (int si = 0; si < MapMaster::SamplesX; ++si)
        for (int sj = 0; sj < MapMaster::SamplesY; ++sj)
            EXPECT_EQ(map.GetSample(26, 24, si, sj), 128) << si << "," << sj;
}

TEST_F(MapLighting, StrongLightsAddUpWithoutWrapping) {
    // Daylight 50 and two lights of the greatest strength on one point:
    // 50 + 2 x 2147483647 is far beyond full light, darkness 0.
    PlaceLight(At(35, 34, 16, 4), INT32_MAX, 1000);
    PlaceLight(At(35, 34, 16, 4), INT32_MAX, 1000);
    Compute();
    EXPECT_EQ(map.GetSample(25, 24, 0, 0), INT32_MAX);
    EXPECT_EQ(map.GetLightAt(At(35, 34, 16, 4)), 0);
    // And two of the deepest darkness: held at the lowest sample, black.
    for (auto& h : owned) static_cast<LightSource*>(h->m_pObject)->m_iStrength = INT32_MIN;
    Compute();
    EXPECT_EQ(map.GetSample(25, 24, 0, 0), INT32_MIN);
    EXPECT_EQ(map.GetLightAt(At(35, 34, 16, 4)), 127);
}

TEST_F(MapLighting, ACreatureOutOfSightIsUnseenButShadowsItsLitNeighbour) {
    auto* wall = Make<FrontWall>();  // north edge of the focus cell
    Position pw = At(35, 34);
    ASSERT_EQ(map.AddHolder(pw, Hold(wall)), 1);
    auto* creature = Make<Creature>();
    Position pc = At(35, 33, 5, 4 * 14 + 5);  // sample (0, 4) of window cell (25, 23)
    ASSERT_EQ(map.AddHolder(pc, Hold(creature)), 1);
    Compute();
    EXPECT_EQ(map.GetSample(25, 23, 0, 4), -1);
    EXPECT_EQ(creature->m_exposure, -1);
    // The cell to the west sees the focus round the wall: 50 x 120 / 128.
    EXPECT_EQ(map.GetSample(24, 23, 4, 4), 46);
    EXPECT_EQ(map.GetSample(24, 23, 3, 4), 50);
}

TEST_F(MapLighting, ObjectsAskTheRunningMap) {
    Compute();
    // The map is taken out of the world for a moment: without a running map
    // everything is lit.
    std::unique_ptr<MapMaster> running = std::move(world.map_master);
    EXPECT_EQ(ScaleLightAt(At(35, 34), 4), 0);  // no map in the world: lit
    world.map_master = std::move(running);
    EXPECT_EQ(ScaleLightAt(At(35, 34), 4), 2);
    EXPECT_EQ(ScaleLightAt(At(35, 30), 4), -1);
    ObjectHolder h(At(35, 34), nullptr);
    EXPECT_EQ(ScaleByMapLight(&h, 128), 78);
}

TEST_F(MapLighting, TheHourlyWalkSurvivesLightsRemovedDuringIt) {
    // A light whose timed update removes and deletes another light (as an
    // explosion's damage may) and is itself over.
    struct Blast : LightSource {
        MapMaster* map = nullptr;
        ObjectHolder* victim = nullptr;
        int UpdateState(int32_t) override {
            if (victim) {
                map->RemoveHolder(victim->pos, victim);
                delete victim->m_pObject;
                delete victim;
                victim = nullptr;
            }
            return -3;
        }
    };
    auto* blast = new Blast;
    blast->map = &map;
    auto* second = new LightSource;
    auto* burning = new LightSource;
    burning->m_iDuration = 100;
    burning->UpdateState(900);  // lit at 900: burns out at 1000
    Position p1 = At(30, 30), p2 = At(31, 30), p3 = At(32, 30);
    auto* h1 = new ObjectHolder(p1, blast);
    auto* h2 = new ObjectHolder(p2, second);
    auto* h3 = new ObjectHolder(p3, burning);
    ASSERT_EQ(map.AddHolder(p1, h1), 1);
    ASSERT_EQ(map.AddHolder(p2, h2), 1);
    ASSERT_EQ(map.AddHolder(p3, h3), 1);
    blast->victim = h2;
    qv::Handle<ObjectHolder> w1(h1), w2(h2), w3(h3);
    ASSERT_EQ(map.GetLightHolders().size(), 3u);

    // A creature carrying a light that burns out keeps its holder.
    struct Bearer : Creature {
        Object* GetLightSource() override { return &torch; }
        LightSource torch;
    };
    auto* bearer = Make<Bearer>();
    bearer->torch.m_iDuration = 50;
    ObjectHolder* hb = Hold(bearer);
    Position pb = At(33, 30);
    ASSERT_EQ(map.AddHolder(pb, hb), 1);

    map.sunlightmode = 1;
    EXPECT_EQ(map.OnNewHour(1000, 6), 1);
    EXPECT_EQ(map.daylight, 60);
    // In one walk: the blast is over, its victim removed under the walk, and
    // the third light burnt out.
    EXPECT_FALSE(w1);
    EXPECT_FALSE(w2);
    EXPECT_FALSE(w3);
    ASSERT_EQ(map.GetLightHolders().size(), 1u);
    EXPECT_EQ(bearer->torch.m_bLit, 1);
    EXPECT_EQ(map.OnNewHour(1100, 6), 1);
    ASSERT_EQ(map.GetLightHolders().size(), 1u);
    EXPECT_EQ(map.GetLightHolders()[0].Get(), hb);
    EXPECT_EQ(bearer->torch.m_bLit, 0);
    EXPECT_EQ(CountListings(hb), 1);
}

TEST_F(MapLighting, TheFloorIsDrawnWithTheComputedLight) {
    UseGroundPictures();
    map.SetFullLight(true);
    map.UpdateLight(At(35, 34), 0, &screen);
    const uint16_t lit = screen.GetPixel(320, 240);
    EXPECT_NE(lit, 0);
    // In the dark the same piece comes out darker.
    map.SetFullLight(false);
    map.daylight = 20;
    map.UpdateLight(At(35, 34), 0, &screen);
    EXPECT_LT(screen.GetPixel(320, 240), lit);
    EXPECT_NE(screen.GetPixel(320, 240), 0);
}

TEST_F(MapLighting, TheFloorAcrossTheSeamIsDrawnBesideTheFocus) {
    map.SetOrigin({80, 10});  // window columns 80..99, 0..30
    UseGroundPictures();
    map.SetFullLight(true);
    // The focus in world cell (0, 34); screen point (220, 245) shows world
    // point (-15, focus y + 5), that is world cell (99, 34).
    map.UpdateLight(At(0, 34), 0, &screen);
    EXPECT_NE(screen.GetPixel(220, 245), 0);
    EXPECT_NE(screen.GetPixel(420, 245), 0);
}

}  // namespace
