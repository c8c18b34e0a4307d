// The dependency scan over large preprocessed outputs, in process.
// Run: build/bench/scan_benchmark
#include "compile/dependency_file.h"
#include "preprocessed_text.h"

#include <benchmark/benchmark.h>

namespace {

void scanAndFormat(benchmark::State& state) {
    const std::size_t megabytes = static_cast<std::size_t>(state.range(0));
    const std::size_t directives = static_cast<std::size_t>(state.range(1));
    const std::string text = zarn::bench::preprocessedText(megabytes << 20, directives, 5000);
    for (auto _ : state) {
        auto names = zarn::scanLineDirectives(text);
        std::string file = zarn::dependencyFileText("foo.obj", names, true);
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["directives"] = static_cast<double>(directives);
}

BENCHMARK(scanAndFormat)
    ->Args({1, 10000})
    ->Args({100, 1000000})
    ->Args({200, 1000000})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
