// Land streaming: lands come and go with the window, nested lands claim their
// cells first, objects and creatures move between the cells and the land
// files without being lost or doubled, and the map's record.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "structures/Traversable.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/LandFixture.h"
#include "world/Map.h"
#include "world/MapFixture.h"
#include "world/ObjectHolder.h"

namespace {

using landtest::GameFolder;

constexpr int32_t kWorldW = 200;
constexpr int32_t kWorldH = 160;

Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * 160 + dx, cy * 112 + dy, 0};
}

// A world on disk: a root land of open ground and lands with pictures.
class Streaming : public testing::Test {
protected:
    Streaming() {
        world.CreateRootGroups();
        NewWorld();
    }
    // A world of nothing but its root land of open ground.
    void NewWorld() {
        map.SetWorldSize(kWorldW, kWorldH);
        auto root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorldW, kWorldH};
        tree = new LandGraph;
        AddLand("world.lnd", std::move(root));
        map.landgraph = tree;
    }
    ~Streaming() override {
        map.DeleteContents();
        world.DeleteGroups();
    }

    // Writes the land to its file and enters it in the tree, not loaded.
    LandInfo* AddLand(const std::string& file, std::unique_ptr<Land> land) {
        auto info = std::make_unique<LandInfo>(file, land.get());
        info->land = nullptr;
        LandInfo* raw = info.get();
        tree->Insert(std::move(info), &map, 1);
        return raw;
    }
    // A land whose picture of w x h pixels (every one `pixel`) lies at `origin`.
    std::unique_ptr<Land> PicturedLand(const std::string& name, CellPoint origin, int w, int h,
                                       uint8_t pixel) {
        folder.Picture(name + ".bmp", w, h, pixel);
        auto land = std::make_unique<Land>(name);
        land->bitmapname = name + ".bmp";
        land->hasbitmap = 1;
        land->origin = origin;
        land->bounds = {origin.x, origin.y, origin.x + w, origin.y + h};
        map.WrapRect(land->bounds);
        return land;
    }
    static void Keep(Land& land, Object* obj, const Position& pos) {
        land.KeepHolder(new ObjectHolder(pos, obj));
    }
    static Object* Thing(const std::string& name) {
        auto* obj = new Object("Object");
        obj->m_strSpecialName = name;
        return obj;
    }
    static Player* Creature(const std::string& name) {
        auto* p = new Player;
        p->m_strSpecialName = name;
        p->m_iGroupNum = -1;
        return p;
    }

    // Every named object of the world, wherever it is: on the map or in a
    // land in memory or in a land file, with the number of times it is found.
    std::map<std::string, int> Census() {
        std::map<std::string, int> seen;
        std::set<ObjectHolder*> onMap;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders) onMap.insert(h);
        for (ObjectHolder* h : onMap)
            if (h->m_pObject) ++seen[h->m_pObject->m_strSpecialName];
        std::function<void(LandGraph&)> walk = [&](LandGraph& node) {
            for (auto& c : node.children) walk(*c);
            if (!node.info) return;
            std::unique_ptr<Land> read;
            Land* land = node.info->land;
            if (!land) {
                read = Land::ReadFile(node.info->FilePath());
                land = read.get();
            }
            for (ObjectHolder* h : land->holders)
                if (h->m_pObject) ++seen[h->m_pObject->m_strSpecialName];
        };
        walk(*map.landgraph);
        return seen;
    }
    // The holders on the map that pass the test, each counted once.
    size_t PlacedWhere(const std::function<bool(ObjectHolder*)>& test) {
        std::set<ObjectHolder*> onMap;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (test(h)) onMap.insert(h);
        return onMap.size();
    }
    size_t PlacedNamed(const std::string& name) {
        return PlacedWhere([&](ObjectHolder* h) {
            return h->m_pObject && h->m_pObject->m_strSpecialName == name;
        });
    }
    size_t PlacedCreatures() {
        return PlacedWhere([](ObjectHolder* h) { return h->Type() == PLAYER; });
    }
    size_t GroupedCreatures() {
        size_t n = 0;
        for (Member* m : world.m_pAllGroups->Members()) n += m->Type() == PLAYER;
        return n;
    }

    GameFolder folder;
    landtest::FrameInFolder folder_frame{folder};
    World& world = folder_frame.frame.m_World;
    MapMaster& map = world_test::GiveMap(world);
    LandGraph* tree = nullptr;  // the map's
};

