// Time per rectangle of calka's rectangle sum, at the steps its main uses:
// 100 / 2^k for k = 1 (2 rectangles) to 10 (1024 rectangles).
#include "tests/calka_program.h"

#include <benchmark/benchmark.h>

namespace {

void rectangle_sum(benchmark::State &state)
{
    const auto rectangles = static_cast<double>(state.range(0));
    const double step = 100.0 / rectangles;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the library idiom
        double start = 0.0;
        benchmark::DoNotOptimize(start); // keep the sum from being folded away
        benchmark::DoNotOptimize(calka_program::funkcja(step, start, 100.0));
    }
    // Reported as seconds per rectangle.
    state.counters["per_rectangle"] = benchmark::Counter(
        rectangles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(rectangle_sum)->RangeMultiplier(2)->Range(2, 1024);

} // namespace

BENCHMARK_MAIN();
