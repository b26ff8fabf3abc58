// Land streaming: the focus walks across a 500 x 500-cell world of 100 lands
// holding 20,000 placed objects and 2,000 creatures, and every window move
// (ResetCells, writing the lands that leave, reading those that come, filling
// and placing) is timed on its own. The time spent in land file reading and
// writing is shown apart.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "media/DIBitmap.h"
#include "shell/MainFrm.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

namespace fs = std::filesystem;

MapMaster& GiveMap(World& world) {
    world.map_master = std::make_unique<MapMaster>();
    return *world.map_master;
}

constexpr int kWorld = 500;
constexpr int kLandSide = 50;  // 10 x 10 lands
constexpr int kObjectsPerLand = 200;
constexpr int kCreaturesPerLand = 20;
// The focus moves this many cells between reloads: from the window's middle
// to where the frame asks for a reload.
constexpr int kStep = 18;

struct StreamWorld {
    fs::path dir;
    CMainFrame frame;  // keeps the game folder, and the world
    MapMaster& map = GiveMap(frame.m_World);

    // With oneLand every object lies in the root land, the world's only one.
    // `crowd` more creatures stand in the first land, around the window's
    // first place, with no group: they all join "All Groups".
    explicit StreamWorld(bool oneLand = false, int crowd = 0) {
        dir = fs::temp_directory_path() / ("qv-landbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "Images");
        fs::create_directories(dir / "tmp");
        frame.m_Play.Saves().SetGameFolder(dir.string() + "/");
        frame.m_World.CreateRootGroups();
        map.SetWorldSize(kWorld, kWorld);

        CDIBitmap picture(kLandSide, kLandSide);
        picture.FillRect(0, 0, kLandSide, kLandSide, 8);
        for (int k = 0; k < kLandSide; ++k) picture.SetPixel(k, k, 9);  // a line of forest
        picture.Save((dir / "Images" / "land.bmp").string());

        auto tree = new LandGraph;
        auto root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorld, kWorld};
        if (!oneLand) Insert(*tree, "world.lnd", root.get());
        uint32_t seed = 1;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) & 0xFFFFFF);
        };
        for (int ly = 0; ly < kWorld / kLandSide; ++ly)
            for (int lx = 0; lx < kWorld / kLandSide; ++lx) {
                auto made = std::make_unique<Land>("Land");
                Land* land = oneLand ? root.get() : made.get();
                made->bitmapname = "land.bmp";
                made->hasbitmap = 1;
                made->origin = {lx * kLandSide, ly * kLandSide};
                made->bounds = {lx * kLandSide, ly * kLandSide, (lx + 1) * kLandSide,
                                (ly + 1) * kLandSide};
                const int px = lx * kLandSide * MapMaster::CellWidth;
                const int py = ly * kLandSide * MapMaster::CellHeight;
                const int w = kLandSide * MapMaster::CellWidth;
                const int h = kLandSide * MapMaster::CellHeight;
                for (int k = 0; k < kObjectsPerLand; ++k)
                    land->KeepHolder(new ObjectHolder(Position(px + next() % w, py + next() % h, 0),
                                                      new Object("Object")));
                for (int k = 0; k < kCreaturesPerLand + (lx == 0 && ly == 0 ? crowd : 0); ++k) {
                    auto* p = new Player;
                    p->m_iGroupNum = -1;
                    land->KeepHolder(new ObjectHolder(
                        Position(px + 40 + next() % (w - 80), py + 40 + next() % (h - 80), 0), p));
                }
                if (!oneLand) Insert(*tree, "land" + std::to_string(ly * 10 + lx) + ".lnd", land);
            }
        if (oneLand) Insert(*tree, "world.lnd", root.get());
        map.landgraph = tree;
    }
    ~StreamWorld() {
        frame.m_World.DeleteGroups();
        map.DeleteContents();
        fs::remove_all(dir);
    }
    void Insert(LandGraph& tree, const std::string& file, Land* land) {
        auto info = std::make_unique<LandInfo>(file, land);
        info->land = nullptr;
        tree.Insert(std::move(info), &map, 1);
    }
};

double Millis(int64_t nanos) {
    return static_cast<double>(nanos) / 1e6;
}

// Moves the window to each place in turn, timing each move and the time its
// land files took. Between two moves the files near the window are read
// ahead, as the ticks between two moves let them be in the game.
void TimeMoves(MapMaster& map, const std::vector<CellPoint>& places, std::vector<double>& moves,
               std::vector<double>& files) {
    for (const CellPoint& c : places) {
        map.WaitForReadAhead();
        map.landFileNanos = 0;
        const auto start = std::chrono::steady_clock::now();
        map.ReloadWindowAt(c.x, c.y);
        const auto end = std::chrono::steady_clock::now();
        moves.push_back(
            Millis(std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count()));
        files.push_back(Millis(map.landFileNanos));
    }
}

