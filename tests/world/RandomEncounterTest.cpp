// Random population of cells from their seed, random points, and the
// encounter rate and check of a land.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "creatures/Player.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/RandomEncounter.h"

namespace {

using Placed = std::set<std::tuple<std::string, int, int>>;

// A map of 100 x 80 cells whose prototype table holds named shared objects.
class Population : public testing::Test {
protected:
    Population() {
        map.SetWorldSize(100, 80);
        map.SetOrigin({0, 0});
        const char* names[5][5] = {
            {"LivePine", "LivePineSmall", "DeadPine", "", ""},
            {"BigMountain", "IceMountain", "Rocks", "Rocks2", ""},
            {"", "", "", "", ""},
            {"shrub0", "shrub1", "shrub2", "shrub3", "shrub4"},
            {"DarkPatch", "Flower", "Flowers", "", ""},
        };
        for (size_t r = 0; r < 5; ++r)
            for (size_t s = 0; s < 5; ++s) {
                if (!*names[r][s]) continue;
                auto obj = std::make_unique<Object>(names[r][s]);
                obj->m_bMoveable = 2;
                map.prototypes[r][s] = obj.get();
                shared.push_back(std::move(obj));
            }
    }
    ~Population() override {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).Reset();
    }
    static Placed Of(const ObjectHolderList& list) {
        Placed out;
        for (ObjectHolder* h : list)
            out.insert({h->m_pObject->m_strGeneralName, h->pos.x, h->pos.y});
        return out;
    }
    MapCell& Dress(CellPoint world, int terrain) {
        MapCell& cell = map.GetCell(world.x, world.y);
        cell.SetTerrain(world, terrain, map);
        return cell;
    }

    std::vector<std::unique_ptr<Object>> shared;  // outlive the map
    MapMaster map;
};

