// Bags and missiles. 10,000 PutItem calls into a tree of nested bags of 20,
// 200 and 2,000 things (the time of a call should not grow with the tree):
// stacks that join a stack somewhere in the tree, stacks of a kind the tree
// does not hold, and single things, each put in at the outermost bag. And
// 500 missiles in flight over open ground for 100 ticks (under 1 ms a tick
// wanted).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "items/Bag.h"
#include "items/Missile.h"
#include "items/Useable.h"
#include "media/DDObjects.h"
#include "platform/Rand.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

constexpr int kPuts = 10000;
constexpr int kKinds = 40;  // kinds of stack the tree holds

std::string KindName(int k) {
    return "Kind" + std::to_string(k);
}

Object* MakeStack(const std::string& name, int count) {
    auto* o = new Useable(name);
    o->m_bStackable = 1;
    o->m_iBulkNum = count;
    return o;
}

void Hold(CBag& bag, Object* item) {
    bag.AddItem(item);
    bag.SetItemCount(bag.ItemCount() + 1);
}

// A tree of `things` things: each bag is full, with seven or eight things
// and two or three bags, but for the bags made last; the stacks of the kinds
// lie all over it.
struct Tree {
    explicit Tree(int things) {
        std::vector<CBag*> open{&pack};
        int made = 0;
        for (size_t i = 0; made < things; ++i) {
            CBag* bag = open[i % open.size()];
            if (!bag->HasRoom()) {
                open.erase(open.begin() + static_cast<std::ptrdiff_t>(i % open.size()));
                continue;
            }
            if (bag->Items().size() % 4 == 3) {
                auto* inner = new CBag("Pouch");
                Hold(*bag, inner);
                open.push_back(inner);
                continue;
            }
            const int k = made % (kKinds + 5);
            Hold(*bag, k < kKinds ? MakeStack(KindName(k), 1) : new Useable("Stick"));
            ++made;
        }
    }
    CBag pack{"Pack"};
};

void BM_PutItem(benchmark::State& state) {
    World world;
    const int things = static_cast<int>(state.range(0));
    Tree tree(things);
    const int kinds = std::min(kKinds, things);
    qv::SeedRand(99);
    std::vector<int> plan;  // 0 a stack of a held kind, 1 a new kind, 2 a single thing
    for (int i = 0; i < kPuts; ++i) plan.push_back(qv::Rand() % 10 < 4 ? 0 : qv::Rand() % 2 + 1);
    int64_t merged = 0;
    for (auto _ : state) {
        std::chrono::nanoseconds spent{0};
        for (int i = 0; i < kPuts; ++i) {
            Object* item = plan[static_cast<size_t>(i)] == 0   ? MakeStack(KindName(i % kinds), 1)
                           : plan[static_cast<size_t>(i)] == 1 ? MakeStack("Rare", 1)
                                                               : new Useable("Sword");
            const auto start = std::chrono::steady_clock::now();
            const int answer = tree.pack.PutItem(item, 1);
            spent += std::chrono::steady_clock::now() - start;
            if (answer == 2 || (answer == 1 && plan[static_cast<size_t>(i)] == 0)) {
                ++merged;
                continue;  // it took a stack's place: the tree is as large as before
            }
            // A new entry goes out again, so that the tree keeps its size.
            std::unique_ptr<Object> out;
            if (answer)
                tree.pack.RemoveItem(item, item->m_iBulkNum, &out);
            else
                delete item;
        }
        state.SetIterationTime(std::chrono::duration<double>(spent).count());
    }
    benchmark::DoNotOptimize(merged);
    // One iteration is 10,000 calls: its milliseconds are 100 nanoseconds a call.
    state.SetItemsProcessed(state.iterations() * kPuts);
}
BENCHMARK(BM_PutItem)->Arg(20)->Arg(200)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

// A world of 100 x 80 cells with open ground in its window.
struct Ground {
    Ground() : map(*(world.map_master = std::make_unique<MapMaster>())) {
        map.SetWorldSize(100, 80);
        map.SetOrigin({0, 0});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).image = &floor;
    }
    CDDObject floor;  // outlives the world's map
    World world;
    MapMaster& map;
};

void BM_MissilesInFlight(benchmark::State& state) {
    constexpr int kMissiles = 500;
    constexpr int kTicks = 100;
    Ground ground;
    qv::SeedRand(7);
    for (auto _ : state) {
        state.PauseTiming();
        // Shots across the window, long enough to fly the whole time.
        for (int i = 0; i < kMissiles; ++i) {
            const Position from(1000 + qv::Rand() % 6000, 800 + qv::Rand() % 3600, 0);
            const int sx = qv::Rand() % 2 ? 1 : -1, sy = qv::Rand() % 2 ? 1 : -1;
            const Position to(from.x + sx * (2200 + qv::Rand() % 500),
                              from.y + sy * (qv::Rand() % 900), 0);
            auto* missile = new Missile;
            auto* holder = new ObjectHolder(from, missile);
            Position at = from;
            ground.world.AddFlyingObject(
                new FiredMissile(missile, -1, {from.x, from.y}, {to.x, to.y}, 0, 10, holder));
            ground.map.AddHolder(at, holder);
        }
        state.ResumeTiming();
        int32_t now = 0;
        for (int tick = 0; tick < kTicks; ++tick) {
            now += 100;
            ground.world.UpdateFlyingObjects(now, &ground.map);
        }
        state.PauseTiming();
        state.counters["flying"] = static_cast<double>(ground.world.m_FlyingObjects.size());
        ground.world.m_FlyingObjects.clear();
        state.ResumeTiming();
    }
    // One iteration is 100 ticks: its milliseconds are 10 microseconds a tick.
    state.SetItemsProcessed(state.iterations() * kTicks);
}
BENCHMARK(BM_MissilesInFlight)->Unit(benchmark::kMillisecond);

}  // namespace
