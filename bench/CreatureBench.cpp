// One tick of the world's group tree: "All Groups" with 2,000 creatures in
// 200 groups, each creature with a few events queued. Reports the time of one
// tick (the game's tick is 50 ms; the tree should take under 2 ms of it).

#include <benchmark/benchmark.h>

#include "creatures/Player.h"
#include "platform/GameTime.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

// A creature that keeps a step and its next thought queued, as a walking
// creature does.
class Walker : public Player {
public:
    static inline int64_t handled = 0;
    int HandleThinkEvent(int32_t time, MapMaster*) override {
        ++handled;
        ScheduleMove(time, m_Position.x + 2, m_Position.y, 300);
        Events().Post(ObjectEventType::THINK, qv::TimeAdd(time, 700));
        return 1;
    }
    int HandleMoveEvent(int32_t, int32_t x, int32_t y, MapMaster*, int32_t) override {
        ++handled;
        m_Position.x = x;
        m_Position.y = y;
        return 1;
    }
};

void BM_AllGroupsTick(benchmark::State& state) {
    World world;
    world.CreateRootGroups();
    world.m_ptFocus = {4000, 4000};
    for (int g = 0; g < 200; ++g) {
        auto* group = new Group("Group");
        world.m_pAllGroups->AddMember(group);
        for (int c = 0; c < 10; ++c) {
            auto* w = new Walker;
            w->m_Position = Position(g * 97 % 8000, c * 131 % 8000);
            w->Events().Post(ObjectEventType::ANIMATE, 100 + (g * 10 + c) % 900);
            w->Events().Post(ObjectEventType::MOVE, 200 + (g * 10 + c) % 600, nullptr, 0, 5, 5);
            group->AddMember(w);
        }
    }
    int32_t now = 1000;
    for (int i = 0; i < 50; ++i) world.m_pAllGroups->Update(now += 100, nullptr);  // settle
    Walker::handled = 0;
    for (auto _ : state) {
        now += 100;
        benchmark::DoNotOptimize(world.m_pAllGroups->Update(now, nullptr));
    }
    state.counters["creatures"] = 2000;
    state.counters["events/tick"] = benchmark::Counter(static_cast<double>(Walker::handled),
                                                       benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AllGroupsTick)->Unit(benchmark::kMicrosecond);

}  // namespace