TEST_F(Streaming, NestedLandsClaimTheirCellsFirstWhateverTheOrderOfInsertion) {
    for (bool innerFirst : {false, true}) {
        map.DeleteContents();
        NewWorld();
        auto outer = [&] {
            return AddLand("outer.lnd", PicturedLand("outer", {10, 10}, 20, 20, 9));
        };
        auto inner = [&] {
            return AddLand("inner.lnd", PicturedLand("inner", {15, 15}, 5, 5, 16));
        };
        LandInfo* a = innerFirst ? nullptr : outer();
        LandInfo* b = inner();
        if (innerFirst) a = outer();

        map.ReloadWindowAt(20, 20);
        ASSERT_TRUE(a->land && b->land);
        CellPoint wc;
        auto landAt = [&](int x, int y) {
            EXPECT_TRUE(map.CellToWindow({x, y}, wc));
            return map.GetCell(wc.x, wc.y).land;
        };
        EXPECT_EQ(landAt(15, 15), b->land);
        EXPECT_EQ(landAt(19, 19), b->land);
        EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 1);
        EXPECT_EQ(landAt(20, 19), a->land);
        EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 5);
        EXPECT_EQ(landAt(10, 10), a->land);
        EXPECT_EQ(landAt(30, 30), map.GetRootLand());
        EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 0);
        EXPECT_EQ(map.loadedlands.size(), 3u);
    }
}

TEST_F(Streaming, AMixedCellTakesTheTerrainMostOfItsNeighboursHave) {
    // A 3 x 3 picture: forest around, mountains on one side, a mixed cell in
    // the middle; beside it a column of mixed cells with no terrain near.
    folder.Picture("mix.bmp", 8, 3, 10, [](CDIBitmap& b) {
        b.SetPixel(0, 0, 48);
        b.SetPixel(1, 0, 48);
        b.SetPixel(1, 1, 72);  // mixed
        for (int y = 0; y < 3; ++y) {
            b.SetPixel(3, y, 0);                                   // left to the root land
            for (int x = 4; x < 8; ++x) b.SetPixel(x, y, 88 + x);  // mixed only
        }
    });
    auto land = std::make_unique<Land>("mix");
    land->bitmapname = "mix.bmp";
    land->hasbitmap = 1;
    land->origin = {40, 40};
    land->bounds = {40, 40, 48, 43};
    AddLand("mix.lnd", std::move(land));
    map.ReloadWindowAt(42, 41);
    CellPoint wc;
    ASSERT_TRUE(map.CellToWindow({41, 41}, wc));
    EXPECT_EQ(map.GetCell(wc.x, wc.y).imagetype, 15);
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 6);  // six forest, two mountains
    // Columns 44 to 47 have no terrain near: the top-left one keeps its own
    // code, those below take the terrain of the mixed cell above, those to
    // the right that of the mixed cell to their left.
    ASSERT_TRUE(map.CellToWindow({44, 40}, wc));
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 34);
    EXPECT_EQ(map.GetCell(wc.x, wc.y + 2).terrain, 34);
    EXPECT_EQ(map.GetCell(wc.x + 1, wc.y).terrain, 34);
    EXPECT_EQ(map.GetCell(wc.x + 1, wc.y).imagetype, 35);
    // The cell left to the root land is open ground.
    EXPECT_EQ(map.GetCell(wc.x - 1, wc.y).land, map.GetRootLand());
}

