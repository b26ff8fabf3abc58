// Path finding and walking. 1,000 A* searches between random open cells of
// the 51 x 48 window with 30% of the cells solid, with the search's cap
// (under 50 microseconds each wanted) and without it, and searches for goals
// no walk reaches, which run to the cap. And 500 creatures walking their
// scripted cells for 100 ticks (under 1 ms a tick wanted).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "media/DDObjects.h"
#include "platform/Rand.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

constexpr int kSearches = 1000;

// A world of 100 x 80 cells with the window at its corner, every window
// cell filled, `blocked` percent of them solid.
struct Ground {
    explicit Ground(int blocked) : map(*(world.map_master = std::make_unique<MapMaster>())) {
        map.SetWorldSize(100, 80);
        map.SetOrigin({0, 0});
        qv::SeedRand(12345);
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) {
                MapCell& c = map.GetCell(i, j);
                c.image = &floor;
                c.terrain = qv::Rand() % 100 < blocked ? 7 : 0;
            }
    }
    qv::Point RandomOpenCell() {
        for (;;) {
            qv::Point c{qv::Rand() % MapMaster::wide, qv::Rand() % MapMaster::high};
            if (map.GetCell(c.x, c.y).terrain == 0) return c;
        }
    }
    CDDObject floor;  // outlives the world's map
    World world;
    MapMaster& map;
};

struct Pair {
    qv::Point start, goal;
};

// A search without the cap on its expansions.
class UncappedSearch : public AStar {
public:
    UncappedSearch() { m_iMaxExpansions = INT32_MAX; }
};

template <class Search>
void RunSearches(benchmark::State& state, Ground& world, const std::vector<Pair>& pairs) {
    int64_t found = 0;
    for (auto _ : state) {
        for (const Pair& p : pairs) {
            Search search;
            search.FindPath(p.start.x, p.start.y, p.goal.x, p.goal.y, &world.map, nullptr);
            found += search.Found();
        }
    }
    benchmark::DoNotOptimize(found);
    // One iteration is 1,000 searches: its milliseconds are microseconds a search.
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pairs.size()));
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

// Random pairs of open cells.
std::vector<Pair> RandomPairs(Ground& world) {
    std::vector<Pair> pairs;
    for (int i = 0; i < kSearches; ++i)
        pairs.push_back({world.RandomOpenCell(), world.RandomOpenCell()});
    return pairs;
}

void BM_AStarCapped(benchmark::State& state) {
    Ground world(30);
    RunSearches<AStar>(state, world, RandomPairs(world));
}
BENCHMARK(BM_AStarCapped)->Unit(benchmark::kMillisecond);

void BM_AStarUncapped(benchmark::State& state) {
    Ground world(30);
    RunSearches<UncappedSearch>(state, world, RandomPairs(world));
}
BENCHMARK(BM_AStarUncapped)->Unit(benchmark::kMillisecond);

// Goals beyond the window, which no walk reaches: every search runs until
// its cap, or until it has seen every cell it can reach.
void BM_AStarFarGoal(benchmark::State& state) {
    Ground world(30);
    std::vector<Pair> pairs;
    for (int i = 0; i < kSearches; ++i) {
        const qv::Point s = world.RandomOpenCell();
        pairs.push_back({s, {s.x + 60, s.y + qv::Rand() % 20 - 10}});
    }
    RunSearches<AStar>(state, world, pairs);
}
BENCHMARK(BM_AStarFarGoal)->Unit(benchmark::kMillisecond);

// 500 creatures with three scripted cells each, walking among 10% solid
// cells around the view centre; the time of one tick of all their turns.
void BM_WalkersTick(benchmark::State& state) {
    Ground world(10);
    world.world.m_ptFocus = {25 * 160, 24 * 112};
    std::vector<std::unique_ptr<Player>> creatures;
    std::vector<std::unique_ptr<ObjectHolder>> holders;
    while (creatures.size() < 500) {
        const qv::Point home = world.RandomOpenCell();
        auto p = std::make_unique<Player>();
        Position at(home.x * 160 + 20 + qv::Rand() % 120, home.y * 112 + 20 + qv::Rand() % 70, 0);
        auto h = std::make_unique<ObjectHolder>(at, p.get());
        if (!world.map.AddHolder(at, h.get())) continue;
        p->m_Position = h->pos;
        p->m_ptStay = home;
        for (int k = 0; k < 3; ++k) {
            const qv::Point c = world.RandomOpenCell();
            p->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(c.x, c.y));
        }
        creatures.push_back(std::move(p));
        holders.push_back(std::move(h));
    }
    int32_t now = 1000;
    for (int i = 0; i < 20; ++i) {
        now += 100;
        for (auto& p : creatures) p->Update(now, &world.map);
    }
    // One iteration is one tick.
    for (auto _ : state) {
        now += 100;
        for (auto& p : creatures) p->Update(now, &world.map);
    }
    for (auto& h : holders) world.map.RemoveHolder(h->pos, h.get());
}
BENCHMARK(BM_WalkersTick)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace
