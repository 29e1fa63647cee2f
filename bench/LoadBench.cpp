// SPDX-License-Identifier: MIT
// Loading a definitions file into a headless tree and field table: time,
// the heap left in use by the loaded tree and table, and the peak resident
// memory while loading (which includes the file's text, held during the load).
// Beside it, memchr counting line feeds in the same bytes (about as fast as
// memory can be read), and a summary of the load's time over memchr's.
#include <benchmark/benchmark.h>


#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchData.h"
#include "bench/LoadFigures.h"
#include "bench/RatioSummary.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "tree/PropTree.h"

namespace {

void BM_LoadDefinitions(benchmark::State& state) {
    const auto fields = state.range(0);
    const std::string path = BenchDataPath(fields);
    std::error_code error;
    const auto fileSize = static_cast<std::int64_t>(std::filesystem::file_size(path, error));
    if (error) {
        state.SkipWithError(("cannot read " + path + " (build the bench_data target)").c_str());
        return;
    }
    const LoadFigures figures = MeasureLoads(state, [&](CRegisterMap& map, std::string& error) {
        const LoadReport result = LoadDefinitionsFile(map, path.c_str());
        error = result.Message().value_or("");
        return result.Ok() && result.fields == fields;
    });
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * fileSize);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * fields);
    const auto perField = [fields](std::int64_t bytes) { return static_cast<double>(bytes) / static_cast<double>(fields); };
    state.counters["heap_per_field"] = perField(figures.heap);
    state.counters["peak_rss_per_field"] = perField(figures.peakRss);
    state.counters["file_per_field"] = perField(fileSize);
}

// Counting line feeds with memchr over the file's bytes, read into memory
// once beforehand: the yardstick the load is compared with in the same run.
void BM_Memchr(benchmark::State& state) {
    static std::map<std::int64_t, std::string> texts;
    auto it = texts.find(state.range(0));
    if (it == texts.end()) it = texts.emplace(state.range(0), ReadBenchFile(BenchDataPath(state.range(0)))).first;
    const std::string& text = it->second;
    if (text.empty()) {
        state.SkipWithError(("cannot read " + BenchDataPath(state.range(0)) + " (build the bench_data target)").c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CountLineFeeds(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_LoadDefinitions)
    ->ArgName("fields")
    ->Arg(20000)
    ->Arg(200000)
    ->Arg(2000000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(BM_Memchr)->ArgName("fields")->Arg(20000)->Arg(200000)->Arg(2000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioSummary summary("BM_LoadDefinitions", {"BM_Memchr"}, RatioSummary::Ratio::Time);
    benchmark::RunSpecifiedBenchmarks(&summary);
    summary.PrintTable(std::cout);
    benchmark::Shutdown();
    return 0;
}
