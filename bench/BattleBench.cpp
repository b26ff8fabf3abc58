// A battle of 200 creatures against 200 on open ground: every creature of
// one side is paired with every creature of the other, and each tick the
// groups take their turns (thinking, choosing a target, walking up, striking,
// wounds and deaths). BM_BattleTick times 1,000 ticks one by one and reports
// the median and the worst; it should stay under 5 ms and 25 ms on one core.
// BM_BattleReference times the same 400 creatures at peace, in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "items/Useable.h"
#include "media/DDObjects.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

constexpr int kSide = 200;

class Blade : public Useable, public CombatWeapon {
public:
    int GetWeaponKind() override { return 6; }
    int IsRanged() override { return 0; }
    int GetHitChance(Player*, Player*, int) override { return 50; }
    int GetDamage(Player*, Player*, int) override { return 1 + qv::Rand() % 4; }
    int32_t GetStun() override { return 20; }
    int32_t GetDamageKind() override { return 0; }
};

struct Battle {
    explicit Battle(bool fight) {
        qv::SeedRand(9);
        world.map_master = std::make_unique<MapMaster>();
        map = world.map_master.get();
        map->SetWorldSize(200, 200);
        map->SetOrigin({10, 10});
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map->GetCell(i, j).image = &floor;
        world.CreateRootGroups();
        Group* sides[2];
        for (int s = 0; s < 2; ++s) {
            sides[s] = new Group;
            world.m_pAllGroups->AddMemberDirect(sides[s]);
            for (int k = 0; k < kSide; ++k) {
                auto* p = new Player;
                sides[s]->AddMemberDirect(p);
                p->m_iMaxHitPoints = p->m_iHitPoints = 30;
                auto blade = std::make_unique<Blade>();
                p->m_pMeleeWeapon = blade.get();
                p->m_InUseList.push_back(std::move(blade));
                p->RecomputeLoad();
                // Two ranks facing each other across two cells, 20 a row.
                const int col = k % 20, row = k / 20;
                Position at{(20 + col) * MapMaster::CellWidth / 2 + 40,
                            (20 + row) * 30 + (s ? 260 : 0) + 20 * MapMaster::CellHeight, 0};
                p->m_Position = at;
                auto* h = new ObjectHolder(at, p);
                if (map->AddHolder(at, h))
                    p->m_Position = h->pos;
                else
                    delete h;
            }
        }
        if (fight) {
            sides[0]->FindOpponents(sides[1]);
            for (Group* g : sides) g->SetHostileMode(1, nullptr);
        }
        world.m_ptFocus = {25 * MapMaster::CellWidth, 25 * MapMaster::CellHeight};
    }
    ~Battle() {
        world.m_pAllGroups->RemoveFromMap();
        world.DeleteGroups();
    }
    void Tick() {
        now = qv::TimeAdd(now, 100);
        world.m_iGameTime = now;
        world.m_pAllGroups->Update(now, map);
    }
    CDDObject floor;
    World world;
    MapMaster* map = nullptr;
    int32_t now = 1000;
};

void RunTicks(benchmark::State& state, bool fight) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    int alive = 0;
    for (auto _ : state) {
        Battle battle(fight);
        ms.clear();
        for (int i = 0; i < 1000; ++i) {
            const auto t0 = Clock::now();
            battle.Tick();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
        alive = 0;
        for (Member* m : battle.world.m_pAllGroups->Members())
            if (auto* g = qv::DynamicCast<Group>(m))
                for (Member* c : g->Members())
                    if (auto* p = qv::DynamicCast<Player>(c)) alive += p->IsAlive();
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["worst_ms"] = ms.back();
    state.counters["alive_after"] = alive;
}

void BM_BattleTick(benchmark::State& state) {
    RunTicks(state, true);
}
BENCHMARK(BM_BattleTick)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BattleReference(benchmark::State& state) {
    RunTicks(state, false);
}
BENCHMARK(BM_BattleReference)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
