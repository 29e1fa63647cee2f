// SPDX-License-Identifier: MIT
#pragma once
// The loop the load benchmarks share: each iteration loads into a fresh tree
// register map, timing only the load, and measures the heap the load
// leaves in use and the growth of resident memory while it ran.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "bench/HeapFigures.h"
#include "defs/RegisterMap.h"

struct LoadFigures {
    std::int64_t heap = 0;     // of the last load
    std::int64_t peakRss = 0;  // of the last load, 0 when unknown
};

// `load(map, error)` loads and returns false, with `error` set, when it failed.
template <typename Load>
LoadFigures MeasureLoads(benchmark::State& state, Load load) {
    LoadFigures figures;
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<CRegisterMap>();
        malloc_trim(0);  // hand freed memory back, so the RSS figure sees this load's growth
        const std::int64_t heapBefore = HeapInUse();
        const std::int64_t rssBefore = CurrentRss();
        const bool peakKnown = ResetPeakRss();
        std::string error;
        state.ResumeTiming();

        const bool ok = load(*map, error);

        state.PauseTiming();
        figures.heap = HeapInUse() - heapBefore;
        figures.peakRss = peakKnown ? PeakRss() - rssBefore : 0;
        if (!ok) {
            state.SkipWithError(("load failed: " + error).c_str());
            break;
        }
        map.reset();
        state.ResumeTiming();
    }
    return figures;
}

// Counts the line feeds of `text` with memchr: one pass over the bytes and no
// work per byte, the yardstick of reading memory.
inline std::int64_t CountLineFeeds(const std::string& text) {
    std::int64_t lines = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    return lines;
}
