// SPDX-License-Identifier: MIT
// Values for a whole loaded map, the way the window gives them: the
// vendor-sized SVD file loaded into a map, a values file naming every one of
// its registers, read for the map (BM_ReadValuesForMap) and then given to
// every register through the calculator, each register's field rows
// following (BM_ApplyValuesToMap). BM_LoadMap is the map's own load, the
// yardstick in the same run. Goals: giving the values under 50 ms, reading
// them under 10 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench/BenchData.h"
#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "values/ValuesFileWriter.h"

namespace {

const std::string kMapName = "svd-vendor.svd";

// A box without a window; the hex box runs the decomposition inside each write, as in the window.
class PlainBox : public ValueBox {
public:
    std::string GetText() const override { return m_text; }
    void SetText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};

const std::string& MapText() {
    static const std::string text = ReadBenchFile(BenchSvdPath(kMapName));
    return text;
}

bool Load(benchmark::State& state, CRegisterMap& map) {
    if (MapText().empty()) {
        state.SkipWithError(("cannot read " + BenchSvdPath(kMapName) + " (build the bench_data target)").c_str());
        return false;
    }
    const LoadReport report = LoadSvdText(map, MapText(), kMapName);
    if (!report.opened || map.Registers().empty()) {
        state.SkipWithError("the map did not load");
        return false;
    }
    return true;
}

// A values file giving every register of `map` a value other than its reset value.
std::string ValuesFileFor(const CRegisterMap& map) {
    ValuesFileWriter writer(kMapName);
    std::uint32_t seed = 7;
    for (const CRegisterItem* reg : map.Registers()) {
        seed = seed * 1103515245u + 12345u;
        const std::uint64_t value = reg->m_nBits < 32 ? seed & ((1u << reg->m_nBits) - 1) : seed;
        writer.Add(RegisterPath(*reg), FormatRegisterHex(value, reg->m_nBits));
    }
    return writer.Text();
}

void BM_LoadMap(benchmark::State& state) {
    for (auto _ : state) {
        CRegisterMap map;
        if (!Load(state, map)) return;
        benchmark::DoNotOptimize(map.Registers().data());
    }
}

void BM_ReadValuesForMap(benchmark::State& state) {
    CRegisterMap map;
    if (!Load(state, map)) return;
    const std::string text = ValuesFileFor(map);
    std::size_t given = 0;
    for (auto _ : state) {
        const ValuesInputReport report = ReadValuesFor(map, text);
        given = report.given.size();
        benchmark::DoNotOptimize(report.given.data());
    }
    if (given != map.Registers().size()) state.SkipWithError("not every register was given a value");
    state.counters["registers"] = static_cast<double>(given);
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_ApplyValuesToMap(benchmark::State& state) {
    CRegisterMap map;
    if (!Load(state, map)) return;
    PlainBox hex;
    PlainBox decimal;
    CRegisterCalculator calc(map, hex, decimal);
    const std::string text = ValuesFileFor(map);
    std::size_t given = 0;
    for (auto _ : state) {
        const ValuesInputReport report = ApplyValuesText(map, calc, text, ValueSource::ValuesFile);
        given = report.given.size();
    }
    if (given != map.Registers().size()) state.SkipWithError("not every register was given a value");
    state.counters["registers"] = static_cast<double>(given);
    state.counters["fields"] = static_cast<double>(map.Fields().Size());
}

}  // namespace

BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadValuesForMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyValuesToMap)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