TEST_F(Streaming, AMixedCellCountsNeitherCode2Nor4AndATieGoesToTheLowestCode) {
    // A mixed cell (pixel 72, code 15) amid eight neighbours: the terrain
    // codes 0 to 14 among the nine cells are counted, but for 2 and 4; the
    // most counted wins, the lowest on a tie; with none counted the cell
    // keeps its own code (the cells above and left belong to the root land).
    // Pixels: 9 code 5, 10 code 6, 16 code 1, 17 code 4, 24 code 2.
    struct Row {
        const char* rule;
        std::vector<uint8_t> around;  // the eight neighbours, row by row
        int terrain;
    };
    const Row rows[] = {
        {"four of 2 and two of 4 are not counted: 1 wins", {24, 24, 17, 16, 24, 17, 16, 24}, 1},
        {"a tie of 5 and 1: the lower code", {9, 16, 9, 16, 16, 9, 16, 9}, 1},
        {"a tie of 6 and 5: 5", {10, 9, 10, 9, 9, 10, 9, 10}, 5},
        {"five of 6 against three of 5: 6", {10, 10, 10, 9, 9, 10, 9, 10}, 6},
        {"one 5 among 2s and 4s: 5", {24, 24, 17, 17, 9, 24, 17, 24}, 5},
        {"only 2 and 4 around: its own code", {24, 17, 24, 17, 17, 24, 17, 24}, 15},
    };
    int k = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const std::string name = "mixed" + std::to_string(k);
        folder.Picture(name + ".bmp", 3, 3, 72, [&](CDIBitmap& b) {
            int n = 0;
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 3; ++x)
                    if (x != 1 || y != 1) b.SetPixel(x, y, r.around[static_cast<size_t>(n++)]);
        });
        auto land = std::make_unique<Land>(name);
        land->bitmapname = name + ".bmp";
        land->hasbitmap = 1;
        land->origin = {40 + 4 * k, 40};
        land->bounds = {40 + 4 * k, 40, 43 + 4 * k, 43};
        AddLand(name + ".lnd", std::move(land));
        map.ReloadWindowAt(50, 41);
        CellPoint wc;
        ASSERT_TRUE(map.CellToWindow({41 + 4 * k, 41}, wc));
        EXPECT_EQ(map.GetCell(wc.x, wc.y).imagetype, 15);
        EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, r.terrain);
        ++k;
    }
}

TEST_F(Streaming, EveryObjectStaysOnTheMapOrInItsLandExactlyOnceAcrossSeamsAndLands) {
    // Four lands, two of them across the world's seams, each with things and
    // creatures; the root land has some too.
    struct Spot {
        std::string name;
        CellPoint origin;
    };
    const Spot spots[] = {
        {"north", {30, 150}}, {"east", {190, 40}}, {"mid", {90, 70}}, {"far", {150, 120}}};
    int made = 0;
    for (const Spot& s : spots) {
        auto land = PicturedLand(s.name, s.origin, 20, 20, 8);
        for (int k = 0; k < 6; ++k) {
            CellPoint c{(s.origin.x + 2 + 3 * k) % kWorldW, (s.origin.y + 3 + 2 * k) % kWorldH};
            Keep(*land, Thing(s.name + " thing " + std::to_string(k)), At(c.x, c.y));
            ++made;
        }
        for (int k = 0; k < 2; ++k) {
            CellPoint c{(s.origin.x + 5 + 7 * k) % kWorldW, (s.origin.y + 10) % kWorldH};
            Keep(*land, Creature(s.name + " creature " + std::to_string(k)), At(c.x, c.y));
            ++made;
        }
        AddLand(s.name + ".lnd", std::move(land));
    }
    {
        // The root land's own things, far from the other lands.
        auto root = Land::ReadFile(tree->info->FilePath());
        Keep(*root, Thing("root thing"), At(120, 20));
        Keep(*root, Creature("root creature"), At(122, 20));
        made += 2;
        root->WriteFile(tree->info->FilePath());
    }

    auto check = [&](const std::string& where) {
        auto census = Census();
        EXPECT_EQ(static_cast<int>(census.size()), made) << where;
        for (const auto& [name, n] : census) EXPECT_EQ(n, 1) << name << " at " << where;
        EXPECT_EQ(GroupedCreatures(), PlacedCreatures()) << where;
    };
    // Around the world both ways, twice, through every land and both seams.
    for (int lap = 0; lap < 2; ++lap) {
        for (int x = 0; x <= kWorldW; x += 20) {
            map.ReloadWindowAt(x % kWorldW, 50);
            check("x " + std::to_string(x));
        }
        for (int y = 0; y <= kWorldH; y += 20) {
            map.ReloadWindowAt(40, y % kWorldH);
            check("y " + std::to_string(y));
        }
        for (int k = 0; k <= 10; ++k) {
            map.ReloadWindowAt((195 + 17 * k) % kWorldW, (150 + 13 * k) % kWorldH);
            check("diagonal " + std::to_string(k));
        }
    }
    // Only the lands that meet the window are in memory.
    map.ReloadWindowAt(100, 80);
    for (Land* land : map.loadedlands)
        EXPECT_TRUE(map.RectsOverlap(land->landinfo->bounds, map.windowrect));
    EXPECT_EQ(map.loadedlands.size(), 2u);  // the root and mid
}