// The old runtime's generator, for the tests' own expectations.
struct OldRand {
    uint32_t state;
    int operator()() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

TEST_F(Population, AForestCellSeededByItsPlaceGetsItsTreesAtTheirSpots) {
    // Cell (3, 2) of a world 100 cells wide is seeded with 203.
    MapCell& cell = Dress({3, 2}, 6);
    EXPECT_EQ(
        Of(cell.transients),
        (Placed{{"LivePine", 596, 288}, {"LivePine", 572, 322}, {"LivePineSmall", 622, 268}}));
    EXPECT_TRUE(cell.decals.IsEmpty());
    // Standing scenery is also listed with the cell's holders, never a copy.
    EXPECT_EQ(cell.holders.Count(), 3u);
    for (ObjectHolder* h : cell.holders) EXPECT_EQ(h->m_pObject->m_bMoveable, 2);
    EXPECT_TRUE(cell.IsFilled());

    // Emptied and dressed again: the same.
    const Placed first = Of(cell.transients);
    cell.Reset();
    EXPECT_TRUE(cell.holders.IsEmpty());
    Dress({3, 2}, 6);
    EXPECT_EQ(Of(cell.transients), first);
}

TEST_F(Population, OpenGroundGetsShrubsStandingAndFlowersFlat) {
    // Cell (0, 3): seed 300.
    MapCell& cell = Dress({0, 3}, 0);
    EXPECT_EQ(Of(cell.transients), (Placed{{"shrub2", 46, 378}, {"shrub4", 42, 360}}));
    EXPECT_EQ(Of(cell.decals), (Placed{{"Flowers", 32, 358}, {"Flowers", 56, 404}}));
    EXPECT_EQ(cell.holders.Count(), 2u);  // flat scenery is drawn with the floor
}

TEST_F(Population, MountainsAndIceStandAtTheCellsCornerAndOtherTerrainsGetNothing) {
    EXPECT_EQ(Of(Dress({5, 6}, 8).transients), (Placed{{"BigMountain", 800, 672}}));
    EXPECT_EQ(Of(Dress({6, 6}, 14).transients), (Placed{{"IceMountain", 960, 672}}));
    for (int terrain : {1, 2, 3, 4, 7, 9, 10, 11, 12, 13}) {
        MapCell& cell = Dress({7, 7}, terrain);
        EXPECT_TRUE(cell.transients.IsEmpty()) << terrain;
        EXPECT_TRUE(cell.decals.IsEmpty()) << terrain;
        cell.Reset();
    }
}

TEST_F(Population, TheGameSequenceGoesOnFromADrawTakenBefore) {
    qv::SeedRand(12345);
    OldRand before{12345};
    const int r0 = before();
    Dress({3, 2}, 6);
    OldRand after{static_cast<uint32_t>(r0)};
    EXPECT_EQ(qv::Rand(), after());
    EXPECT_EQ(qv::Rand(), after());
}

TEST(RandomPoint, PointsAreEvenAndKeepTheirMargin) {
    qv::SeedRand(7);
    const Position base(320, 224, 5);
    for (int margin : {6, 20, 30})
        for (int i = 0; i < 2000; ++i) {
            const Position p = RandomPointInCell(base, margin);
            EXPECT_EQ(p.x % 2, 0);
            EXPECT_EQ(p.y % 2, 0);
            EXPECT_GE(p.x, base.x + margin);
            EXPECT_LE(p.x, base.x + 160 - margin);
            EXPECT_GE(p.y, base.y + margin);
            EXPECT_LE(p.y, base.y + 112 - margin);
            EXPECT_EQ(p.z, 5);
        }
    // The first point from seed 1: draws 41 and 18467.
    qv::SeedRand(1);
    const Position p = RandomPointInCell(Position(0, 0, 0), 6);
    EXPECT_EQ(p.x, 6 + 41 % 148 + 1);
    EXPECT_EQ(p.y, 6 + 18467 % 100 + 1);
}

std::unique_ptr<RandomEncounter> Encounter(int32_t time, bool withGroup = true) {
    auto e = std::make_unique<RandomEncounter>();
    e->time = time;
    if (withGroup) e->group = new Group("Wolves");
    return e;
}

TEST(Encounters, TheRateCountsOnlyEncountersWithAGroupAndATime) {
    Land land;
    land.encounters.push_back(Encounter(1));
    land.encounters.push_back(Encounter(3));
    land.encounters.push_back(Encounter(0));         // never met
    land.encounters.push_back(Encounter(5, false));  // no group: never met
    land.nextencounter = 77;
    land.ComputeEncounterRate();
    EXPECT_EQ(land.encountertotal, 8000);
    EXPECT_DOUBLE_EQ(land.encounterinterval, 1500.0);
    EXPECT_EQ(land.nextencounter, 0);
    EXPECT_EQ(land.encounters[0]->GetDisplayName(), "Wolves [1]");

    // Huge times do not overflow the sum.
    Land big;
    big.encounters.push_back(Encounter(2000000000));
    big.encounters.push_back(Encounter(2000000000));
    big.ComputeEncounterRate();
    EXPECT_EQ(big.encountertotal, int64_t{8000000000000});
}

TEST(Ambient, EachSoundHasOneChanceInThreeHundredATickWithPanAndVolumeDrawn) {
    Land land;
    land.ambient = 1;
    int hits = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        // Per sound one draw, and two more (pan, volume) when it is played.
        OldRand expect{seed};
        for (int sound = 0; sound < 5; ++sound)
            if (expect() % 300 == 0) {
                ++hits;
                expect();
                expect();
            }
        qv::SeedRand(seed);
        EXPECT_EQ(land.Update(1000), 1);
        EXPECT_EQ(qv::Rand(), expect()) << seed;
    }
    EXPECT_GT(hits, 0);
    EXPECT_EQ(land.StopAmbientSound(), 1);
    // Without the ambient switch nothing is drawn.
    land.ambient = 0;
    qv::SeedRand(3);
    land.Update(1000);
    OldRand none{3};
    EXPECT_EQ(qv::Rand(), none());
}

TEST(Encounters, ALandWithoutUsableEncountersNeverChecks) {
    Land land;
    land.encounters.push_back(Encounter(0));
    land.ComputeEncounterRate();
    qv::SeedRand(5);
    EXPECT_EQ(land.Update(100000), 1);
    OldRand same{5};
    EXPECT_EQ(qv::Rand(), same());  // nothing was drawn
}

