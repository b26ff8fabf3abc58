// Saving and loading a game: a 500 x 500-cell world of 100 lands holding
// 20,000 placed objects and 2,000 creatures, the window open around the focus.
// The quick save writes the world file, puts the working folder together in a
// fresh slot folder and refills the window; the load checks the slot, brings
// it over the working folder, reads the world and refills the window. Both
// report wall time beside CPU time.
//
// Beside them, their plain references in the same run: the bytes of the
// saved slot written as plain files and synced once, and the same files read.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PlainFiles.h"
#include "creatures/Player.h"
#include "media/DIBitmap.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWorld = 500;
constexpr int kLandSide = 50;  // 10 x 10 lands
constexpr int kObjectsPerLand = 200;
constexpr int kCreaturesPerLand = 20;

struct SavedWorld {
    fs::path dir;
    CMainFrame frame;

    SavedWorld() {
        dir = fs::temp_directory_path() / ("qv-savebench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "Images");
        fs::create_directories(dir / "tmp");
        frame.m_Play.Saves().SetGameFolder(dir.string() + "/");
        frame.m_Play.Saves().SetCurrentFolder(dir.string() + "/tmp/");
        frame.m_Play.Saves().SetWorldFile("world.qvr");
        frame.m_World.map_master = std::make_unique<MapMaster>();
        MapMaster& map = *frame.m_World.map_master;
        frame.m_World.CreateRootGroups();
        map.SetWorldSize(kWorld, kWorld);

        CDIBitmap picture(kLandSide, kLandSide);
        picture.FillRect(0, 0, kLandSide, kLandSide, 8);
        picture.Save((dir / "Images" / "land.bmp").string());

        auto* tree = new LandGraph;
        auto root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorld, kWorld};
        Insert(*tree, map, "world.lnd", root.get());
        uint32_t seed = 1;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) & 0xFFFFFF);
        };
        for (int ly = 0; ly < kWorld / kLandSide; ++ly)
            for (int lx = 0; lx < kWorld / kLandSide; ++lx) {
                Land land("Land");
                land.bitmapname = "land.bmp";
                land.hasbitmap = 1;
                land.origin = {lx * kLandSide, ly * kLandSide};
                land.bounds = {lx * kLandSide, ly * kLandSide, (lx + 1) * kLandSide,
                               (ly + 1) * kLandSide};
                const int px = lx * kLandSide * MapMaster::CellWidth;
                const int py = ly * kLandSide * MapMaster::CellHeight;
                const int w = kLandSide * MapMaster::CellWidth;
                const int h = kLandSide * MapMaster::CellHeight;
                for (int k = 0; k < kObjectsPerLand; ++k)
                    land.KeepHolder(new ObjectHolder(Position(px + next() % w, py + next() % h, 0),
                                                     new Object("Object")));
                for (int k = 0; k < kCreaturesPerLand; ++k) {
                    auto* p = new Player;
                    p->m_iGroupNum = -1;
                    land.KeepHolder(new ObjectHolder(
                        Position(px + 40 + next() % (w - 80), py + 40 + next() % (h - 80), 0), p));
                }
                Insert(*tree, map, "land" + std::to_string(ly * 10 + lx) + ".lnd", &land);
            }
        map.landgraph = tree;
        frame.m_World.m_ptFocus = {125 * MapMaster::CellWidth, 125 * MapMaster::CellHeight};
        map.ReloadWindowAt(125, 125);
    }
    ~SavedWorld() {
        frame.m_World.DeleteGroups();
        frame.m_World.map_master->DeleteContents();
        fs::remove_all(dir);
    }
    static void Insert(LandGraph& tree, MapMaster& map, const std::string& file, Land* land) {
        auto info = std::make_unique<LandInfo>(file, land);
        info->land = nullptr;
        tree.Insert(std::move(info), &map, 1);
    }
};

void BM_QuickSave(benchmark::State& state) {
    SavedWorld world;
    for (auto _ : state) {
        world.frame.m_Play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
        if (!world.frame.m_Play.Saves().SaveGame(SavedGames::kQuickSlot))
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(BM_QuickSave)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// The same bytes as the quick save's slot, written as plain files into a
// folder and synced once.
void BM_QuickSaveReference(benchmark::State& state) {
    SavedWorld world;
    world.frame.m_Play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
    if (!world.frame.m_Play.Saves().SaveGame(SavedGames::kQuickSlot))
        state.SkipWithError("the save failed");
    const bench::SlotBytes files = bench::SlotFiles(world.dir / "quicksave");
    int64_t bytes = 0;
    for (auto _ : state) {
        if (!bench::WritePlainly(files, world.dir / "plain"))
            state.SkipWithError("a plain write failed");
        for (const auto& file : files) bytes += static_cast<int64_t>(file.second.size());
    }
    state.SetBytesProcessed(bytes);
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_QuickSaveReference)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_LoadGame(benchmark::State& state) {
    SavedWorld world;
    world.frame.m_Play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
    if (!world.frame.m_Play.Saves().SaveGame(SavedGames::kQuickSlot))
        state.SkipWithError("the save failed");
    for (auto _ : state)
        if (!world.frame.m_Play.Saves().LoadSlot(SavedGames::kQuickSlot))
            state.SkipWithError("the load failed");
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// The files of the loaded slot read.
void BM_LoadGameReference(benchmark::State& state) {
    SavedWorld world;
    world.frame.m_Play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
    if (!world.frame.m_Play.Saves().SaveGame(SavedGames::kQuickSlot))
        state.SkipWithError("the save failed");
    const fs::path slot = world.dir / "quicksave";
    int64_t bytes = 0;
    for (auto _ : state)
        for (const std::string& name : qv::ListFiles(slot.string() + "/"))
            bytes += static_cast<int64_t>(qv::ReadWholeFile((slot / name).string()).size());
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_LoadGameReference)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace
