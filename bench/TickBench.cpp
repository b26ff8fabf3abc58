// One whole tick of the game loop (update and draw) over a world with 2,000
// walking creatures spread over the loaded window, 200 groups of ten, with
// the terrain pictures, daylight and a dozen lights around the focus; headless
// with the dummy video driver, in a window as the game runs by default.
//
// BM_WholeTick times 1,000 ticks one by one and reports the median and the
// worst; BM_WholeTickInventoryOpen does the same with a party of two whose
// leader's bag is full and the control panel on its inventory page (the
// world runs on beside it, as in play; the same-run BM_WholeTick is its
// reference); the others time the parts of a tick: the world's update, the light
// pass, the drawing of the frame and the presentation. Each benchmark makes
// its scene and ends it, so that they run in any order.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "creatures/Player.h"
#include "items/Potions.h"
#include "items/Weapon.h"
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

using bench::Pacer;

struct TickScene {
    std::unique_ptr<CMainFrame> frame;
    MapMaster* map = nullptr;
    bool ok = false;

    explicit TickScene(bool party = false) {
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
                p->Events().Post(ObjectEventType::THINK, 100 + n % 700);
                if (bench::PlaceCreature(*map, *group, p, at)) ++placed;
            }
        }
        if (party) MakeParty(world, focusCell);
        frame->m_ptCursor = {600, 450};
        frame->m_iStage = 3;
        frame->RunTick();  // sets up play
        if (party) {
            frame->m_pGameWindows->SelectPage(CControlPanel::kPageInventory, 0);
        }
        for (int i = 0; i < 20; ++i) frame->RunTick();
        placedCreatures = placed;
    }
    // A leader with a full bag and its dog beside the focus, the party the
    // windows show.
    void MakeParty(World& world, CellPoint focusCell) {
        auto* group = new Group("Party");
        world.m_pAllGroups->AddMember(group);
        for (int slot = 0; slot < 2; ++slot) {
            auto* member = new Pacer;
            member->m_iPartySlot = slot + 1;
            Position at(focusCell.x * 160 + 40 + slot * 30, focusCell.y * 112 + 40);
            if (!bench::PlaceCreature(*map, *group, member, at)) continue;
            world.m_Party[static_cast<size_t>(slot)] = member;
            if (slot == 0) {
                world.m_pLeader = member;
                world.m_pControlPlayer = member;
                for (int i = 0; i < 5; ++i) member->AddToBag(new Dagger, 0);
                for (int i = 0; i < 4; ++i) member->AddToBag(new Potion(PotionType::Healing), 0);
            }
        }
    }
    ~TickScene() {
        frame.reset();
        InvalidateGlobalImages();
    }
    int placedCreatures = 0;
};

void BM_WholeTick(benchmark::State& state) {
    TickScene s;
    if (!s.ok) {
        state.SkipWithError("no screen");
        return;
    }
    bench::TimeTicks(state, *s.frame, 1000);
    state.counters["creatures"] = s.placedCreatures;
}
BENCHMARK(BM_WholeTick)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WholeTickInventoryOpen(benchmark::State& state) {
    TickScene s(true);
    if (!s.ok) {
        state.SkipWithError("no screen");
        return;
    }
    CGameWindows& windows = *s.frame->m_pGameWindows;
    if (!windows.ControlPanel() ||
        windows.ControlPanel()->GetPage() != CControlPanel::kPageInventory ||
        s.frame->m_Play.IsPopupOpen()) {
        state.SkipWithError("the inventory is not open, or the world stands still");
        return;
    }
    bench::TimeTicks(state, *s.frame, 1000);
    state.counters["creatures"] = s.placedCreatures;
    state.counters["shown_items"] =
        static_cast<double>(windows.ControlPanel()->Inventory().Box().Items().size());
}
BENCHMARK(BM_WholeTickInventoryOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TickUpdate(benchmark::State& state) {
    TickScene s;
    for (auto _ : state) {
        s.frame->m_World.m_iGameTime = qv::TimeAdd(s.frame->m_World.m_iGameTime, 100);
        s.frame->m_Play.RunWorld(&s.frame->m_World.m_iGameTime);
    }
}
BENCHMARK(BM_TickUpdate)->Unit(benchmark::kMicrosecond);

void BM_TickLight(benchmark::State& state) {
    TickScene s;
    qv::Surface scene(640, 480);
    const Position focus(s.frame->m_World.m_ptFocus.x, s.frame->m_World.m_ptFocus.y, 0);
    for (auto _ : state) s.map->UpdateLight(focus, s.frame->m_World.m_iGameTime, &scene);
}
BENCHMARK(BM_TickLight)->Unit(benchmark::kMicrosecond);

void BM_TickDraw(benchmark::State& state) {
    TickScene s;
    for (auto _ : state) {
        s.frame->DrawFrame(0);
        s.frame->DrawPauseBar();
        s.frame->RedrawMapCell(0);
    }
}
BENCHMARK(BM_TickDraw)->Unit(benchmark::kMicrosecond);

void BM_TickPresent(benchmark::State& state) {
    TickScene s;
    for (auto _ : state) PresentScreen({0, 0, 640, 480});
}
BENCHMARK(BM_TickPresent)->Unit(benchmark::kMicrosecond);

}  // namespace