// The files the moves found read ahead, and those they read themselves.
void ReadAheadCounters(benchmark::State& state, const MapMaster& map) {
    state.counters["read_ahead"] = static_cast<double>(map.ReadAheadHits());
    state.counters["read_at_move"] = static_cast<double>(map.ReadAheadMisses());
}

void BM_LandStreamingWindowMove(benchmark::State& state) {
    StreamWorld world(state.range(0) != 0);
    MapMaster& map = world.map;
    // Across the world east, then south, then diagonally: over both seams.
    std::vector<CellPoint> path;
    for (int x = 0; x <= kWorld + kStep; x += kStep) path.push_back({(25 + x) % kWorld, 25});
    for (int y = 0; y <= kWorld + kStep; y += kStep) path.push_back({25, (25 + y) % kWorld});
    for (int d = 0; d <= kWorld + kStep; d += kStep)
        path.push_back({(250 + d) % kWorld, (250 + d) % kWorld});

    std::vector<double> moves, files;
    map.ReloadWindowAt(path[0].x, path[0].y);  // the first load is not a move
    for (auto _ : state) TimeMoves(map, path, moves, files);
    std::vector<double> sorted = moves;
    std::sort(sorted.begin(), sorted.end());
    const size_t worst =
        static_cast<size_t>(std::max_element(moves.begin(), moves.end()) - moves.begin());
    state.counters["moves"] = static_cast<double>(moves.size());
    state.counters["median_ms"] = sorted[sorted.size() / 2];
    state.counters["worst_ms"] = sorted.back();
    state.counters["worst_files_ms"] = files[worst];
    std::vector<double> sortedFiles = files;
    std::sort(sortedFiles.begin(), sortedFiles.end());
    state.counters["median_files_ms"] = sortedFiles[sortedFiles.size() / 2];
    // The worst move once its land file time is taken off: the map's own work.
    double worstOwn = 0;
    for (size_t k = 0; k < moves.size(); ++k) worstOwn = std::max(worstOwn, moves[k] - files[k]);
    state.counters["worst_without_files_ms"] = worstOwn;
    state.counters["p90_ms"] = sorted[sorted.size() * 9 / 10];
    state.counters["lands_loaded"] = static_cast<double>(map.loadedlands.size());
    size_t placed = 0;
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j) placed += map.GetCell(i, j).holders.Count();
    size_t waiting = 0;
    for (Land* land : map.loadedlands) waiting += land->holders.size();
    ReadAheadCounters(state, map);
    state.counters["listings"] = static_cast<double>(placed);
    state.counters["not_placed"] = static_cast<double>(waiting);
}
// One land file of 200 objects and 20 creatures read and written.
void BM_LandFileReadWrite(benchmark::State& state) {
    StreamWorld world;
    const std::string path = (world.dir / "tmp" / "land0.lnd").string();
    int64_t readNs = 0, writeNs = 0, storeNs = 0, bytes = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        auto land = Land::ReadFile(path);
        auto t1 = std::chrono::steady_clock::now();
        land->WriteFile(path);
        auto t2 = std::chrono::steady_clock::now();
        readNs += std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count();
        writeNs += std::chrono::duration_cast<std::chrono::nanoseconds>(t2 - t1).count();
        bytes = static_cast<int64_t>(land->StoreBytes().size());
        auto t3 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(land->StoreBytes());
        storeNs += std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now() - t3)
                       .count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["read_ms"] = Millis(readNs) / n;
    state.counters["write_ms"] = Millis(writeNs) / n;
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["store_ms"] = Millis(storeNs) / n;
}
BENCHMARK(BM_LandFileReadWrite)->Unit(benchmark::kMillisecond);

// Argument 0: the hundred lands; 1: every object in one land.
BENCHMARK(BM_LandStreamingWindowMove)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

// The window moving to and fro across the seam of two lands while a crowd of
// creatures (the argument) stands in it: every move gives each creature it
// holds back to its land and places it again. Its cost should grow with the
// creatures moved, no faster.
void BM_WindowMoveCrowded(benchmark::State& state) {
    const int crowd = static_cast<int>(state.range(0));
    StreamWorld world(false, crowd);
    MapMaster& map = world.map;
    std::vector<CellPoint> places;
    for (int i = 0; i < 8; ++i) places.push_back({i % 2 ? 25 : 25 + kStep, 25});
    map.ReloadWindowAt(25, 25);
    std::vector<double> moves, files;
    for (auto _ : state) TimeMoves(map, places, moves, files);
    std::vector<double> sorted = moves;
    std::sort(sorted.begin(), sorted.end());
    state.counters["creatures"] = crowd;
    state.counters["median_ms"] = sorted[sorted.size() / 2];
    state.counters["worst_ms"] = sorted.back();
    double worstOwn = 0;
    for (size_t i = 0; i < moves.size(); ++i) worstOwn = std::max(worstOwn, moves[i] - files[i]);
    state.counters["worst_without_files_ms"] = worstOwn;
    state.counters["us_per_creature"] = sorted[sorted.size() / 2] * 1000.0 / crowd;
}
BENCHMARK(BM_WindowMoveCrowded)
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
