// One whole tick of the game loop (update and draw) over a world with 2,000
// walking creatures spread over the loaded window, 200 groups of ten, with
// the terrain pictures, daylight and a dozen lights around the focus; headless
// with the dummy video driver, in a window as the game runs by default.
//
// BM_WholeTick times 1,000 ticks one by one and reports the median and the
// worst; the others time the parts of a tick: the world's update, the light
// pass, the drawing of the frame and the presentation.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "media/DirectDraw.h"
#include "media/Resources.h"
#include "platform/GameTime.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "structures/LightSource.h"
#include "world/Group.h"
#include "world/Map.h"

namespace {

CDDObject* CreatureImage() {
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
// other and its next thought, and a step moves its holder on the map.
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

struct TickScene {
    std::unique_ptr<CMainFrame> frame;
    MapMaster* map = nullptr;
    bool ok = false;

    TickScene() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        frame = std::make_unique<CMainFrame>();
        ok = frame->InitDirectDraw(0) != 0;
        World& world = frame->m_World;
        world.map_master = std::make_unique<MapMaster>();
        map = world.map_master.get();
        map->SetWorldSize(200, 200);
        map->SetOrigin({50, 50});
        LoadGlobalImages(&world);
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) {
                MapCell& cell = map->GetCell(i, j);
                cell.terrain = (i + j) % 7 == 0 ? 2 : 0;
                cell.imagetype = cell.terrain;
                cell.image = GetTerrainPicture(cell.terrain);
            }
        world.CreateRootGroups();
        const CellPoint focusCell{75, 74};
        world.m_ptFocus = {focusCell.x * 160 + 80, focusCell.y * 112 + 56};
        map->daylight = 90;
        // Lights around the focus.
        for (int k = 0; k < 12; ++k) {
            auto* light = new LightSource;
            light->m_iRadius = 250;
            Position at((focusCell.x - 3 + k % 6) * 160 + 40,
                        (focusCell.y - 2 + k / 6 * 3) * 112 + 30);
            auto* holder = new ObjectHolder(at, light);
            if (!map->AddHolder(at, holder)) delete holder, delete light;
        }
        // 2,000 creatures over the window, ten a group.
        int placed = 0;
        for (int g = 0; g < 200; ++g) {
            auto* group = new Group("Group");
            world.m_pAllGroups->AddMember(group);
            for (int c = 0; c < 10; ++c) {
                auto* p = new Pacer;
                const int n = g * 10 + c;
                const int cx = 50 + 1 + n % 49;
                const int cy = 50 + 1 + (n / 49) % 46;
                Position at(cx * 160 + 20 + (n * 37) % 120, cy * 112 + 20 + (n * 53) % 70);
                p->m_Position = at;
                p->Events().Post(ObjectEventType::THINK, 100 + n % 700);
                group->AddMember(p);
                auto* holder = new ObjectHolder(at, p);
                if (map->AddHolder(at, holder)) {
                    p->m_Position = holder->pos;
                    ++placed;
                } else {
                    delete holder;
                }
            }
        }
        frame->m_ptCursor = {600, 450};
        frame->m_iStage = 3;
        frame->RunTick();  // sets up play
        for (int i = 0; i < 20; ++i) frame->RunTick();
        placedCreatures = placed;
    }
    ~TickScene() {
        frame.reset();
        InvalidateGlobalImages();
    }
    int placedCreatures = 0;
};

TickScene& Scene() {
    static TickScene* scene = new TickScene;
    return *scene;
}

void BM_WholeTick(benchmark::State& state) {
    TickScene& s = Scene();
    if (!s.ok) {
        state.SkipWithError("no screen");
        return;
    }
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (int i = 0; i < 1000; ++i) {
            const auto t0 = Clock::now();
            s.frame->RunTick();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["worst_ms"] = ms.back();
    state.counters["creatures"] = s.placedCreatures;
}
BENCHMARK(BM_WholeTick)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TickUpdate(benchmark::State& state) {
    TickScene& s = Scene();
    for (auto _ : state) {
        s.frame->m_World.m_iGameTime = qv::TimeAdd(s.frame->m_World.m_iGameTime, 100);
        s.frame->m_Play.RunWorld(&s.frame->m_World.m_iGameTime);
    }
}
BENCHMARK(BM_TickUpdate)->Unit(benchmark::kMicrosecond);

void BM_TickLight(benchmark::State& state) {
    TickScene& s = Scene();
    qv::Surface scene(640, 480);
    const Position focus(s.frame->m_World.m_ptFocus.x, s.frame->m_World.m_ptFocus.y, 0);
    for (auto _ : state) s.map->UpdateLight(focus, s.frame->m_World.m_iGameTime, &scene);
}
BENCHMARK(BM_TickLight)->Unit(benchmark::kMicrosecond);

void BM_TickDraw(benchmark::State& state) {
    TickScene& s = Scene();
    for (auto _ : state) {
        s.frame->DrawFrame(0);
        s.frame->DrawPauseBar();
        s.frame->RedrawMapCell(0);
    }
}
BENCHMARK(BM_TickDraw)->Unit(benchmark::kMicrosecond);

void BM_TickPresent(benchmark::State& state) {
    Scene();
    for (auto _ : state) PresentScreen({0, 0, 640, 480});
}
BENCHMARK(BM_TickPresent)->Unit(benchmark::kMicrosecond);

}  // namespace
