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

#include "bench/VendorMap.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"

namespace {

// A box without a window; the hex box runs the decomposition inside each write, as in the window.
class PlainBox : public ValueBox {
public:
    std::string GetText() const override { return m_text; }
    void SetText(const std::string& text) override { m_text = text; }

private:
    std::string m_text;
};

void BM_LoadMap(benchmark::State& state) {
    for (auto _ : state) {
        CRegisterMap map;
        if (!LoadVendorMap(state, map)) return;
        benchmark::DoNotOptimize(map.Registers().data());
    }
}

void BM_ReadValuesForMap(benchmark::State& state) {
    CRegisterMap map;
    if (!LoadVendorMap(state, map)) return;
    const std::string text = VendorValuesFor(map);
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
    if (!LoadVendorMap(state, map)) return;
    PlainBox hex;
    PlainBox decimal;
    CRegisterCalculator calc(map, hex, decimal);
    const std::string text = VendorValuesFor(map);
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