TEST_F(Streaming, WhatCannotStandWhereItWasStaysInItsLandAndACreatureStaysOnTheMap) {
    // Mountains from the land's left edge past the window's right edge: a
    // creature pushed east finds no room before it leaves the window.
    auto land = PicturedLand("rock", {10, 10}, 40, 20, 48);
    Keep(*land, Creature("climber"), At(15, 15));
    Keep(*land, Thing("boulder"), At(16, 16));
    AddLand("rock.lnd", std::move(land));
    map.ReloadWindowAt(20, 20);
    Land* rock = map.loadedlands.front();  // children are loaded first
    ASSERT_EQ(rock->GetDisplayName(), "rock");
    // The thing waits in its land for the next reload; the creature stands
    // in the cell of its position, and in its group.
    ASSERT_EQ(rock->holders.size(), 1u);
    EXPECT_EQ(rock->holders[0]->m_pObject->m_strSpecialName, "boulder");
    EXPECT_EQ(PlacedCreatures(), 1u);
    EXPECT_EQ(GroupedCreatures(), 1u);
    auto census = Census();
    EXPECT_EQ(census["climber"], 1);
    EXPECT_EQ(census["boulder"], 1);
    // Written back, the creature is in the land again and in no group.
    map.ResetCells();
    EXPECT_EQ(rock->holders.size(), 2u);
    EXPECT_EQ(PlacedCreatures(), 0u);
    EXPECT_EQ(GroupedCreatures(), 0u);
}

TEST_F(Streaming, CreaturesOutsideTheWindowWaitInTheirLandAndTheDeadOfAGroupGo) {
    // The window around (20, 20) ends at column 45; the land reaches 59.
    auto land = PicturedLand("edge", {40, 10}, 20, 20, 8);
    Player* waiting = Creature("waiting");
    waiting->Events().Post(1, 5000);
    waiting->Events().Post(3, 7000);
    Keep(*land, waiting, At(55, 15));
    Player* dead = Creature("dead");
    dead->m_iHitPoints = 0;
    dead->m_bGrouped = 1;
    Keep(*land, dead, At(56, 15));
    AddLand("edge.lnd", std::move(land));
    map.ReloadWindowAt(20, 20);

    Land* edge = map.loadedlands.front();
    ASSERT_EQ(edge->GetDisplayName(), "edge");
    ASSERT_EQ(edge->holders.size(), 1u);
    auto* kept = qv::DynamicCast<Player>(edge->holders[0]->m_pObject);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->m_strSpecialName, "waiting");
    EXPECT_EQ(kept->m_pKeptInLand.Get(), edge);
    // Its queue holds one THINK at once, whatever it held before.
    ASSERT_EQ(kept->Events().Count(), 1);
    EXPECT_EQ(kept->Events().At(0).m_iType, 0);
    EXPECT_EQ(kept->Events().At(0).m_iTime, 0);
    // It is numbered, though in no group.
    ASSERT_GE(kept->m_iPlayerNumber, 0);
    EXPECT_EQ(world.m_PlayerArray[static_cast<size_t>(kept->m_iPlayerNumber)], kept);
    EXPECT_EQ(kept->m_pGroup, nullptr);
    // The dead member of a group is gone for good.
    map.ReloadWindowAt(50, 20);
    auto census = Census();
    EXPECT_EQ(census.count("dead"), 0u);
    EXPECT_EQ(census["waiting"], 1);
}

