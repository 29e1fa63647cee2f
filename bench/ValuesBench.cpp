// SPDX-License-Identifier: MIT
// Reading and applying values for a vendor-sized map (5 243 registers, as in
// svd-vendor.svd): a values file of one "NAME = 0x..." line a register, and a
// GDB x/wx dump of the same number of words over the same registers, read
// with a map lookup for the names; then laying the dump into memory and
// giving every register its value, and the values file's values by name. The
// goal is a read in under 10 ms. The texts are made here, in memory: the
// benchmarks time the values library alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "values/ValuesApplier.h"
#include "values/ValuesFileWriter.h"
#include "values/ValuesTextReader.h"

namespace {

constexpr int kRegisters = 5243;

struct BenchMap {
    std::vector<std::string> names;
    std::vector<RegisterSpan> spans;  // by address
    std::unordered_map<std::string_view, std::size_t> byName;
    std::string valuesFile;
    std::string gdbDump;
};

// Peripherals of 4 to 63 registers, 0x400 apart, with a gap after every
// seventh register; one in five peripherals is a DMA-like block of channels
// whose names are arrayed (DMA3.CH[2].CTRL).
const BenchMap& Map() {
    static const BenchMap map = [] {
        BenchMap m;
        std::uint32_t seed = 1;
        const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 16; };
        std::uint64_t base = 0x40000000;
        for (int peripheral = 0; static_cast<int>(m.spans.size()) < kRegisters; ++peripheral, base += 0x400) {
            const int count = 4 + static_cast<int>(next() % 60);
            const bool channels = peripheral % 5 == 4;
            std::uint64_t address = base;
            for (int r = 0; r < count && static_cast<int>(m.spans.size()) < kRegisters; ++r) {
                std::string name = (channels ? "DMA" : "PERIPH") + std::to_string(peripheral) + ".";
                name += channels ? "CH[" + std::to_string(r / 4) + "]." + "CTRL" + std::to_string(r % 4)
                                 : "REG_" + std::to_string(r);
                m.spans.push_back({address, 4, m.names.size()});
                m.names.push_back(std::move(name));
                address += r % 7 == 6 ? 8 : 4;
            }
        }
        for (std::size_t i = 0; i < m.names.size(); ++i) m.byName.emplace(m.names[i], i);

        ValuesFileWriter writer("svd-vendor.svd");
        char text[64];
        for (std::size_t i = 0; i < m.names.size(); ++i) {
            std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(next() * 2654435761u));
            writer.Add(m.names[i], text);
        }
        m.valuesFile = writer.Text();

        // As GDB writes x/4wx: four words a line, a symbol at each peripheral's start.
        std::uint64_t at = 0;
        std::size_t words = 0;
        for (const RegisterSpan& r : m.spans) {
            if (words % 4 == 0 || r.address != at) {
                if (words) m.gdbDump += '\n';
                std::snprintf(text, sizeof text, (r.address & 0x3ff) == 0 ? "0x%08llx <PERIPH>:" : "0x%08llx:",
                              static_cast<unsigned long long>(r.address));
                m.gdbDump += text;
                words = 0;
            }
            std::snprintf(text, sizeof text, "\t0x%08x", static_cast<unsigned>(next()));
            m.gdbDump += text;
            at = r.address + 4;
            ++words;
        }
        m.gdbDump += '\n';
        return m;
    }();
    return map;
}

bool IsName(std::string_view word) { return Map().byName.count(word) != 0; }

std::optional<RegisterSpan> FindByName(std::string_view name) {
    const auto it = Map().byName.find(name);
    if (it == Map().byName.end()) return std::nullopt;
    return Map().spans[it->second];
}

void Report(benchmark::State& state, const std::string& text, std::size_t values) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(values));
    state.counters["values"] = static_cast<double>(values);
    state.counters["bytes"] = static_cast<double>(text.size());
}

void ReadText(benchmark::State& state, const std::string& text) {
    std::size_t values = 0;
    for (auto _ : state) {
        const ValuesText read = ReadValuesText(text, IsName);
        if (!read.problems.Empty()) {
            state.SkipWithError(ValuesProblemLines(read.problems).front().c_str());
            break;
        }
        values = read.addressed.size() + read.named.size();
        benchmark::DoNotOptimize(read.addressed.data());
    }
    Report(state, text, values);
}

void BM_ReadValuesFile(benchmark::State& state) { ReadText(state, Map().valuesFile); }
void BM_ReadGdbDump(benchmark::State& state) { ReadText(state, Map().gdbDump); }

// The dump's values laid into memory and read back for every register.
void BM_ApplyGdbDump(benchmark::State& state) {
    ValuesText read = ReadValuesText(Map().gdbDump, IsName);
    std::size_t given = 0;
    for (auto _ : state) {
        const RegisterLayout layout(Map().spans);
        const ValuesApplier applier(layout, ByteOrder::Little);
        MemoryImage image;
        applier.Lay(image, read.addressed, read.problems);
        const AppliedValues applied = applier.Apply(image);
        given = applied.given.size();
        benchmark::DoNotOptimize(applied.given.data());
    }
    if (given != Map().spans.size()) state.SkipWithError("not every register was given a value");
    state.counters["registers"] = static_cast<double>(given);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(given));
}

// The values file's values given by name.
void BM_ApplyValuesFile(benchmark::State& state) {
    ValuesText read = ReadValuesText(Map().valuesFile, IsName);
    std::size_t given = 0;
    for (auto _ : state) {
        const RegisterLayout layout(Map().spans);
        const ValuesApplier applier(layout, ByteOrder::Little);
        AppliedValues applied;
        applier.ApplyNamed(read.named, FindByName, applied, read.problems);
        given = applied.given.size();
        benchmark::DoNotOptimize(applied.given.data());
    }
    if (given != Map().spans.size()) state.SkipWithError("not every register was given a value");
    state.counters["registers"] = static_cast<double>(given);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(given));
}

}  // namespace

BENCHMARK(BM_ReadValuesFile)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ReadGdbDump)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ApplyGdbDump)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_ApplyValuesFile)->Unit(benchmark::kMillisecond)->MinTime(0.5);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::cout << "values for " << Map().spans.size() << " registers: a values file of " << Map().valuesFile.size()
              << " bytes, a GDB dump of " << Map().gdbDump.size() << " bytes in "
              << std::count(Map().gdbDump.begin(), Map().gdbDump.end(), '\n') << " lines (goal: each read under 10 ms)\n";
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