TEST(Encounters, ChecksComeBetweenTwentyAndThreeHundredThousandUnitsApart) {
    Land land;
    land.encounters.push_back(Encounter(1));
    land.encounters.push_back(Encounter(3));
    land.ComputeEncounterRate();
    for (uint32_t seed = 1; seed < 300; ++seed) {
        qv::SeedRand(seed);
        land.nextencounter = 0;
        const int32_t now = 1000000;
        land.UpdateEncounters(now);
        const int32_t wait = land.nextencounter - now;
        EXPECT_GE(wait, 20000) << seed;
        EXPECT_LE(wait, 300000) << seed;
        // Until then nothing happens: no draw, no new time.
        const int32_t next = land.nextencounter;
        qv::SeedRand(9);
        land.UpdateEncounters(next);
        EXPECT_EQ(land.nextencounter, next);
        OldRand same{9};
        EXPECT_EQ(qv::Rand(), same());
    }
    // The worked wait: with u = 41 (seed 1), 1500 x ln(42 / 32768) is about
    // -9989, raised to the shortest wait.
    qv::SeedRand(1);
    land.nextencounter = 0;
    land.UpdateEncounters(500);
    EXPECT_EQ(land.nextencounter, 20500);
}

// A world of one land around the view centre, with one encounter: a group of
// one creature.
class Meeting : public testing::Test {
protected:
    Meeting() {
        world.CreateRootGroups();
        map.SetWorldSize(100, 80);
        auto info = std::make_unique<LandInfo>();
        info->bounds = {0, 0, 100, 80};
        info->land = land = new Land("World");
        land->landinfo = info.get();
        map.loadedlands.push_back(land);
        map.landgraph = new LandGraph(std::move(info));
        map.ReloadWindowAt(50, 40);
        world.m_ptFocus = {50 * 160 + 80, 40 * 112 + 56};
        AddPack(2, "wolf");
        world.m_pPathFinder = &paths;
    }
    // An encounter of that weight: a group of one creature of that name.
    void AddPack(int32_t time, const std::string& creature) {
        auto e = Encounter(time);
        e->group->m_bGrouped = 1;
        auto* p = new Player;
        p->m_strSpecialName = creature;
        e->group->AddMemberDirect(p);
        land->encounters.push_back(std::move(e));
        land->ComputeEncounterRate();
    }
    ~Meeting() override {
        world.m_pPathFinder = nullptr;
        world.DeleteGroups();
        map.DeleteContents();
    }
    // The groups met so far.
    std::vector<Group*> Met() {
        std::vector<Group*> out;
        for (Member* m : world.m_pRandomEncounters->Members())
            if (m->Type() == GROUP) out.push_back(static_cast<Group*>(m));
        return out;
    }

    World world;
    MapMaster& map = world_test::GiveMap(world);
    Land* land = nullptr;  // the map's
    world_test::TestPaths paths;
};

TEST_F(Meeting, AGroupTurnsUpOnTheEllipseAroundTheViewCentre) {
    paths.reaches = [](MapMaster&, qv::Point, qv::Point) { return true; };
    qv::SeedRand(3);
    ASSERT_EQ(land->Update(1000), 1);
    const std::vector<Group*> met = Met();
    ASSERT_EQ(met.size(), 1u);
    Group* group = met[0];
    EXPECT_EQ(group->m_strSpecialName, "Random");
    EXPECT_EQ(group->m_bGrouped, 1);
    ASSERT_EQ(group->Members().size(), 1u);
    auto* wolf = qv::DynamicCast<Player>(group->Members().front());
    ASSERT_NE(wolf, nullptr);
    ASSERT_NE(wolf->m_pHolder, nullptr);
    // Half-axes 300 across and 200 down: (dx / 300)^2 + (dy / 200)^2 is 1,
    // give or take the rounding of dy down to whole pixels.
    const double dx = wolf->m_Position.x - world.m_ptFocus.x;
    const double dy = wolf->m_Position.y - world.m_ptFocus.y;
    const double r = dx * dx / 90000.0 + dy * dy / 40000.0;
    EXPECT_LE(r, 1.0 + 1e-9);
    EXPECT_GT(r, 0.98);
    // The template stays with the land.
    EXPECT_EQ(land->encounters[0]->group->Members().size(), 1u);
}

