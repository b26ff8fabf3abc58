// The start world the game ships, brought into play as start-up does, with
// 2,000 creatures in 200 groups of ten over its loaded window.
//
// BM_StartWorldTick times 1,000 whole ticks (update and draw) one by one and
// reports the median, the worst and the share over 10 ms: with argument 1 the
// creatures are the game's own, thinking and planning their walks to their
// scripted cells; with argument 0 they only pace to and fro, the plain
// reference of the same tick; with argument 2 they are creatures of ten
// species (rats, snakes, goblins, people, dogs, spiders, skeletons,
// scorpions) walking to their scripted cells, each drawn with its species'
// look from the look file the data program writes.
//
// BM_StartWorldPathSearch times the path finder between cells of the window
// 50 to 95 cells apart, per search and per expansion, as a search of its own
// (0) and as a walker's (1); beside it,
// BM_StartWorldPathSearchPlain runs a plain four-neighbour A* with a binary
// heap over the same steps (the same step answers, estimate and cap), reading
// the map as the path finder does (0) or not at all (1).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <queue>
#include <vector>

#include "BenchSupport.h"
#include "creatures/AStar.h"
#include "creatures/PlayerMove.h"
#include "creatures/Species.h"
#include "data/CreatureArt.h"
#include "data/StartWorld.h"
#include "platform/Rand.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "world/Group.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCreatures = 2000;
constexpr int kGroupSize = 10;
constexpr int kTimedTicks = 1000;
// The kinds of the mixed crowd, in turn. They keep the peace among
// themselves, so that they walk rather than fight.
const char* const kCrowdKinds[] = {"GiantRat", "GiantRatGrey", "GiantRatBrown", "Snake",
                                   "Goblin",   "Human",        "Dog",           "WatchSpider",
                                   "Skeleton", "Scorpion"};
constexpr int kSpecies = 2;

bool IsOpen(int32_t terrain) {
    return terrain != 3 && terrain != 7 && terrain != 8 && terrain != 10 && terrain != 14;
}

struct StartWorldScene {
    fs::path dir;
    std::unique_ptr<CMainFrame> frame;
    MapMaster* map = nullptr;
    bool ok = false;
    int placed = 0;
    std::vector<qv::Handle<Player>> creatures;

    // walkers: 1 the game's creatures, 0 pacers, 2 creatures of the
    // species, -1 none at all; `count` of them.
    explicit StartWorldScene(int walkers, int count = kCreatures) {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        dir = fs::temp_directory_path() / ("qv-startbench-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        WriteStartWorld(dir.string());
        std::string error;
        ok = walkers != kSpecies || art::WriteCreatureImages(dir.string() + "/Images/", error);
        frame = std::make_unique<CMainFrame>();
        // No conversation, book or trading window opens: nobody is there to
        // close it, and a crowd's wanderer may come upon a sign.
        frame->m_Play.InstallWindows({}, {}, {});
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
        if (walkers >= 0) Populate(walkers, count);
        frame->m_ptCursor = {600, 450};
        frame->m_iStage = 3;
        frame->RunTick();  // sets up play
        for (int i = 0; i < 20; ++i) frame->RunTick();
    }
    ~StartWorldScene() {
        frame.reset();
        InvalidateGlobalImages();
        fs::remove_all(dir);
    }

    // The world cell of window cell (i, j).
    CellPoint WorldCell(int i, int j) const {
        CellPoint c{map->origin.x + i, map->origin.y + j};
        map->WrapCell(c);
        return c;
    }
    std::vector<CellPoint> OpenWindowCells() const {
        std::vector<CellPoint> open;
        for (int i = 1; i < MapMaster::wide - 1; ++i)
            for (int j = 1; j < MapMaster::high - 1; ++j)
                if (map->GetCell(i, j).IsFilled() && IsOpen(map->GetCell(i, j).terrain))
                    open.push_back({i, j});
        return open;
    }

    void Populate(int walkers, int count) {
        World& world = frame->m_World;
        const std::vector<CellPoint> open = OpenWindowCells();
        qv::SeedRand(2024);
        for (int g = 0; g < count / kGroupSize; ++g) {
            auto* group = new Group("Group");
            world.m_pAllGroups->AddMember(group);
            for (int c = 0; c < kGroupSize; ++c) {
                const int n = g * kGroupSize + c;
                const CellPoint home = open[static_cast<size_t>(qv::Rand()) % open.size()];
                const CellPoint w = WorldCell(home.x, home.y);
                Position at(w.x * MapMaster::CellWidth + 20 + (n * 37) % 120,
                            w.y * MapMaster::CellHeight + 20 + (n * 53) % 70, 0);
                Player* p = nullptr;
                if (walkers == kSpecies) {
                    p = Species::Make(kCrowdKinds[static_cast<size_t>(n) % std::size(kCrowdKinds)])
                            .release();
                    p->m_iHostileMode = 0;
                    p->m_ptStay = w;
                    for (int k = 0; k < 3; ++k) {
                        const CellPoint to = open[static_cast<size_t>(qv::Rand()) % open.size()];
                        const CellPoint tw = WorldCell(to.x, to.y);
                        p->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(tw.x, tw.y));
                    }
                } else if (walkers) {
                    auto* walker = new bench::Walker;
                    walker->m_ptStay = w;
                    for (int k = 0; k < 3; ++k) {
                        const CellPoint to = open[static_cast<size_t>(qv::Rand()) % open.size()];
                        const CellPoint tw = WorldCell(to.x, to.y);
                        walker->m_MoveList.push_back(std::make_unique<PlayerMoveTo>(tw.x, tw.y));
                    }
                    p = walker;
                } else {
                    auto* pacer = new bench::Pacer;
                    pacer->Events().Post(ObjectEventType::THINK, 100 + n % 700);
                    p = pacer;
                }
                // Numbered as the game numbers the creatures it places.
                p->m_iPlayerNumber = n;
                creatures.emplace_back(p);
                if (bench::PlaceCreature(*map, *group, p, at)) ++placed;
            }
        }
    }

