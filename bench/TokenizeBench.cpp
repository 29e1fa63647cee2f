// SPDX-License-Identifier: MIT
// How fast the token reader splits a definitions file, next to two
// yardsticks over the same bytes: memchr looking for line feeds (about as
// fast as memory can be read) and pugixml building a DOM of the file.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchData.h"
#include "bench/LoadFigures.h"
#include "bench/RatioSummary.h"
#include "defs/TokenReader.h"

namespace {

// Each file's text, read once and kept for the yardsticks.
const std::string& CachedText(std::int64_t fields) {
    static std::map<std::int64_t, std::string> texts;
    auto it = texts.find(fields);
    if (it == texts.end()) it = texts.emplace(fields, ReadBenchFile(BenchDataPath(fields))).first;
    return it->second;
}

bool HaveText(benchmark::State& state, const std::string& text) {
    if (!text.empty()) return true;
    state.SkipWithError(("cannot read " + BenchDataPath(state.range(0)) + " (build the bench_data target)").c_str());
    return false;
}

void ReportPerField(benchmark::State& state, const std::string& text) {
    const auto fields = state.range(0);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * fields);
    state.counters["bytes_per_field"] = static_cast<double>(text.size()) / static_cast<double>(fields);
}

// The reader as the loader uses it: the extra delimiters '=', '<' and '>'.
// The file's text is in memory beforehand (a large file opened by name is
// read a window at a time, which would time the reading too).
void BM_TokenReader(benchmark::State& state) {
    const std::string& text = CachedText(state.range(0));
    if (!HaveText(state, text)) return;
    std::int64_t tokens = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CTokenReader reader;
        reader.OpenText(NewTextBlock(text));
        reader.AddDelimiter('=');
        reader.AddDelimiter('<');
        reader.AddDelimiter('>');
        state.ResumeTiming();
        while (const char* token = reader.NextToken(CTokenReader::kTokenCapacity)) {
            benchmark::DoNotOptimize(token);
            ++tokens;
        }
        state.PauseTiming();
        reader.Close();
        state.ResumeTiming();
    }
    ReportPerField(state, text);
    state.counters["tokens"] = static_cast<double>(tokens) / static_cast<double>(state.iterations());
}

// Counting line feeds with memchr: one pass over the bytes, no work per byte.
void BM_Memchr(benchmark::State& state) {
    const std::string& text = CachedText(state.range(0));
    if (!HaveText(state, text)) return;
    for (auto _ : state) benchmark::DoNotOptimize(CountLineFeeds(text));
    ReportPerField(state, text);
}

// pugixml parsing a copy of the text in place into its DOM; making the copy
// and freeing the DOM are outside the timed part.
void BM_Pugixml(benchmark::State& state) {
    const std::string& text = CachedText(state.range(0));
    if (!HaveText(state, text)) return;
    auto buffer = std::make_unique<char[]>(text.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.get(), text.data(), text.size());
        auto doc = std::make_unique<pugi::xml_document>();
        state.ResumeTiming();
        const pugi::xml_parse_result result = doc->load_buffer_inplace(buffer.get(), text.size());
        state.PauseTiming();
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        doc.reset();
        state.ResumeTiming();
    }
    ReportPerField(state, text);
}

void FieldCounts(benchmark::internal::Benchmark* b) {
    for (const auto fields : BenchFieldCounts()) b->Arg(fields);
    b->ArgName("fields")->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(BM_TokenReader)->Apply(FieldCounts);
BENCHMARK(BM_Memchr)->Apply(FieldCounts);
BENCHMARK(BM_Pugixml)->Apply(FieldCounts);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioSummary summary("BM_TokenReader", {"BM_Memchr", "BM_Pugixml"});
    benchmark::RunSpecifiedBenchmarks(&summary);
    summary.PrintTable(std::cout);
    benchmark::Shutdown();
    return 0;
}