TEST_F(Meeting, TheEncounterIsPickedByWeightInListOrder) {
    // Wolves weigh 2, bears 3: k = rand() mod 10; k 0..2 meets the wolves,
    // 3..5 the bears, and 6..9 (past the end) the bears as the last.
    AddPack(3, "bear");
    ASSERT_EQ(land->encountertotal, 10000);
    paths.reaches = [](MapMaster&, qv::Point, qv::Point) { return true; };
    int wolves = 0, bearsMet = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        OldRand draws{seed};
        draws();  // the wait
        const int k = draws() % 10;
        qv::SeedRand(seed);
        land->nextencounter = 0;
        ASSERT_EQ(land->Update(1000), 1);
        std::vector<Group*> met = Met();
        ASSERT_EQ(met.size(), 1u);
        ASSERT_EQ(met[0]->Members().size(), 1u);
        const std::string name = met[0]->Members().front()->m_strSpecialName;
        EXPECT_EQ(name, k <= 2 ? "wolf" : "bear") << "k " << k;
        (name == "wolf" ? wolves : bearsMet)++;
        world.m_pRandomEncounters->RemoveMember(met[0]);
        delete met[0];
    }
    EXPECT_GT(wolves, 0);
    EXPECT_GT(bearsMet, wolves);
}

TEST_F(Meeting, AnEncounterWithNoWayToTheCentreIsDropped) {
    paths.reaches = [](MapMaster&, qv::Point, qv::Point) { return false; };
    qv::SeedRand(3);
    EXPECT_EQ(land->Update(1000), 0);
    EXPECT_TRUE(Met().empty());
    // The next check still waits its time.
    EXPECT_GE(land->nextencounter, 21000);
}

TEST(Encounters, AnEncountersGroupTakesNoPlaceInTheTableOfGroups) {
    World world;
    world.CreateRootGroups();
    auto* real = new Group("Guards");
    world.m_pAllGroups->AddMember(real);
    real->SetGroupNumber(5);
    auto e = Encounter(2);
    e->group->m_iOwnGroupNum = 5;  // stored under a number a world group has
    const record_test::Bytes bytes = record_test::StoreObject(*e);
    auto back = record_test::LoadObject<RandomEncounter>(bytes);
    ASSERT_TRUE(back && back->group);
    EXPECT_EQ(world.GetGroupByNumber(5), real);
    back.reset();  // the template goes; the world's group keeps its number
    EXPECT_EQ(world.GetGroupByNumber(5), real);
    world.DeleteGroups();
}

TEST(Encounters, AnEncountersGroupJoinsNoGroupOfTheWorld) {
    World world;
    world.CreateRootGroups();
    auto* real = new Group("Guards");
    world.m_pAllGroups->AddMember(real);
    real->SetGroupNumber(5);
    // Stored as standing alone, under a numbered group, and under the random
    // encounters: read back, each template is its encounter's alone, and the
    // world's groups can go before it.
    for (int32_t parent : {-1, 5, -2}) {
        auto e = Encounter(2);
        e->group->m_iGroupNum = parent;
        const record_test::Bytes bytes = record_test::StoreObject(*e);
        auto back = record_test::LoadObject<RandomEncounter>(bytes);
        ASSERT_TRUE(back && back->group);
        EXPECT_EQ(back->group->m_pGroup, nullptr) << "stored under " << parent;
        EXPECT_EQ(world.m_pAllGroups->Members().size(), 2u);
        EXPECT_EQ(real->Members().size(), 0u);
        EXPECT_EQ(world.m_pRandomEncounters->Members().size(), 0u);
    }
    world.DeleteGroups();
}

TEST(Encounters, ARecordWithItsGroupAndTimeReadsBack) {
    auto e = Encounter(4);
    e->group->m_bGrouped = 1;
    const record_test::Bytes bytes = record_test::StoreObject(*e);
    auto back = record_test::LoadObject<RandomEncounter>(bytes);
    ASSERT_TRUE(back && back->group);
    EXPECT_EQ(back->time, 4);
    EXPECT_EQ(back->group->m_strSpecialName, "Wolves");
}

}  // namespace
