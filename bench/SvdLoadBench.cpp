// SPDX-License-Identifier: MIT
// Loading an SVD file into a headless tree and field table (pugixml's parse,
// the expansion and the rows), next to pugixml parsing the same bytes alone,
// for each generated SVD file; the goal is a load in at most 6 times the time
// of the parse (the summary table prints the ratio for each file). Reading the
// file into memory is not timed.
//
// The load and the parse are timed under the same heap treatment, given as
// the second argument: "trimmed:0" reuses what the previous iteration freed
// (the steady state of a benchmark loop), "trimmed:1" hands freed memory back
// to the system before each iteration, so both fault in fresh pages as a first
// load in a new process does. The C library's thresholds for mapping and
// trimming are fixed in main() so that its own choices do not differ between
// the two. The memory figures (the heap left in use by the
// loaded tree and table, and the peak resident memory while loading: the
// file's text, pugixml's document and the rows) come from a benchmark of their
// own, BM_SvdLoadMemory, whose time is not compared.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <cstdint>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "bench/BenchData.h"
#include "bench/HeapFigures.h"
#include "bench/LoadFigures.h"
#include "bench/RatioSummary.h"
#include "defs/FieldTable.h"
#include "defs/SvdLoader.h"
#include "tree/PropTree.h"

namespace {

const std::string& FileName(benchmark::State& state) {
    return BenchSvdNames().at(static_cast<std::size_t>(state.range(0)));
}

// Each file's text, read once and kept for both benchmarks.
const std::string& CachedText(const std::string& name) {
    static std::map<std::string, std::string> texts;
    auto it = texts.find(name);
    if (it == texts.end()) it = texts.emplace(name, ReadBenchFile(BenchSvdPath(name))).first;
    return it->second;
}

// The text of the benchmark's file, or null (the benchmark skipped) when it cannot be read.
const std::string* TextOf(benchmark::State& state) {
    const std::string& name = FileName(state);
    state.SetLabel(name);
    const std::string& text = CachedText(name);
    if (!text.empty()) return &text;
    state.SkipWithError(("cannot read " + BenchSvdPath(name) + " (build the bench_data target)").c_str());
    return nullptr;
}

// Fields of each file after expansion, as its load counted them.
std::map<std::string, std::int64_t>& FieldCounts() {
    static std::map<std::string, std::int64_t> counts;
    return counts;
}

void ReportPerField(benchmark::State& state, const std::string& text, std::int64_t fields) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    if (fields <= 0) return;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * fields);
    state.counters["fields"] = static_cast<double>(fields);
    state.counters["bytes_per_field"] = static_cast<double>(text.size()) / static_cast<double>(fields);
}

// The heap treatment before each timed iteration, the same for the load and the parse.
void PrepareHeap(const benchmark::State& state) {
    if (state.range(1) != 0) malloc_trim(0);
}

// The page faults of the timed parts, an iteration's on average: they show
// whether the load and the parse found their memory in the same state.
class FaultCount {
public:
    void Start() { m_start = MinorFaults(); }
    void Stop() { m_faults += MinorFaults() - m_start; }
    void Report(benchmark::State& state) const {
        if (state.iterations() > 0)
            state.counters["faults"] = static_cast<double>(m_faults) / static_cast<double>(state.iterations());
    }

private:
    std::int64_t m_start = 0;
    std::int64_t m_faults = 0;
};

void BM_SvdLoad(benchmark::State& state) {
    const std::string* text = TextOf(state);
    if (!text) return;
    const std::string& name = FileName(state);
    std::int64_t fields = 0;
    FaultCount faults;
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<CRegisterMap>();
        PrepareHeap(state);
        faults.Start();
        state.ResumeTiming();
        {
            const LoadReport result = LoadSvdText(*map, *text, name);
            state.PauseTiming();
            faults.Stop();
            if (!result.Ok()) {
                state.SkipWithError(("load failed: " + result.Message().value_or("")).c_str());
                break;
            }
            fields = result.fields;
        }
        map.reset();
        state.ResumeTiming();
    }
    FieldCounts()[name] = fields;
    ReportPerField(state, *text, fields);
    faults.Report(state);
}

// pugixml's parse of the same bytes into its document, default options (it
// copies the text, as the loader's parse does); making and freeing the
// document are outside the timed part.
void BM_SvdPugixml(benchmark::State& state) {
    const std::string* text = TextOf(state);
    if (!text) return;
    FaultCount faults;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<pugi::xml_document>();
        PrepareHeap(state);
        faults.Start();
        state.ResumeTiming();
        const pugi::xml_parse_result result = doc->load_buffer(text->data(), text->size());
        state.PauseTiming();
        faults.Stop();
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        doc.reset();
        state.ResumeTiming();
    }
    const auto counted = FieldCounts().find(FileName(state));
    ReportPerField(state, *text, counted == FieldCounts().end() ? 0 : counted->second);
    faults.Report(state);
}

// The heap a load leaves in use and the growth of resident memory while it
// runs, each load after the heap is trimmed (MeasureLoads).
void BM_SvdLoadMemory(benchmark::State& state) {
    const std::string* text = TextOf(state);
    if (!text) return;
    const std::string& name = FileName(state);
    std::int64_t fields = 0;
    const LoadFigures figures = MeasureLoads(state, [&](CRegisterMap& map, std::string& error) {
        const LoadReport result = LoadSvdText(map, *text, name);
        fields = result.fields;
        error = result.Message().value_or("");
        return result.Ok();
    });
    ReportPerField(state, *text, fields);
    if (fields <= 0) return;
    const auto perField = [fields](std::int64_t bytes) { return static_cast<double>(bytes) / static_cast<double>(fields); };
    state.counters["heap_per_field"] = perField(figures.heap);
    state.counters["peak_rss_per_field"] = perField(figures.peakRss);
}

// The load and the parse of one file under one heap treatment run one after
// the other, so that both see the machine in the same state.
void RegisterBenchmarks() {
    using Function = void (*)(benchmark::State&);
    const std::pair<const char*, Function> pair[] = {{"BM_SvdLoad", BM_SvdLoad}, {"BM_SvdPugixml", BM_SvdPugixml}};
    for (std::size_t i = 0; i < BenchSvdNames().size(); ++i) {
        const auto file = static_cast<std::int64_t>(i);
        for (const std::int64_t trimmed : {0, 1}) {
            for (const auto& [name, function] : pair) {
                benchmark::RegisterBenchmark(name, function)
                    ->Args({file, trimmed})
                    ->ArgNames({"file", "trimmed"})
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(1.0);
            }
        }
        // A few loads are enough for the memory figures, which vary little.
        benchmark::RegisterBenchmark("BM_SvdLoadMemory", BM_SvdLoadMemory)
            ->Args({file, 1})
            ->ArgNames({"file", "trimmed"})
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The C library otherwise decides from what was freed before whether a
    // large block comes from the heap or is mapped afresh, and whether freed
    // memory at the heap's top goes back to the system: the same parse then
    // faults in its 21 MB buffer on every iteration or on none, depending on
    // which benchmark ran before it and how much the last iteration freed.
    // Fixed thresholds make "trimmed:0" mean reused memory for the load and
    // the parse alike (files up to 32 MB); "trimmed:1" still gives each
    // iteration fresh pages.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    RegisterBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioSummary summary("BM_SvdLoad", {"BM_SvdPugixml"}, RatioSummary::Ratio::Time);
    benchmark::RunSpecifiedBenchmarks(&summary);
    summary.PrintTable(std::cout);
    benchmark::Shutdown();
    return 0;
}
