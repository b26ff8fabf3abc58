// One tick of the world's group tree: "All Groups" with 2,000 creatures in
// 200 groups, each creature with a few events queued. Reports the time of one
// tick (the game's tick is 50 ms; the tree should take under 2 ms of it).

#include <benchmark/benchmark.h>

#include <list>
#include <memory>
#include <vector>

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

// The same turns without the tree, measured in the same run: each creature's
// due events popped and handled by a plain loop, over the same creatures as
// they lie in memory (the same layout) and over a compact array of the few
// values the turns use (a compact loop).
void BM_AllGroupsTickSameLayout(benchmark::State& state) {
    std::vector<std::unique_ptr<Walker>> walkers;
    for (int n = 0; n < 2000; ++n) {
        auto w = std::make_unique<Walker>();
        w->m_Position = Position(n / 10 * 97 % 8000, n % 10 * 131 % 8000);
        w->Events().PopFront();  // the first thought the constructor queues
        w->Events().Post(ObjectEventType::ANIMATE, 100 + n % 900);
        w->Events().Post(ObjectEventType::MOVE, 200 + n % 600, nullptr, 0, 5, 5);
        walkers.push_back(std::move(w));
    }
    int32_t now = 1000;
    auto tick = [&] {
        for (auto& w : walkers) {
            CreatureEventQueue& q = w->Events();
            while (q.Count() > 0 && q.HasDue(now)) {
                const ObjectEvent e = q.PopFront();
                const int32_t t = e.m_iTime == 0 ? now : e.m_iTime;
                if (e.m_iType == ObjectEventType::THINK)
                    w->HandleThinkEvent(t, nullptr);
                else if (e.m_iType == ObjectEventType::MOVE)
                    w->HandleMoveEvent(t, e.m_iArg1, e.m_iArg2, nullptr, 0);
                else
                    q.Post(ObjectEventType::ANIMATE, qv::TimeAdd(t, 50000));
            }
        }
    };
    for (int i = 0; i < 50; ++i, now += 100) tick();
    for (auto _ : state) {
        now += 100;
        tick();
    }
    state.counters["creatures"] = 2000;
}
BENCHMARK(BM_AllGroupsTickSameLayout)->Unit(benchmark::kMicrosecond);

void BM_AllGroupsTickCompact(benchmark::State& state) {
    struct Turn {
        int32_t x, y, think, move, animate, moveX;
    };
    std::vector<Turn> turns;
    for (int n = 0; n < 2000; ++n)
        turns.push_back(
            {n / 10 * 97 % 8000, n % 10 * 131 % 8000, 0, 200 + n % 600, 100 + n % 900, 5});
    int32_t now = 1000;
    auto tick = [&] {
        for (Turn& t : turns) {
            if (t.animate != 0 && qv::TimeReached(now, t.animate))
                t.animate = qv::TimeAdd(t.animate, 50000);
            if (t.move != 0 && qv::TimeReached(now, t.move)) {
                t.x = t.moveX;
                t.think = qv::TimeAdd(t.move, 700);
                t.moveX = t.x + 2;
                t.move = qv::TimeAdd(t.move, 300);
            }
            if (t.think != 0 && qv::TimeReached(now, t.think)) t.think = 0;
        }
    };
    for (int i = 0; i < 50; ++i, now += 100) tick();
    for (auto _ : state) {
        now += 100;
        tick();
        benchmark::DoNotOptimize(turns.data());
    }
    state.counters["creatures"] = 2000;
}
BENCHMARK(BM_AllGroupsTickCompact)->Unit(benchmark::kMicrosecond);

// Building a group tree: 20,000 creatures joining one group under a root, one
// at a time, as a world's encounter fills. The creatures are made beforehand.
void BM_BuildGroupTree(benchmark::State& state) {
    World world;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto root = std::make_unique<Group>("All Groups");
        auto* group = new Group("Encounter");
        std::vector<Player*> creatures;
        for (int c = 0; c < count; ++c) {
            creatures.push_back(new Player);
            creatures.back()->m_iHitPoints = 1 + c % 7;
        }
        state.ResumeTiming();
        root->AddMember(group);
        for (Player* p : creatures) group->AddMember(p);
        benchmark::DoNotOptimize(group->m_iHitPoints);
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildGroupTree)->Arg(20000)->Unit(benchmark::kMillisecond);

// The same tree on plain lists: members pushed at the head, hit points
// summed as they join.
void BM_BuildGroupTreeReference(benchmark::State& state) {
    struct Node {
        std::list<Node*> members;
        int32_t hp = 0;
        char rest[sizeof(Player)];
    };
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::unique_ptr<Node>> nodes;
        for (int c = 0; c < count; ++c) {
            nodes.push_back(std::make_unique<Node>());
            nodes.back()->hp = 1 + c % 7;
        }
        Node root, group;
        state.ResumeTiming();
        root.members.push_front(&group);
        for (auto& n : nodes) {
            group.members.push_front(n.get());
            group.hp += n->hp;
        }
        benchmark::DoNotOptimize(group.hp);
    }
}
BENCHMARK(BM_BuildGroupTreeReference)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
