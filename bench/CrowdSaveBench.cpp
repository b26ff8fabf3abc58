// The start world the game ships, with the creatures' looks, and a crowd of
// creatures of ten species in groups of ten over its window (the argument:
// how many), as a game that has run a while holds them.
//
// BM_CrowdQuickSave times the quick save (the world file, the lands and the
// party written into a fresh slot folder and synced, the window refilled);
// beside it BM_CrowdQuickSaveReference writes the same files plainly into a
// folder and syncs them once. BM_CrowdLoad times the load of that slot (the
// check, the copy, the read and the window filled); BM_CrowdLoadReference
// reads the same files. BM_CrowdWindowMove moves the window to and fro by the
// distance play moves it at, the crowd in it, and reports the worst move.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "PlainFiles.h"
#include "creatures/Species.h"
#include "data/CreatureArt.h"
#include "data/StartWorld.h"
#include "platform/Files.h"
#include "platform/Rand.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "world/Group.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGroupSize = 10;
const char* const kKinds[] = {"GiantRat", "GiantRatGrey", "GiantRatBrown", "Snake",    "Goblin",
                              "Human",    "Dog",          "WatchSpider",   "Skeleton", "Scorpion"};
// The focus moves this many cells between two window moves.
constexpr int kStep = 18;

bool IsOpen(int32_t terrain) {
    return terrain != 3 && terrain != 7 && terrain != 8 && terrain != 10 && terrain != 14;
}

struct CrowdScene {
    fs::path dir;
    std::unique_ptr<CMainFrame> frame;
    MapMaster* map = nullptr;
    bool ok = false;
    int placed = 0;

    explicit CrowdScene(int creatures) {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        dir = fs::temp_directory_path() / ("qv-crowdbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        WriteStartWorld(dir.string());
        std::string error;
        ok = art::WriteCreatureImages(dir.string() + "/Images/", error);
        frame = std::make_unique<CMainFrame>();
        ok = frame->InitDirectDraw(0) != 0 && ok;
        World& world = frame->m_World;
        world.map_master = std::make_unique<MapMaster>();
        map = world.map_master.get();
        world.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", dir.string());
        ok = ok && frame->ApplySettings(settings, "settings").empty();
        LoadGlobalImages(&world);
        ok = ok && frame->m_Play.Saves().OpenStartWorld() == 1;
        frame->m_Play.MoveToLand();
        Populate(creatures);
        frame->m_iStage = 3;
        frame->RunTick();  // sets up play
    }
    ~CrowdScene() {
        frame.reset();
        InvalidateGlobalImages();
        fs::remove_all(dir);
    }

    void Populate(int creatures) {
        World& world = frame->m_World;
        std::vector<CellPoint> open;
        for (int i = 1; i < MapMaster::wide - 1; ++i)
            for (int j = 1; j < MapMaster::high - 1; ++j)
                if (map->GetCell(i, j).IsFilled() && IsOpen(map->GetCell(i, j).terrain))
                    open.push_back({i, j});
        qv::SeedRand(2024);
        Group* group = nullptr;
        for (int n = 0; n < creatures; ++n) {
            if (n % kGroupSize == 0) {
                group = new Group("Group");
                world.m_pAllGroups->AddMember(group);
            }
            CellPoint w{map->origin.x + open[static_cast<size_t>(qv::Rand()) % open.size()].x,
                        map->origin.y + open[static_cast<size_t>(qv::Rand()) % open.size()].y};
            map->WrapCell(w);
            Position at(w.x * MapMaster::CellWidth + 20 + (n * 37) % 120,
                        w.y * MapMaster::CellHeight + 20 + (n * 53) % 70, 0);
            Player* p = Species::Make(kKinds[static_cast<size_t>(n) % std::size(kKinds)]).release();
            p->m_iHostileMode = 0;
            p->m_ptStay = w;
            if (bench::PlaceCreature(*map, *group, p, at)) ++placed;
        }
    }
    bool Save() {
        frame->m_Play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
        return frame->m_Play.Saves().SaveGame(SavedGames::kQuickSlot) != 0;
    }
    fs::path Slot() const { return dir / "quicksave"; }
};

double Millis(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void Report(benchmark::State& state, std::vector<double> ms, const CrowdScene& scene) {
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
    state.counters["creatures"] = scene.placed;
}

void BM_CrowdQuickSave(benchmark::State& state) {
    CrowdScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) state.SkipWithError("the start world did not open");
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!scene.Save()) state.SkipWithError("the save failed");
        ms.push_back(Millis(std::chrono::steady_clock::now() - t0));
    }
    Report(state, ms, scene);
}

// The quick save's files written plainly into a folder and synced once.
void BM_CrowdQuickSaveReference(benchmark::State& state) {
    CrowdScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok || !scene.Save()) state.SkipWithError("the save failed");
    const bench::SlotBytes files = bench::SlotFiles(scene.Slot());
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!bench::WritePlainly(files, scene.dir / "plain"))
            state.SkipWithError("a plain write failed");
        ms.push_back(Millis(std::chrono::steady_clock::now() - t0));
    }
    Report(state, ms, scene);
    state.counters["files"] = static_cast<double>(files.size());
}

void BM_CrowdLoad(benchmark::State& state) {
    CrowdScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok || !scene.Save()) state.SkipWithError("the save failed");
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!scene.frame->m_Play.Saves().LoadSlot(SavedGames::kQuickSlot))
            state.SkipWithError("the load failed");
        ms.push_back(Millis(std::chrono::steady_clock::now() - t0));
    }
    Report(state, ms, scene);
}

// The loaded slot's files read.
void BM_CrowdLoadReference(benchmark::State& state) {
    CrowdScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok || !scene.Save()) state.SkipWithError("the save failed");
    std::vector<double> ms;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        for (const std::string& name : qv::ListFiles(scene.Slot().string() + "/"))
            benchmark::DoNotOptimize(qv::ReadWholeFile((scene.Slot() / name).string()));
        ms.push_back(Millis(std::chrono::steady_clock::now() - t0));
    }
    Report(state, ms, scene);
}

void BM_CrowdWindowMove(benchmark::State& state) {
    CrowdScene scene(static_cast<int>(state.range(0)));
    if (!scene.ok) state.SkipWithError("the start world did not open");
    MapMaster& map = *scene.map;
    World& world = scene.frame->m_World;
    const qv::Point home = world.m_ptFocus;
    std::vector<double> ms;
    for (auto _ : state)
        for (int i = 1; i <= 8; ++i) {
            world.m_ptFocus = {home.x + (i % 2 ? kStep * MapMaster::CellWidth : 0), home.y};
            map.WaitForReadAhead();
            const auto t0 = std::chrono::steady_clock::now();
            scene.frame->m_Play.MoveToLand();
            ms.push_back(Millis(std::chrono::steady_clock::now() - t0));
        }
    Report(state, ms, scene);
}

}  // namespace

BENCHMARK(BM_CrowdQuickSave)->Arg(2000)->Arg(20000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrowdQuickSaveReference)
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrowdLoad)->Arg(2000)->Arg(20000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrowdLoadReference)
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrowdWindowMove)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
