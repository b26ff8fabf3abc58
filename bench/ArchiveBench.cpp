// Stores and loads 100,000 objects in one archive and reports objects per
// second each way.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
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
    // Once beforehand: the allocator settles how it serves blocks this large.
    benchmark::DoNotOptimize(Store(objs));
    for (auto _ : state) benchmark::DoNotOptimize(Store(objs));
    state.counters["objects/s"] = benchmark::Counter(double(kObjects) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoreObjects)->Unit(benchmark::kMillisecond);

// The same bytes appended field by field through resize + memcpy: what
// storing costs without the archive's bookkeeping.
template <class T>
void Append(std::vector<uint8_t>& out, const T& v) {
    const size_t at = out.size();
    out.resize(at + sizeof v);
    std::memcpy(out.data() + at, &v, sizeof v);
}

void AppendString(std::vector<uint8_t>& out, const std::string& s) {
    Append(out, static_cast<uint8_t>(s.size()));
    const size_t at = out.size();
    out.resize(at + s.size());
    std::memcpy(out.data() + at, s.data(), s.size());
}

std::vector<uint8_t> StorePlain(const std::vector<std::unique_ptr<Object>>& objs) {
    std::vector<uint8_t> out;
    Append(out, uint16_t(0xFFFF));
    Append(out, uint32_t(objs.size()));
    for (auto& o : objs) {
        Append(out, uint16_t(0x8001));
        for (int32_t v : {o->m_iXImageNum, o->m_iYImageNum, o->m_iWeight, o->m_iValue})
            Append(out, v);
        AppendString(out, o->m_strGeneralName);
        AppendString(out, o->m_strSpecialName);
        for (int32_t v : {o->m_iItemNum, o->m_iSpare1, o->m_iState, o->m_iBulkNum, o->m_bStackable,
                          o->m_bInteract, o->m_iSpare2, o->m_iOwner})
            Append(out, v);
    }
    return out;
}

void BM_StoreObjectsReference(benchmark::State& state) {
    auto objs = MakeObjects();
    benchmark::DoNotOptimize(StorePlain(objs));  // as the archive's is run once first
    for (auto _ : state) benchmark::DoNotOptimize(StorePlain(objs));
}
BENCHMARK(BM_StoreObjectsReference)->Unit(benchmark::kMillisecond);

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

// Decoding the same fields from plain bytes, with a bounds check per read,
// and constructing each object: what loading costs without the archive.
struct PlainReader {
    const uint8_t* p;
    size_t left;
    template <class T>
    T Get() {
        if (left < sizeof(T)) throw std::runtime_error("short");
        T v;
        std::memcpy(&v, p, sizeof v);
        p += sizeof v;
        left -= sizeof v;
        return v;
    }
    std::string GetString() {
        const size_t n = Get<uint8_t>();
        if (left < n) throw std::runtime_error("short");
        std::string s(reinterpret_cast<const char*>(p), n);
        p += n;
        left -= n;
        return s;
    }
};

void BM_LoadObjectsReference(benchmark::State& state) {
    std::vector<uint8_t> bytes = StorePlain(MakeObjects());
    for (auto _ : state) {
        PlainReader in{bytes.data(), bytes.size()};
        in.Get<uint16_t>();
        const size_t n = in.Get<uint32_t>();
        std::vector<std::unique_ptr<Object>> back;
        back.reserve(n);
        for (size_t i = 0; i < n; ++i) {
            in.Get<uint16_t>();
            auto o = std::make_unique<Object>();
            o->m_iXImageNum = in.Get<int32_t>();
            o->m_iYImageNum = in.Get<int32_t>();
            in.Get<int32_t>();
            o->m_iValue = in.Get<int32_t>();
            o->m_strGeneralName = in.GetString();
            o->m_strSpecialName = in.GetString();
            for (int32_t* f : {&o->m_iItemNum, &o->m_iSpare1, &o->m_iState, &o->m_iBulkNum,
                               &o->m_bStackable, &o->m_bInteract, &o->m_iSpare2, &o->m_iOwner})
                *f = in.Get<int32_t>();
            back.push_back(std::move(o));
        }
        benchmark::DoNotOptimize(back.data());
        state.PauseTiming();
        back.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadObjectsReference)->Unit(benchmark::kMillisecond);

}  // namespace
