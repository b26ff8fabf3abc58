#pragma once
// What the tick benchmarks share: the creatures they fill their worlds with (a
// picture every one of them draws with, a creature that only paces to and
// fro, and one that thinks and walks as any creature of the game does), and
// the timing of whole ticks one by one.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/GameTime.h"
#include "shell/MainFrm.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"

namespace bench {

// A creature picture of four light levels made from the game's resources;
// made once and kept for the run (it holds nothing of any scene).
inline CDDObject* CreatureImage() {
    static CDDObject* image = [] {
        auto* c = new CDDObject;
        const int levels = 4;
        c->m_iWidth = 64;
        c->m_iHeight = 64;
        c->m_iHotX = 32;
        c->m_iHotY = 56;
        int across = 8, down = 1;
        c->SetCellGrid(across, down);
        c->SetFrameCount(levels);
        c->m_iNumLevels = levels;
        for (int i = 0; i < levels; ++i) {
            int n = levels, id = kBitmapCreature, frame = i;
            c->SetFrameLevels(i, n);
            c->SetFrameImage(id, 0, 0, frame);
        }
        c->Load();
        return c;
    }();
    return image;
}

// A creature that paces: every thought queues a short step one way or the
// other and its next thought, and a step moves its holder on the map. It
// never plans a walk: the plain reference of a tick.
class Pacer : public Player {
public:
    CDDObject* GetImage() override { return CreatureImage(); }
    int HandleThinkEvent(int32_t time, MapMaster*) override {
        m_iPace = -m_iPace;
        ScheduleMove(time, m_Position.x + m_iPace, m_Position.y, 300);
        Events().Post(ObjectEventType::THINK, qv::TimeAdd(time, 700));
        return 1;
    }
    int HandleMoveEvent(int32_t, int32_t x, int32_t y, MapMaster* map, int32_t) override {
        ObjectHolder* h = m_pHolder;
        if (!h || !map) return 1;
        Position to(x, y, 0);
        if (map->MoveHolder(h->pos, to, h)) m_Position = h->pos;
        return 1;
    }
    int32_t m_iPace = 6;
};

// A creature of the game with the same picture: it thinks, plans its walks
// and steps as every creature does.
class Walker : public Player {
public:
    CDDObject* GetImage() override { return CreatureImage(); }
};

// Puts the creature into the group and on the map at `at`: true when it
// stands there (a creature not placed stays in its group, off the map).
inline bool PlaceCreature(MapMaster& map, Group& group, Player* p, Position at) {
    p->m_Position = at;
    group.AddMember(p);
    auto* holder = new ObjectHolder(at, p);
    if (!map.AddHolder(at, holder)) {
        delete holder;
        return false;
    }
    p->m_Position = holder->pos;
    return true;
}

// Runs `ticks` whole ticks of the frame, each timed on its own, and reports
// their median, 99th percentile, worst and the share over 10 ms.
// `before`, when given, runs ahead of each tick, outside its time.
inline void TimeTicks(benchmark::State& state, CMainFrame& frame, int ticks,
                      const std::function<void(int)>& before = {}) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (int i = 0; i < ticks; ++i) {
            if (before) before(i);
            const auto t0 = Clock::now();
            frame.RunTick();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    const double over =
        static_cast<double>(std::count_if(ms.begin(), ms.end(), [](double t) { return t > 10.0; }));
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["worst_ms"] = ms.back();
    state.counters["over_10ms"] = over / static_cast<double>(ms.size());
}

}  // namespace bench
