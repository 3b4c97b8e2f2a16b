// Values per second through the dispatchers, and proof that the event path
// never touches the heap: every allocation in the process is counted and
// reported per iteration.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <new>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

namespace {
std::size_t allocations = 0;
}

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

class Relay : public TObject {
public:
    TKV_Event onEvent;
    void doEvent(TData& v, uint16_t) { Forward(v, onEvent); }
};

class FanOut : public TObject {
public:
    std::array<TKV_Event, 4> outputs;
    void doEvent(TData& v, uint16_t) {
        for (const auto& o : outputs) FireCopy(o, v);
    }
};

class Sink : public TObject {
public:
    int64_t sum = 0;
    void doEvent(TData& v, uint16_t) { sum += AsInt(v) + int64_t(v.TextValue.size()); }
    void getValue(TData& v, uint16_t) { MakeInt(v, 42); }
};

void reportAllocations(benchmark::State& state, std::size_t before) {
    state.counters["allocs_per_op"] = benchmark::Counter(
        double(allocations - before) / double(state.iterations()), benchmark::Counter::kDefaults);
}

void BM_ForwardingChain10(benchmark::State& state) {
    InstallHooks();
    std::array<Relay, 10> chain;
    Sink sink;
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        chain[i].onEvent = BindEvent<&Relay::doEvent>(&chain[i + 1]);
    chain.back().onEvent = BindEvent<&Sink::doEvent>(&sink);
    const TKV_Event head = BindEvent<&Relay::doEvent>(&chain.front());
    const TText path("/home/user/charts/img/Positions/MPvsUTG.png");
    const std::size_t before = allocations;
    for (auto _ : state) {
        FireText(head, path);
    }
    reportAllocations(state, before);
    state.counters["hops_per_s"] =
        benchmark::Counter(double(state.iterations()) * 11, benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(sink.sum);
    MuteHooks();
}
BENCHMARK(BM_ForwardingChain10);

void BM_FanOut4(benchmark::State& state) {
    InstallHooks();
    FanOut hub;
    std::array<Sink, 4> sinks;
    for (std::size_t i = 0; i < 4; ++i) hub.outputs[i] = BindEvent<&Sink::doEvent>(&sinks[i]);
    const TKV_Event head = BindEvent<&FanOut::doEvent>(&hub);
    const std::size_t before = allocations;
    for (auto _ : state) {
        FireInt(head, 7);
    }
    reportAllocations(state, before);
    benchmark::DoNotOptimize(sinks[0].sum);
    MuteHooks();
}
BENCHMARK(BM_FanOut4);

void BM_ReadWiredAndFallback(benchmark::State& state) {
    InstallHooks();
    Sink source;
    const TKV_Event wired = BindEvent<&Sink::getValue>(&source);
    const TKV_Event unwired;
    const TText text("B17");
    const std::size_t before = allocations;
    int64_t sum = 0;
    for (auto _ : state) {
        TData in;
        MakeText(in, text);
        sum += ReadInt(in, wired);
        sum += ReadText(in, unwired).size();
        sum += PeekInt(wired);
    }
    reportAllocations(state, before);
    benchmark::DoNotOptimize(sum);
    MuteHooks();
}
BENCHMARK(BM_ReadWiredAndFallback);

}  // namespace

BENCHMARK_MAIN();
