// The map's hot paths: moving many creatures one step each, and the light of
// the cells around the focus with many light sources.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
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

// Creatures spread over the window, each with the step it takes; `count`
// are placed, each on its own spot.
struct Crowd {
    std::vector<std::unique_ptr<Player>> objects;
    std::vector<ObjectHolder*> holders;
    std::vector<std::pair<int, int>> steps;
    MapMaster& map;
    Crowd(MapMaster& m, int count) : map(m) {
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
    }
    ~Crowd() {
        for (ObjectHolder* h : holders) {
            map.RemoveHolder(h->pos, h);
            delete h;
        }
    }
    // Every creature steps 2 pixels along a diagonal that turns back at the
    // window's edges; every step is tested against the creatures around it
    // before the holder moves.
    void Step() {
        const int width = World::width, height = World::height;
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
};

// Light sources spread over the whole window, as a world places them.
void PlaceLights(MapMaster& map, int lights, std::vector<std::unique_ptr<ObjectHolder>>& holders) {
    for (int k = 0; k < lights; ++k) {
        auto* light = new LightSource;
        light->m_iStrength = 120;
        light->m_iRadius = 400;
        Position pos((k * 7907) % World::width, (k * 104723) % World::height);
        auto h = std::make_unique<ObjectHolder>(pos, light);
        if (map.AddHolder(pos, h.get()))
            holders.push_back(std::move(h));
        else
            delete light;
    }
}

void RemoveLights(MapMaster& map, std::vector<std::unique_ptr<ObjectHolder>>& holders) {
    for (auto& h : holders) {
        map.RemoveHolder(h->pos, h.get());
        Object* light = h->m_pObject;
        h.reset();
        delete light;
    }
}

// ---- the same work on plain arrays, measured in the same run ----

// A bare list-per-cell map: bodies of a creature's size listed by cell, each
// step tested against the bodies of its cell by the same spacing rule. With
// `Rest` 0 the bodies are 16 bytes: the same walk with every body in cache,
// which shows how much of the growth with the crowd is the lists' length
// and how much the memory the bodies take.
template <size_t Rest>
struct PlainCrowdOf {
    struct Body {
        int32_t x, y, radius, hp;
        std::array<char, Rest> rest;
    };
    std::vector<std::unique_ptr<Body>> bodies;
    std::vector<std::pair<int, int>> steps;
    std::vector<std::vector<Body*>> cells{MapMaster::wide * MapMaster::high};
    static size_t CellOf(int32_t x, int32_t y) {
        return static_cast<size_t>(x / MapMaster::CellWidth * MapMaster::high +
                                   y / MapMaster::CellHeight);
    }
    explicit PlainCrowdOf(int count) {
        const int width = World::width, height = World::height;
        for (int k = 0; k < count; ++k) {
            auto b = std::make_unique<Body>();
            b->x = (k * 7919) % (width - 40) + 20;
            b->y = (k * 104729) % (height - 40) + 20;
            b->radius = 3;
            b->hp = 10;
            cells[CellOf(b->x, b->y)].push_back(b.get());
            bodies.push_back(std::move(b));
            steps.emplace_back(k % 2 ? 2 : -2, k % 3 ? 2 : -2);
        }
    }
    bool Blocked(const Body* mover, int32_t x, int32_t y) const {
        for (const Body* o : cells[CellOf(x, y)]) {
            if (o == mover || o->hp < 1) continue;
            const int64_t dx = o->x - x, dy = o->y - y;
            const int64_t r = mover->radius + o->radius;
            if (dx * dx + dy * dy / 2 < r * r) return true;
        }
        return false;
    }
    void Step() {
        const int width = World::width, height = World::height;
        for (size_t k = 0; k < bodies.size(); ++k) {
            Body* b = bodies[k].get();
            auto& [dx, dy] = steps[k];
            if (b->x + dx < 10 || b->x + dx >= width - 10) dx = -dx;
            if (b->y + dy < 10 || b->y + dy >= height - 10) dy = -dy;
            const int32_t nx = b->x + dx, ny = b->y + dy;
            if (Blocked(b, nx, ny)) continue;
            auto& from = cells[CellOf(b->x, b->y)];
            from.erase(std::find(from.begin(), from.end(), b));
            b->x = nx;
            b->y = ny;
            cells[CellOf(nx, ny)].push_back(b);
        }
    }
};

using PlainCrowd = PlainCrowdOf<sizeof(Player) - 4 * sizeof(int32_t)>;
using CompactCrowd = PlainCrowdOf<0>;

// The light of the lit cells around the focus on plain arrays: daylight plus
// every light within 3 cells, sampled at the same 5 x 8 points per cell.
struct PlainLight {
    std::vector<int32_t> x, y, strength, radius;
    std::vector<int32_t> samples;
    explicit PlainLight(int lights) {
        for (int k = 0; k < lights; ++k) {
            x.push_back((k * 7907) % World::width);
            y.push_back((k * 104723) % World::height);
            strength.push_back(120);
            radius.push_back(400);
        }
        samples.resize(6 * 7 * MapMaster::SamplesPerCell);
    }
    void Compute(int32_t daylight) {
        const int32_t fx = 25, fy = 24;
        int32_t* s = samples.data();
        for (int32_t r = 0; r < 6; ++r) {
            const int32_t j = fy - 3 + r;
            const int32_t shift = r == 0 ? -1 : r <= 2 ? 0 : r - 2;
            for (int32_t i = fx + shift - 4; i <= fx + shift + 2; ++i) {
                for (int32_t n = 0; n < MapMaster::SamplesPerCell; ++n) s[n] = daylight;
                for (size_t l = 0; l < x.size(); ++l) {
                    const int32_t li = x[l] / MapMaster::CellWidth;
                    const int32_t lj = y[l] / MapMaster::CellHeight;
                    if (std::abs(li - i) > 3 || std::abs(lj - j) > 3) continue;
                    const double rr = radius[l];
                    for (int32_t sj = 0; sj < MapMaster::SamplesY; ++sj)
                        for (int32_t si = 0; si < MapMaster::SamplesX; ++si) {
                            const double dx = i * 160 + 16 + 32 * si - x[l];
                            const double dy = j * 112 + 4 + 14 * sj - y[l];
                            const double d2 = dx * dx + dy * dy;
                            if (d2 < rr * rr)
                                s[sj * MapMaster::SamplesX + si] +=
                                    static_cast<int32_t>(strength[l] * (1.0 - std::sqrt(d2) / rr));
                        }
                }
                s += MapMaster::SamplesPerCell;
            }
        }
    }
};

void BM_MoveTenThousandReference(benchmark::State& state) {
    PlainCrowd crowd(static_cast<int>(state.range(0)));
    for (auto _ : state) crowd.Step();
    state.counters["ns/move"] = benchmark::Counter(
        static_cast<double>(crowd.bodies.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MoveTenThousandCompactReference(benchmark::State& state) {
    CompactCrowd crowd(static_cast<int>(state.range(0)));
    for (auto _ : state) crowd.Step();
    state.counters["ns/move"] = benchmark::Counter(
        static_cast<double>(crowd.bodies.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MoveAmongLightsReference(benchmark::State& state) {
    PlainCrowd crowd(10000);
    PlainLight light(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        crowd.Step();
        light.Compute(20);
        benchmark::DoNotOptimize(light.samples.data());
    }
}

// A moving crowd without lights: 1,000, 10,000 and 100,000 creatures (the
// cost of a move should not grow with the crowd).
void BM_MoveTenThousand(benchmark::State& state) {
    World world;
    Crowd crowd(world.map, static_cast<int>(state.range(0)));
    for (auto _ : state) crowd.Step();
    state.counters["creatures"] = static_cast<double>(crowd.holders.size());
    state.counters["ns/move"] = benchmark::Counter(
        static_cast<double>(crowd.holders.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MoveTenThousand)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveTenThousandReference)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveTenThousandCompactReference)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// 10,000 creature moves and then the full light of the frame, with 200 and
// with 2,000 light sources placed on the map.
void BM_MoveAmongLights(benchmark::State& state) {
    World world;
    MapMaster& map = world.map;
    map.daylight = 20;
    std::vector<std::unique_ptr<ObjectHolder>> lights;
    PlaceLights(map, static_cast<int>(state.range(0)), lights);
    Crowd crowd(map, 10000);
    const Position focus(25 * 160 + 80, 24 * 112 + 56);
    int32_t now = 0;
    for (auto _ : state) {
        crowd.Step();
        map.ComputeLight(focus, now);
        now += 100;
        benchmark::DoNotOptimize(map.GetSample(25, 24, 2, 4));
    }
    state.counters["lights"] = static_cast<double>(map.GetLightHolders().size());
    state.counters["creatures"] = static_cast<double>(crowd.holders.size());
    RemoveLights(map, lights);
}
BENCHMARK(BM_MoveAmongLights)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveAmongLightsReference)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

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
