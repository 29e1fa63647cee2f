// SPDX-License-Identifier: MIT
// tavlin --decode on the vendor-sized SVD file with a values file giving
// every one of its registers a value: the decode listing (BM_DecodeListing)
// beside the same command with --as c (BM_DecodeAsC), and the printing alone
// of each over the map with its values given (BM_PrintListing,
// BM_PrintStatements). Goal: --as c under 100 ms more than the listing; the
// difference is printed after the runs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "app/Decode.h"
#include "bench/BenchData.h"
#include "bench/VendorMap.h"
#include "bench/WallTimeReporter.h"
#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"

namespace {

// A values file beside the map giving every register a value other than its reset value; its path.
const std::string& ValuesPath(const CRegisterMap& map) {
    static const std::string path = [&map] {
        const std::string file = BenchSvdPath("svd-vendor-values.txt");
        std::ofstream(file, std::ios::binary) << VendorValuesFor(map);
        return file;
    }();
    return path;
}

void RunCommand(benchmark::State& state, bool asC) {
    CRegisterMap map;
    if (!LoadVendorMap(state, map)) return;
    DecodeRequest request;
    request.map.file = BenchSvdPath(kVendorMapName);
    request.values = {ValuesPath(map)};
    request.asC = asC;
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        if (RunDecode(request, out, err) != 0) state.SkipWithError(err.str().c_str());
        bytes = out.str().size();
    }
    state.counters["registers"] = static_cast<double>(map.Registers().size());
    state.counters["printed_bytes"] = static_cast<double>(bytes);
}

void BM_DecodeListing(benchmark::State& state) { RunCommand(state, false); }
void BM_DecodeAsC(benchmark::State& state) { RunCommand(state, true); }

// The map with every register given its value, as --decode has it before printing.
struct GivenMap {
    CRegisterMap map;
    NoValueBox hex, decimal;
    CRegisterCalculator calc{map, hex, decimal};

    bool Give(benchmark::State& state) {
        if (!LoadVendorMap(state, map)) return false;
        std::ifstream in(ValuesPath(map), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        ApplyValuesText(map, calc, text.str(), ValueSource::ValuesFile);
        return true;
    }
};

void BM_PrintListing(benchmark::State& state) {
    GivenMap given;
    if (!given.Give(state)) return;
    const CRegisterRowDescriber describer(given.map);
    for (auto _ : state) {
        std::ostringstream out;
        for (const CRegisterItem* reg : given.map.Registers())
            PrintDecodedRegister(out, given.map, describer, *reg, given.map.ValueOf(*reg)->value);
        benchmark::DoNotOptimize(out.str().data());
    }
}

void BM_PrintStatements(benchmark::State& state) {
    GivenMap given;
    if (!given.Give(state)) return;
    for (auto _ : state) {
        std::ostringstream out;
        for (std::size_t i = 0; i < given.map.Registers().size(); ++i)
            out << CodeStatement(given.map, i, given.map.ValueOf(*given.map.Registers()[i])->value) << '\n';
        benchmark::DoNotOptimize(out.str().data());
    }
}

// Each statement-writing run beside the listing it is measured against.
void PrintDifference(const WallTimeReporter& times, std::ostream& out) {
    const auto print = [&](const char* what, const char* subject, const char* yardstick) {
        const std::optional<double> s = times.Ms(subject), y = times.Ms(yardstick);
        if (!s || !y) return;
        out << what << ": " << *s << " ms, the listing " << *y << " ms: " << *s - *y << " ms more (goal: under 100 ms more)\n";
    };
    print("--decode --as c, the whole command", "BM_DecodeAsC", "BM_DecodeListing");
    print("the statements printed alone", "BM_PrintStatements", "BM_PrintListing");
}

}  // namespace

BENCHMARK(BM_DecodeListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAsC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintStatements)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunWithGoals(argc, argv, [](const WallTimeReporter& times) { PrintDifference(times, std::cout); });
}
