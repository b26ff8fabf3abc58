// The object catalogue's build at the start of play, with its loading bar
// drawn at each step (under 200 ms wanted). The first build paints and loads
// every class picture, as the start of play does; later builds find them
// made.

#include <benchmark/benchmark.h>

#include "items/ObjectCatalogueBuild.h"
#include "media/LoadingBar.h"
#include "platform/Surface.h"
#include "world/World.h"

namespace {

void BuildWithBar(World& world, qv::Surface& screen) {
    BuildObjectCatalogue(world.m_Catalogue, [&](int percent) {
        DrawLoadingProgress(&screen, percent, kLoadingBarFillColour);
    });
}

void BM_CatalogueFirstBuild(benchmark::State& state) {
    World world;
    qv::Surface screen(640, 480);
    for (auto _ : state) {
        BuildWithBar(world, screen);
        benchmark::DoNotOptimize(world.m_Catalogue.Count());
    }
}
BENCHMARK(BM_CatalogueFirstBuild)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CatalogueBuild(benchmark::State& state) {
    World world;
    qv::Surface screen(640, 480);
    for (auto _ : state) {
        BuildWithBar(world, screen);
        benchmark::DoNotOptimize(world.m_Catalogue.Count());
    }
}
BENCHMARK(BM_CatalogueBuild)->Unit(benchmark::kMillisecond);

}  // namespace