TEST_F(Streaming, ALandFileThatCannotBeReadLeavesTheWorldAsItWas) {
    auto near = PicturedLand("near", {10, 10}, 20, 20, 8);
    Keep(*near, Thing("stone"), At(12, 12));
    AddLand("near.lnd", std::move(near));
    AddLand("far.lnd", PicturedLand("far", {80, 10}, 20, 20, 8));
    map.ReloadWindowAt(20, 20);
    const std::vector<Land*> loaded = map.loadedlands;
    const CellPoint origin = map.origin;
    const auto nearBytes = qv::ReadWholeFile(folder.Working("near.lnd").string());
    // The far land's file is cut short.
    auto farBytes = qv::ReadWholeFile(folder.Working("far.lnd").string());
    farBytes.resize(farBytes.size() / 2);
    qv::WriteWholeFile(folder.Working("far.lnd").string(), farBytes);

    try {
        map.ReloadWindowAt(85, 20);
        ADD_FAILURE() << "a cut land file was read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_TRUE(e.file.ends_with("far.lnd")) << e.file;
    }
    EXPECT_EQ(map.origin, origin);
    EXPECT_EQ(map.loadedlands, loaded);
    EXPECT_EQ(PlacedNamed("stone"), 1u);
    EXPECT_EQ(map.GetCell(0, 0).IsFilled(), true);
    EXPECT_EQ(qv::ReadWholeFile(folder.Working("near.lnd").string()), nearBytes);
    EXPECT_EQ(qv::ReadWholeFile(folder.Working("far.lnd").string()), farBytes);
}

// The lands near the window are read ahead of a move; what the move brings in
// is what the files hold when it comes, as a plain read gives it, also when a
// file or a picture was replaced after it was read ahead.
TEST_F(Streaming, ALandReadAheadIsTheLandItsFileHoldsWhenTheWindowComes) {
    auto near = PicturedLand("near", {10, 10}, 20, 20, 9);
    Keep(*near, Thing("stone"), At(12, 12));
    AddLand("near.lnd", std::move(near));
    auto far = PicturedLand("far", {60, 10}, 20, 20, 9);
    Keep(*far, Thing("log"), At(62, 12));
    AddLand("far.lnd", std::move(far));
    auto other = PicturedLand("other", {60, 30}, 10, 10, 9);
    Keep(*other, Thing("bush"), At(62, 32));
    AddLand("other.lnd", std::move(other));
    map.ReloadWindowAt(20, 20);
    map.WaitForReadAhead();
    // The far land gets a thing more, and the other land's picture another
    // kind of ground, after both were read ahead.
    {
        auto land = Land::ReadFile(folder.Working("far.lnd").string());
        Keep(*land, Thing("late log"), At(64, 14));
        land->WriteFile(folder.Working("far.lnd").string());
    }
    folder.Picture("other.bmp", 10, 10, 16);
    const int64_t hits = map.ReadAheadHits();
    map.ReloadWindowAt(55, 20);
    EXPECT_GT(map.ReadAheadHits(), hits);  // far's picture was read ahead
    EXPECT_EQ(PlacedNamed("log"), 1u);
    EXPECT_EQ(PlacedNamed("late log"), 1u);
    EXPECT_EQ(PlacedNamed("bush"), 1u);
    CellPoint wc;
    ASSERT_TRUE(map.CellToWindow({65, 20}, wc));
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 5);
    ASSERT_TRUE(map.CellToWindow({65, 35}, wc));
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 1);
    // Each land in memory is the land a plain read of its file gives, its
    // picture included.
    for (Land* land : map.loadedlands) {
        SCOPED_TRACE(land->landinfo->filename);
        const auto plain = Land::ReadFile(land->landinfo->FilePath());
        ASSERT_EQ(static_cast<bool>(plain->bitmap), static_cast<bool>(land->bitmap));
        EXPECT_EQ(plain->bounds, land->bounds);
        if (!plain->bitmap) continue;
        EXPECT_EQ(plain->bitmap->StoredBits(), land->bitmap->StoredBits());
    }
    auto census = Census();
    for (const char* name : {"stone", "log", "late log", "bush"})
        EXPECT_EQ(census[name], 1) << name;
}

// A land file whose rectangle is not its entry's in the world's index is
// refused, naming the file, before the window moves: saved, the world would
// take its size from the root land and write explored cells of the wrong size.
TEST_F(Streaming, ALandFileWhoseRectangleIsNotItsIndexEntrysIsRefused) {
    LandInfo* far = AddLand("far.lnd", PicturedLand("far", {80, 10}, 20, 20, 8));
    map.ReloadWindowAt(20, 20);
    const CellPoint origin = map.origin;
    const std::vector<Land*> loaded = map.loadedlands;
    const std::tuple<const char*, CellRect, bool> rows[] = {
        {"the same rectangle", {80, 10, 100, 30}, true},
        {"a row more in the index", {80, 10, 100, 31}, false},
        {"a column less in the index", {80, 10, 99, 30}, false},
        {"moved by a cell", {81, 10, 101, 30}, false},
    };
    for (const auto& [rule, entry, read] : rows) {
        SCOPED_TRACE(rule);
        far->bounds = entry;
        try {
            map.ReloadWindowAt(85, 20);
            EXPECT_TRUE(read && far->land);
            map.ReloadWindowAt(20, 20);  // back, the land written to its file
            EXPECT_EQ(far->bounds, entry);
        } catch (const qv::ArchiveError& e) {
            EXPECT_FALSE(read) << e.what();
            EXPECT_TRUE(e.file.ends_with("far.lnd") && e.cause == qv::ArchiveError::BadIndex)
                << e.file << " " << e.what();
            EXPECT_EQ(std::pair(map.origin, map.loadedlands), std::pair(origin, loaded));
        }
    }
}

