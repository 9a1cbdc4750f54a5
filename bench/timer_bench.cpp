// The cost of a counter reading against the cost of the queries, which only do arithmetic on the
// stored readings: no system call, no allocation (counted here as allocations per iteration).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "znVelmora.h"

namespace {

std::atomic<long> allocations{0};

using Timer = znVelmora::znHiResTimer;

Timer startedTimer() {
    Timer timer;
    timer.initializeTimer();
    timer.performCounter();
    return timer;
}

template <class Query> void measure(benchmark::State& state, Query query) {
    Timer timer = startedTimer();
    const long before = allocations;
    for (auto _ : state)
        benchmark::DoNotOptimize(query(timer));
    state.counters["allocs/iter"] =
        benchmark::Counter(double(allocations - before), benchmark::Counter::kAvgIterations);
}

void performCounter(benchmark::State& state) {
    measure(state, [](Timer& timer) {
        timer.performCounter();
        return timer.currentCount.QuadPart;
    });
}

void getElapsedSeconds(benchmark::State& state) {
    measure(state, [](Timer& timer) { return timer.getElapsedSeconds(); });
}

void getFPS(benchmark::State& state) {
    measure(state, [](Timer& timer) { return timer.getFPS(); });
}

void elapsedTimeinMSSinceLastRender(benchmark::State& state) {
    measure(state, [](Timer& timer) { return timer.elapsedTimeinMSSinceLastRender(); });
}

} // namespace

// NOTE: GCC 12 takes malloc inside a replaced operator new and free inside the matching delete
// for a mismatched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++allocations;
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

BENCHMARK(performCounter);
BENCHMARK(getElapsedSeconds);
BENCHMARK(getFPS);
BENCHMARK(elapsedTimeinMSSinceLastRender);
BENCHMARK_MAIN();