    // How many creatures have an event due in the coming tick.
    int DueInNextTick() const {
        const int32_t next = qv::TimeAdd(frame->m_World.m_iGameTime, frame->m_iTickStep);
        int due = 0;
        for (const qv::Handle<Player>& p : creatures)
            if (p && p->Events().Count() > 0 && p->Events().HasDue(next)) ++due;
        return due;
    }
};

// The creatures that act in each of five ticks in a row, summed over the run:
// the largest and the smallest sum over their mean (1 and 1: even).
void SpreadCounters(benchmark::State& state, const std::array<int64_t, 5>& acting) {
    const auto [low, high] = std::minmax_element(acting.begin(), acting.end());
    double mean = 0;
    for (int64_t n : acting) mean += static_cast<double>(n) / 5.0;
    if (mean <= 0) return;
    state.counters["acting_max_over_mean"] = static_cast<double>(*high) / mean;
    state.counters["acting_min_over_mean"] = static_cast<double>(*low) / mean;
}

void BM_StartWorldTick(benchmark::State& state) {
    StartWorldScene s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!s.ok) {
        state.SkipWithError("the start world did not open");
        return;
    }
    const int64_t searches = RememberedSearch::s_searches, reuses = RememberedSearch::s_reuses;
    std::array<int64_t, 5> acting{};
    bench::TimeTicks(state, *s.frame, kTimedTicks,
                     [&](int tick) { acting[static_cast<size_t>(tick % 5)] += s.DueInNextTick(); });
    SpreadCounters(state, acting);
    state.counters["searches_per_tick"] =
        static_cast<double>(RememberedSearch::s_searches - searches) / kTimedTicks;
    state.counters["reuses_per_tick"] =
        static_cast<double>(RememberedSearch::s_reuses - reuses) / kTimedTicks;
    state.counters["creatures"] = s.placed;
}
BENCHMARK(BM_StartWorldTick)
    ->Args({0, kCreatures})
    ->Args({1, kCreatures})
    ->Args({kSpecies, kCreatures})
    ->Args({0, 10 * kCreatures})
    ->Args({kSpecies, 10 * kCreatures})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The world's part of the tick alone (the groups, what arrived, what flies)