TEST_F(Streaming, ACreatureOfAMissingGroupMakesThatGroupAndABoundlessNumberIsRefused) {
    auto land = PicturedLand("vale", {10, 10}, 20, 20, 8);
    Player* lost = Creature("lost");
    lost->m_iGroupNum = 7;
    Keep(*land, lost, At(14, 14));
    Player* wild = Creature("wild");
    wild->m_iGroupNum = 2000000000;
    Keep(*land, wild, At(18, 14));
    AddLand("vale.lnd", std::move(land));
    map.ReloadWindowAt(20, 20);
    Group* seven = world.GetGroupByNumber(7);
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(seven->m_bGrouped, 0);
    ASSERT_EQ(seven->Members().size(), 1u);
    EXPECT_EQ(seven->Members().front()->m_strSpecialName, "lost");
    EXPECT_LE(world.m_GroupArray.size(), static_cast<size_t>(Group::kMaxGroupNumber) + 1);
    bool wildInRoot = false;
    for (Member* m : world.m_pAllGroups->Members()) wildInRoot |= m->m_strSpecialName == "wild";
    EXPECT_TRUE(wildInRoot);
}

TEST_F(Streaming, CellsWithoutALandGiveTheirHoldersToTheRootLand) {
    map.ReloadWindowAt(20, 20);
    // A cell no land fills (as after a picture pixel below 8 everywhere).
    CellPoint wc{3, 3};
    MapCell& cell = map.GetCell(wc.x, wc.y);
    Land* root = map.GetRootLand();
    ASSERT_NE(root, nullptr);
    cell.land = nullptr;
    Position pos = At(map.origin.x + 3, map.origin.y + 3);
    auto* h = new ObjectHolder(pos, Thing("stray"));
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    map.ResetCells();
    EXPECT_FALSE(map.IsListedAnywhere(h));
    EXPECT_NE(std::find(root->holders.begin(), root->holders.end(), h), root->holders.end());
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) EXPECT_EQ(map.GetCell(i, j).land, nullptr);
}

TEST_F(Streaming, ALandRemovedFromTheTreeLeavesNoCellNamingIt) {
    LandInfo* vale = AddLand("vale.lnd", PicturedLand("vale", {10, 10}, 20, 20, 9));
    map.ReloadWindowAt(20, 20);
    Land* land = vale->land;
    ASSERT_NE(land, nullptr);
    tree->Remove(vale, &map);
    EXPECT_EQ(std::count(map.loadedlands.begin(), map.loadedlands.end(), land), 0);
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) ASSERT_EQ(map.GetCell(i, j).land, nullptr);
    // Streamed again, the root land covers the cells the land had.
    map.ReloadWindowAt(20, 20);
    CellPoint wc;
    ASSERT_TRUE(map.CellToWindow({15, 15}, wc));
    EXPECT_EQ(map.GetCell(wc.x, wc.y).land, map.GetRootLand());
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 0);
}

TEST_F(Streaming, DeletingTheContentsDropsEveryLandAndHolder) {
    auto land = PicturedLand("vale", {10, 10}, 20, 20, 8);
    Keep(*land, Thing("thing"), At(12, 12));
    Keep(*land, Creature("creature"), At(14, 14));
    AddLand("vale.lnd", std::move(land));
    map.ReloadWindowAt(20, 20);
    ASSERT_EQ(PlacedCreatures(), 1u);
    map.DeleteContents();
    EXPECT_EQ(map.landgraph, nullptr);
    EXPECT_TRUE(map.loadedlands.empty());
    EXPECT_EQ(GroupedCreatures(), 0u);  // the creature left its group as it went
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) {
            EXPECT_TRUE(map.GetCell(i, j).holders.IsEmpty());
            EXPECT_FALSE(map.GetCell(i, j).IsFilled());
        }
}

