// Library look-up during classification: many -L directories and many -l names, each name
// found only in the first directory given, so every look-up walks all the others first.
// Run: build/bench/library_lookup_benchmark
#include "driver/classify.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class LibraryTree {
  public:
    LibraryTree(int directories, int libraries) {
        char pattern[] = "/tmp/zarn-lookup-XXXXXX";
        root_ = mkdtemp(pattern);
        for (int d = 0; d < directories; ++d)
            fs::create_directory(root_ / ("d" + std::to_string(d)));
        for (int l = 0; l < libraries; ++l)
            std::fclose(
                std::fopen((root_ / "d0" / ("l" + std::to_string(l) + ".lib")).c_str(), "w"));
        words_.push_back("zarn");
        for (int d = 0; d < directories; ++d)
            words_.push_back("-L" + (root_ / ("d" + std::to_string(d))).string());
        for (int l = 0; l < libraries; ++l)
            words_.push_back("-ll" + std::to_string(l));
        words_.push_back("-link");
        for (std::string& word : words_)
            argv_.push_back(word.data());
    }
    ~LibraryTree() { fs::remove_all(root_); }
    int argc() const { return static_cast<int>(argv_.size()); }
    char* const* argv() const { return argv_.data(); }

  private:
    fs::path root_;
    std::vector<std::string> words_;
    std::vector<char*> argv_;
};

void classifyWithLibraries(benchmark::State& state) {
    LibraryTree tree(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        zarn::CompilerArgs compiler;
        zarn::LinkerArgs linker;
        benchmark::DoNotOptimize(
            &zarn::classifyArguments(tree.argc(), tree.argv(), compiler, linker));
    }
    state.counters["lookups"] = static_cast<double>(state.range(0) * state.range(1));
}

BENCHMARK(classifyWithLibraries)
    ->Args({10, 20})
    ->Args({100, 200})
    ->Args({1000, 2000})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