// with 200, 2,000 and 20,000 creatures of the species walking, and pacers as
// the plain reference: its cost a creature should not grow with the crowd.
void BM_StartWorldUpdate(benchmark::State& state) {
    StartWorldScene s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!s.ok) {
        state.SkipWithError("the start world did not open");
        return;
    }
    World& world = s.frame->m_World;
    for (auto _ : state) {
        world.m_iGameTime = qv::TimeAdd(world.m_iGameTime, s.frame->m_iTickStep);
        s.frame->m_Play.RunWorld(&world.m_iGameTime);
    }
    state.counters["creatures"] = s.placed;
    state.counters["ns_per_creature"] = benchmark::Counter(
        static_cast<double>(s.placed) * static_cast<double>(state.iterations()) * 1e-9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StartWorldUpdate)
    ->ArgsProduct({{0, kSpecies}, {kCreatures / 10, kCreatures, 10 * kCreatures}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

// A game with 20,000 creatures of the species quick-saved and loaded again;
// then 20 whole ticks timed one by one. The first tick after the load should
// be no slower than the 20th: the creatures read think spread over their
// first step, not all at once.
void BM_StartWorldFirstTickAfterLoad(benchmark::State& state) {
    StartWorldScene s(kSpecies, 10 * kCreatures);
    Play& play = s.frame->m_Play;
    play.Saves().SetSlot(SavedGames::kQuickSlot, {1, "QuickSave"});
    if (!s.ok || !play.Saves().SaveGame(SavedGames::kQuickSlot)) {
        state.SkipWithError("the game was not saved");
        return;
    }
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (auto _ : state) {
        if (!play.Saves().LoadSlot(SavedGames::kQuickSlot)) {
            state.SkipWithError("the game was not loaded");
            return;
        }
        for (int i = 0; i < 20; ++i) {
            const auto t0 = Clock::now();
            s.frame->RunTick();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    state.counters["first_ms"] = ms.front();
    state.counters["second_ms"] = ms[1];
    state.counters["twentieth_ms"] = ms.back();
    state.counters["first_over_twentieth"] = ms.front() / ms.back();
}
BENCHMARK(BM_StartWorldFirstTickAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- path search

struct SearchPair {
    qv::Point start, goal;
};

// Pairs of open window cells 50 to 95 cells apart (counted along the axes),
// as world cells, the goal the short way round from the start.
std::vector<SearchPair> FarPairs(const StartWorldScene& s, int count) {
    const std::vector<CellPoint> open = s.OpenWindowCells();
    std::vector<SearchPair> pairs;
    qv::SeedRand(77);
    while (static_cast<int>(pairs.size()) < count) {
        const CellPoint a = open[static_cast<size_t>(qv::Rand()) % open.size()];
        const CellPoint b = open[static_cast<size_t>(qv::Rand()) % open.size()];
        const int d = std::abs(a.x - b.x) + std::abs(a.y - b.y);
        if (d < 50 || d > 95) continue;
        qv::Point start, goal;
        AStar::StartAndGoal(*s.map, s.WorldCell(a.x, a.y), s.WorldCell(b.x, b.y), &start, &goal);
        pairs.push_back({start, goal});
    }
    return pairs;
}

constexpr int kPairs = 200;

// Microseconds a search and an expansion (of CPU time), expansions a search
// and the share of searches that found their goal.
void SearchCounters(benchmark::State& state, int64_t searches, int64_t expansions, int64_t found) {
    state.SetItemsProcessed(searches);
    const auto perCount = [](int64_t n) {
        return benchmark::Counter(static_cast<double>(n) * 1e-6,
                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    };
    state.counters["us_per_search"] = perCount(searches);
    state.counters["us_per_expansion"] = perCount(expansions);
    const double n = static_cast<double>(std::max<int64_t>(searches, 1));
    state.counters["expansions"] = static_cast<double>(expansions) / n;
    state.counters["found"] = static_cast<double>(found) / n;
}

// Argument 0: a search of its own, which reads each cell it needs from the
// map; 1: a walker's search (RememberedSearch, never asked twice the same
// here), which takes the cells as read before while no step has changed.
void BM_StartWorldPathSearch(benchmark::State& state) {
    StartWorldScene s(-1);
    const std::vector<SearchPair> pairs = FarPairs(s, kPairs);
    Object mover("Walker");  // a mover opens doors, as a walking creature does
    RememberedSearch walker;
    int64_t expansions = 0, searches = 0, found = 0;
    for (auto _ : state)
        for (const SearchPair& p : pairs) {
            if (state.range(0) == 0) {
                AStar search;
                search.FindPath(p.start.x, p.start.y, p.goal.x, p.goal.y, s.map, &mover);
                expansions += search.Expansions();
                found += search.Found();
            } else {
                const RememberedSearch::Answer& a = walker.Find(*s.map, p.start, p.goal, &mover);
                expansions += a.expansions;
                found += a.found;
            }
            ++searches;
        }
    SearchCounters(state, searches, expansions, found);
}
BENCHMARK(BM_StartWorldPathSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A plain A* over the window: a binary heap for the open nodes (lowest total
// first, the newest first among equals), the same estimate and the same cap.
// It reads what the step test needs of each cell from the map once a search,
// as the path finder does; with `precomputed` it takes the step answers
// from a table made beforehand instead, and reads no map at all.
class PlainSearch {
public:
    PlainSearch(const StartWorldScene& s, bool precomputed)
        : m_map(*s.map), m_precomputed(precomputed) {
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) {
                const CellPoint c = s.WorldCell(i, j);
                uint8_t bits = 0;
                for (int d = 0; d < 4; ++d) {
                    CellPoint n{c.x + kDx[d], c.y + kDy[d]};
                    s.map->WrapCell(n);
                    if (!s.map->IsStepBlocked(n, c, 1)) bits |= static_cast<uint8_t>(1 << d);
                }
                m_steps[static_cast<size_t>(i * MapMaster::high + j)] = bits;
            }
    }

    // Expansions made; `found` 1 when the goal was reached.
    int Run(qv::Point start, qv::Point goal, int* found) {
        CellPoint s, g;
        *found = 0;
        if (!m_map.CellToWindow(start, s) || !m_map.CellToWindow(goal, g)) return 0;
        auto index = [](int i, int j) { return i * MapMaster::high + j; };
        auto estimate = [&](int i, int j) {
            return std::max(std::abs(i - g.x), std::abs(j - g.y));
        };
        m_cost.assign(m_cost.size(), INT_MAX);
        m_closed.assign(m_closed.size(), 0);
        m_read.assign(m_read.size(), 0);
        auto bits = [&](int i, int j) {
            const size_t k = static_cast<size_t>(index(i, j));
            if (!m_read[k]) {
                m_read[k] = 1;
                m_bits[k] = m_map.StepBitsAt(i, j, 1);
            }
            return m_bits[k];
        };
        struct Open {
            int f;
            uint32_t order;
            int cell;
            bool operator<(const Open& o) const {
                return f != o.f ? f > o.f : order < o.order;  // lowest f, newest first
            }
        };
        std::priority_queue<Open> open;
        uint32_t order = 0;
        m_cost[static_cast<size_t>(index(s.x, s.y))] = 0;
        open.push({estimate(s.x, s.y), order++, index(s.x, s.y)});
        int expansions = 0;
        while (!open.empty()) {
            const Open best = open.top();
            open.pop();
            const size_t b = static_cast<size_t>(best.cell);
            if (m_closed[b]) continue;
            m_closed[b] = 1;
            const int bi = best.cell / MapMaster::high, bj = best.cell % MapMaster::high;
            if (bi == g.x && bj == g.y) {
                *found = 1;
                break;
            }
            const int cost = m_cost[b] + 1;
            for (int d = 0; d < 4; ++d) {
                const int ni = bi + kDx[d], nj = bj + kDy[d];
                if (!MapMaster::IsWindowCell(ni, nj)) continue;
                if (m_precomputed ? !(m_steps[b] >> d & 1)
                                  : MapMaster::IsStepBlockedByBits(bits(ni, nj), bits(bi, bj),
                                                                   kDx[d], kDy[d]))
                    continue;
                const size_t n = static_cast<size_t>(index(ni, nj));
                if (m_closed[n] || cost >= m_cost[n]) continue;
                m_cost[n] = cost;
                open.push({cost + estimate(ni, nj), order++, static_cast<int>(n)});
            }
            if (++expansions >= AStar::kMaxExpansions) break;
        }
        return expansions;
    }

private:
    static constexpr int kDx[4] = {0, 1, 0, -1};
    static constexpr int kDy[4] = {1, 0, -1, 0};
    static constexpr size_t kCells = MapMaster::wide * MapMaster::high;
    const MapMaster& m_map;
    bool m_precomputed;
    std::vector<uint8_t> m_steps = std::vector<uint8_t>(kCells);
    std::vector<int> m_cost = std::vector<int>(kCells);
    std::vector<uint8_t> m_closed = std::vector<uint8_t>(kCells);
    std::vector<uint8_t> m_read = std::vector<uint8_t>(kCells);
    std::vector<uint8_t> m_bits = std::vector<uint8_t>(kCells);
};

// Argument 0: the cells read from the map once a search; 1: the steps from a
// table made beforehand.
void BM_StartWorldPathSearchPlain(benchmark::State& state) {
    StartWorldScene s(-1);
    const std::vector<SearchPair> pairs = FarPairs(s, kPairs);
    PlainSearch plain(s, state.range(0) != 0);
    int64_t expansions = 0, searches = 0, found = 0;
    for (auto _ : state)
        for (const SearchPair& p : pairs) {
            int f = 0;
            expansions += plain.Run(p.start, p.goal, &f);
            found += f;
            ++searches;
        }
    SearchCounters(state, searches, expansions, found);
}
BENCHMARK(BM_StartWorldPathSearchPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