class NoWorld : public maptest::MapFixture {};

TEST_F(NoWorld, WithoutAnyLandTheCellsKeepTheirHolders) {
    auto* thing = Make<Object>();
    ObjectHolder* h = Hold(thing);
    Position pos = At(20, 20);
    ASSERT_EQ(map.AddHolder(pos, h), 1);
    map.ResetCells();
    EXPECT_TRUE(map.IsListedAnywhere(h));
    EXPECT_FALSE(map.GetCell(10, 10).IsFilled());
}

TEST(StreamingOrder, PlatformsArePlacedFirstSoThatWhatStandsOnThemFindsThem) {
    using namespace maptest;
    auto deckImage = MakeImage(100, 60, 50, 30, [](int, int) { return kDeck; });
    World world;
    MapMaster& map = world_test::GiveMap(world);
    map.SetWorldSize(100, 80);
    // A land of water, in memory; a crate listed before the raft it stands on.
    auto info = std::make_unique<LandInfo>();
    info->bounds = {0, 0, 100, 80};
    Land* sea = info->land = new Land("Sea");
    sea->landinfo = info.get();
    sea->bitmap = std::make_unique<CDIBitmap>(100, 80);
    sea->bitmap->FillRect(0, 0, 100, 80, 32);
    map.loadedlands.push_back(sea);
    map.landgraph = new LandGraph(std::move(info));
    const Position rp = At(50, 40);
    auto* crate = new ObjectHolder(Position(rp.x - 20, rp.y, 0), new Object("Object"));
    sea->KeepHolder(crate);
    auto* raft = new Pictured<Traversable>;
    raft->image = deckImage.get();
    sea->KeepHolder(new ObjectHolder(rp, raft));

    map.ReloadWindowAt(50, 40);
    EXPECT_TRUE(sea->holders.empty());
    EXPECT_TRUE(map.IsListedAnywhere(crate));
    map.DeleteContents();
}

TEST_F(Streaming, TheMapRecordHoldsTheTreeAndTheExploredBitsAndABadWorldChangesNothing) {
    map.SetExplored({9, 2});
    map.SetExplored({0, 159});
    qv::Archive out;
    out.SerializeClass(&MapMaster::classInfo);
    map.Serialize(out);
    std::vector<uint8_t> bytes = out.TakeBytes();
    // After the tree: 25 column groups of 160 rows.
    ASSERT_GE(bytes.size(), 25u * 160u);
    const size_t bits = bytes.size() - 25 * 160;
    EXPECT_EQ(bytes[bits + 1 * 160 + 2], 0x02);  // cell 9 of row 2: group 1, bit 1
    EXPECT_EQ(bytes[bits + 0 * 160 + 159], 0x01);

    MapMaster other;
    {
        qv::Archive in(bytes);
        in.SerializeClass(&MapMaster::classInfo);
        other.Serialize(in);
        EXPECT_EQ(in.Remaining(), 0u);
    }
    EXPECT_EQ(other.worldcellx, kWorldW);
    EXPECT_EQ(other.worldcelly, kWorldH);
    EXPECT_TRUE(other.IsExplored({9, 2}));
    EXPECT_TRUE(other.IsExplored({0, 159}));
    EXPECT_FALSE(other.IsExplored({8, 2}));
    ASSERT_TRUE(other.landgraph && other.landgraph->info);
    EXPECT_EQ(other.landgraph->info->filename, "world.lnd");

    // A record of schema 1 ends after the tree: nothing is explored.
    {
        std::vector<uint8_t> old(bytes.begin(), bytes.begin() + static_cast<long>(bits));
        old[2] = 1;
        qv::Archive in(old);
        in.SerializeClass(&MapMaster::classInfo);
        MapMaster fresh;
        fresh.Serialize(in);
        EXPECT_FALSE(fresh.IsExplored({9, 2}));
        EXPECT_EQ(fresh.worldcellx, kWorldW);
    }
    // Cut explored bits, a world smaller than the window or without a root
    // land: refused, and the map keeps its world.
    auto refused = [&](const std::vector<uint8_t>& record) {
        qv::Archive in(record, "bad.qvr");
        in.SerializeClass(&MapMaster::classInfo);
        EXPECT_THROW(other.Serialize(in), qv::ArchiveError);
        EXPECT_EQ(other.worldcellx, kWorldW);
        EXPECT_TRUE(other.IsExplored({9, 2}));
        ASSERT_TRUE(other.landgraph && other.landgraph->info);
    };
    // Every cut of the tree after the map's class record (15 bytes), and the
    // explored bits one byte short.
    for (size_t n = 15; n < bits; ++n)
        refused(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
    refused(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1));
    for (std::pair<int32_t, int32_t> size :
         {std::pair{-100, 10}, {50, 80}, {200, 47}, {20000000, 80}}) {
        LandGraph tiny;
        tiny.info = std::make_unique<LandInfo>();
        tiny.info->bounds = {0, 0, size.first, size.second};
        qv::Archive rec;
        rec.SerializeClass(&MapMaster::classInfo);
        rec.WriteObject(&tiny);
        refused(rec.TakeBytes());
    }
    LandGraph empty;
    qv::Archive rec;
    rec.SerializeClass(&MapMaster::classInfo);
    rec.WriteObject(&empty);
    refused(rec.TakeBytes());
    EXPECT_EQ(map.SetWorldSize(-100, 10), 0);
    EXPECT_EQ(map.worldcellx, kWorldW);
}

}  // namespace

