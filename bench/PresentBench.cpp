// Presenting the finished picture: copying the 640 x 480 primary surface into
// the window and handing it to the window system (headless with the dummy
// video driver).

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "media/DirectDraw.h"
#include "shell/MainFrm.h"

static void BM_PresentFullScreen(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    CMainFrame frame;
    if (!frame.InitDirectDraw(0) || !frame.UpdateScreen(0)) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) PresentScreen(frame.m_pPrimary->Bounds());
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PresentFullScreen)->Unit(benchmark::kMillisecond);

// Presenting a 32 x 32 popup: only its rectangle has changed.
static void BM_PresentPopup(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    CMainFrame frame;
    if (!frame.InitDirectDraw(0) || !frame.UpdateScreen(0)) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) PresentScreen({300, 200, 332, 232});
}
BENCHMARK(BM_PresentPopup)->Unit(benchmark::kMillisecond);

static void BM_FlipFullScreen(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    CMainFrame frame;
    frame.m_bWindowed = 0;
    if (!frame.InitDirectDraw(0)) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) frame.FlipSurfaces();
}
BENCHMARK(BM_FlipFullScreen)->Unit(benchmark::kMillisecond);
