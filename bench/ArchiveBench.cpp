// Stores and loads 100,000 objects in one archive and reports objects per
// second each way.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/Archive.h"
#include "world/Object.h"

namespace {

constexpr size_t kObjects = 100000;

std::vector<std::unique_ptr<Object>> MakeObjects() {
    std::vector<std::unique_ptr<Object>> objs;
    objs.reserve(kObjects);
    for (size_t i = 0; i < kObjects; ++i) {
        auto o = std::make_unique<Object>("Stone");
        o->m_iValue = int(i);
        objs.push_back(std::move(o));
    }
    return objs;
}

std::vector<uint8_t> Store(const std::vector<std::unique_ptr<Object>>& objs) {
    qv::Archive out;
    out.WriteCount(objs.size());
    for (auto& o : objs) out.WriteObject(o.get());
    return out.TakeBytes();
}

void BM_StoreObjects(benchmark::State& state) {
    auto objs = MakeObjects();
    for (auto _ : state) benchmark::DoNotOptimize(Store(objs));
    state.counters["objects/s"] = benchmark::Counter(double(kObjects) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoreObjects)->Unit(benchmark::kMillisecond);

void BM_LoadObjects(benchmark::State& state) {
    std::vector<uint8_t> bytes = Store(MakeObjects());
    for (auto _ : state) {
        qv::Archive in(bytes);
        size_t n = in.ReadCount();
        std::vector<std::unique_ptr<Object>> back;
        back.reserve(n);
        for (size_t i = 0; i < n; ++i) back.emplace_back(in.ReadObjectOf<Object>());
        benchmark::DoNotOptimize(back.data());
        state.PauseTiming();  // deleting what was read is not loading
        back.clear();
        state.ResumeTiming();
    }
    state.counters["objects/s"] = benchmark::Counter(double(kObjects) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadObjects)->Unit(benchmark::kMillisecond);

}  // namespace