namespace {

// The map's record of schema 1, written by hand: its class, then the tree of
// one root land whose rectangle gives the world's size; no explored bits.
record_test::Bytes OldMapRecord(int32_t w, int32_t h) {
    using namespace record_test;
    Bytes b;
    PutNewClass(b, "MapMaster", 1);
    PutNewClass(b, "LandGraph", 1);
    PutWord(b, 0);  // no children
    PutNewClass(b, "LandInfo", 1);
    PutInts(b, {0, 0, w, h});
    PutString(b, "world.lnd");
    PutString(b, "World");
    return b;
}

// A world is as large as its root land: the game holds one of 51 x 48 cells
// (its window) up to 16777216 cells, the size bounded before anything is made
// for it, and refuses a larger one naming the file, the world unchanged.
TEST(MapRecord, AWorldIsHeldFromTheWindowsSizeUpToTheLargest) {
    struct Row {
        const char* rule;
        int32_t w, h;
        bool held;
    };
    const Row rows[] = {
        {"the window's size", 51, 48, true},
        {"a column narrower than the window", 50, 48, false},
        {"the largest square world, 4096 x 4096", 4096, 4096, true},
        {"a row more than the largest", 4096, 4097, false},
        {"the narrowest world at its longest: 16776215 cells", 51, 328965, true},
        {"a row longer: 16777266 cells", 51, 328966, false},
        {"as wide as a position reaches, 48 rows", 13421772, 48, false},
        {"the 73-byte file that asked for gigabytes", 13421772, 19173961, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(MapMaster::FitsLargestWorld(r.w, r.h), r.held || r.w < MapMaster::wide);
        MapMaster map;
        ASSERT_EQ(map.SetWorldSize(60, 60), 1);
        const record_test::Bytes record = OldMapRecord(r.w, r.h);
        qv::Archive in(record, "huge.qvr");
        try {
            in.SerializeClass(&MapMaster::classInfo);
            map.Serialize(in);
            EXPECT_TRUE(r.held) << "read";
            EXPECT_EQ(map.worldcellx, r.w);
            EXPECT_EQ(map.worldcelly, r.h);
            EXPECT_FALSE(map.IsExplored({r.w - 1, r.h - 1}));
        } catch (const qv::ArchiveError& e) {
            EXPECT_FALSE(r.held) << e.what();
            EXPECT_EQ(e.file, "huge.qvr");
            EXPECT_NE(std::string(e.what()).find("at most 16777216 cells"), std::string::npos)
                << e.what();
            EXPECT_EQ(map.worldcellx, 60);
            EXPECT_EQ(map.worldcelly, 60);
        }
        // Nor is a world of that size made any other way.
        MapMaster sized;
        if (r.w >= MapMaster::wide) {
            EXPECT_EQ(sized.SetWorldSize(r.w, r.h), r.held ? 1 : 0);
        }
    }
}

}  // namespace
