// The map's hot paths: moving many creatures one step each, and the light of
// the cells around the focus with many light sources.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "structures/LightSource.h"
#include "world/Map.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"

namespace {

// A 500 x 500-cell world with the window at its origin and every cell filled.
struct World {
    // The window's size in pixels.
    static constexpr int width = MapMaster::wide * MapMaster::CellWidth;
    static constexpr int height = MapMaster::high * MapMaster::CellHeight;
    CDDObject floor;
    MapMaster map;
    World() {
        map.SetWorldSize(500, 500);
        map.SetOrigin({0, 0});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).image = &floor;
    }
};

// 10,000 living creatures spread over the window, each stepping 2 pixels
// along a diagonal that turns back at the window's edges; every step is
// tested against the creatures around it before the holder moves.
void BM_MoveTenThousand(benchmark::State& state) {
    World world;
    MapMaster& map = world.map;
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Player>> objects;
    std::vector<ObjectHolder*> holders;
    std::vector<std::pair<int, int>> steps;
    const int width = World::width, height = World::height;
    for (int k = 0; k < count; ++k) {
        objects.push_back(std::make_unique<Player>());
        objects.back()->m_iHitPoints = 10;
        Position pos((k * 7919) % (width - 40) + 20, (k * 104729) % (height - 40) + 20);
        auto* h = new ObjectHolder(pos, objects.back().get());
        if (!map.AddHolder(pos, h)) {
            delete h;
            objects.pop_back();
            continue;
        }
        holders.push_back(h);
        steps.emplace_back(k % 2 ? 2 : -2, k % 3 ? 2 : -2);
    }
    for (auto _ : state) {
        for (size_t k = 0; k < holders.size(); ++k) {
            ObjectHolder* h = holders[k];
            auto& [dx, dy] = steps[k];
            Position next(h->pos.x + dx, h->pos.y + dy, 0);
            if (next.x < 10 || next.x >= width - 10) dx = -dx;
            if (next.y < 10 || next.y >= height - 10) dy = -dy;
            next = Position(h->pos.x + dx, h->pos.y + dy, 0);
            if (!map.CheckMove(h->m_pObject, next, nullptr, 1, 0)) map.MoveHolder(h->pos, next, h);
        }
    }
    state.counters["creatures"] = static_cast<double>(holders.size());
    state.counters["moves/s"] = benchmark::Counter(
        static_cast<double>(holders.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    for (ObjectHolder* h : holders) {
        map.RemoveHolder(h->pos, h);
        delete h;
    }
}
BENCHMARK(BM_MoveTenThousand)->Arg(10000)->Unit(benchmark::kMillisecond);

// 200 light sources and the light of the cells around the focus, as every
// frame computes it: spread over the whole window (state.range(1) == 0), or
// all crowded within reach of the lit cells (1).
void BM_LightTwoHundred(benchmark::State& state) {
    World world;
    MapMaster& map = world.map;
    map.daylight = 20;
    const int lights = static_cast<int>(state.range(0));
    const bool crowded = state.range(1) != 0;
    const int width = World::width, height = World::height;
    for (int k = 0; k < lights; ++k) {
        auto* light = new LightSource;
        light->m_iStrength = 120;
        light->m_iRadius = 400;
        Position pos =
            crowded ? Position(25 * 160 + (k * 37) % 1120 - 480, 24 * 112 + (k * 53) % 784 - 336)
                    : Position((k * 7919) % width, (k * 104729) % height);
        ObjectHolder* h = new ObjectHolder(pos, light);
        if (!map.AddHolder(pos, h)) {
            delete h;
            delete light;
        }
    }
    const Position focus(25 * 160 + 80, 24 * 112 + 56);
    int32_t now = 0;
    for (auto _ : state) {
        map.ComputeLight(focus, now);
        now += 100;
        benchmark::DoNotOptimize(map.GetSample(25, 24, 2, 4));
    }
    state.counters["lights"] = static_cast<double>(map.GetLightHolders().size());
}
BENCHMARK(BM_LightTwoHundred)->Args({200, 0})->Args({200, 1})->Unit(benchmark::kMicrosecond);

}  // namespace
