// How fast a full game screen draws: a 640 x 480 floor of 32 x 14 terrain
// pieces at varying darkness, 500 sprites at varying light levels over it, the
// copy of the finished picture to the primary surface and its presentation in
// the window (headless with the dummy video driver).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "media/DDObjects.h"
#include "media/DirectDraw.h"
#include "media/Painter.h"
#include "media/Resources.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "world/Object.h"

namespace {

struct Scene {
    CMainFrame frame;
    qv::Surface back{640, 480};
    std::vector<CDDObject*> sprites;
    CDDObject creature;
    bool ok = false;

    Scene() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ok = frame.InitDirectDraw(0) != 0;
        LoadGlobalImages(nullptr);
        const int levels = 4;
        creature.m_iWidth = 64;
        creature.m_iHeight = 64;
        creature.m_iHotX = 32;
        creature.m_iHotY = 56;
        int across = 8, down = 1;
        creature.SetCellGrid(across, down);
        creature.SetFrameCount(levels);
        creature.m_iNumLevels = levels;
        for (int i = 0; i < levels; ++i) {
            int n = levels, id = kBitmapCreature, frame = i;
            creature.SetFrameLevels(i, n);
            creature.SetFrameImage(id, 0, 0, frame);
        }
        creature.Load();
        for (const auto& row : GetSceneryPrototypes())
            for (Object* o : row) sprites.push_back(o->GetImage());
        sprites.push_back(&creature);
    }
    ~Scene() { InvalidateGlobalImages(); }

    void Draw(int frameNumber) {
        const qv::Rect view = back.Bounds();
        // The floor: every piece of the screen, darker toward the edges.
        for (int y = -14, j = 0; y < 480; y += 14, ++j)
            for (int x = -32 + (j % 5) * 6, i = 0; x < 640; x += 32, ++i) {
                CDDObject* t = GetTerrainPicture((i / 5 + j / 8) % 2 ? 0 : 3);
                if (t->m_iSurfaceCnt > 1) t->m_iWhichSurf = (frameNumber / 5) % t->m_iSurfaceCnt;
                const TerrainPiece p = TerrainPieceSource(i % 5, j % 8);
                const int dark = (std::abs(x - 320) + std::abs(y - 240)) / 18 % 32;
                t->DrawPiece(&back, {x, y}, view, {p.left, p.top, p.right, p.bottom}, dark);
            }
        // The sprites.
        for (int k = 0; k < 500; ++k) {
            CDDObject* s = sprites[k % sprites.size()];
            const uint32_t h = Painter::Hash(k, 17, 3);
            const int x = static_cast<int>(h % 700) - 30,
                      y = static_cast<int>((h >> 10) % 540) - 30;
            s->m_iLightLevel = k % s->m_iNumLevels;
            int col = s == &creature ? k % 8 : 0, row = 0;
            s->DrawFrame(&back, {x, y}, view, col, row, k % 50 == 0 ? kDrawModeHover : 0, 0);
        }
        frame.m_pPrimary->Blt({0, 0}, back, back.Bounds());
        PresentScreen(back.Bounds());
    }
};

void BM_DrawFullScreen(benchmark::State& state) {
    Scene scene;
    if (!scene.ok) {
        state.SkipWithError("no window");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        scene.Draw(n++);
        benchmark::DoNotOptimize(scene.frame.m_pWindow->Picture().data());
        benchmark::ClobberMemory();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawFullScreen)->Unit(benchmark::kMillisecond);

}  // namespace
