// SPDX-License-Identifier: MIT
// How long reads through a GDB server take, against QEMU's on an emulated
// STM32F405 on this machine: one 4-byte register (goal: under 5 ms), and
// sets of 256 registers - neighbouring words in SRAM that the read plan
// merges, and words with gaps between them that each need a request of their
// own (goal: under 50 ms). Wall-clock times: the client waits on the server.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "remote/GdbClient.h"
#include "target/ReadPlan.h"
#include "target/TargetTransfer.h"
#include "tests/QemuBoard.h"

namespace {

constexpr std::uint64_t kSram = 0x20000000;

// One board and one connection for every benchmark of the run.
CGdbClient* Connected(benchmark::State& state) {
    static std::unique_ptr<QemuBoard> board;
    static CGdbClient client;
    static std::string problem;
    if (!board) {
        board = std::make_unique<QemuBoard>();
        problem = board->Problem().empty() ? board->Connect(client) : board->Problem();
    }
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return nullptr;
    }
    return &client;
}

void ReadPlanned(benchmark::State& state, std::uint64_t stride) {
    CGdbClient* client = Connected(state);
    if (!client) return;
    std::vector<TargetReadSpan> registers;
    for (std::uint64_t i = 0; i < 256; ++i) registers.push_back({kSram + i * stride, 4});
    const std::vector<PlannedRead> plan = PlanRegisterReads(registers, client->MaxReadBytes());
    for (auto _ : state) {
        for (const PlannedRead& read : plan) {
            auto bytes = client->ReadMemory(read.address, read.bytes);
            if (!bytes.Ok()) {
                state.SkipWithError(bytes.Text().c_str());
                return;
            }
            benchmark::DoNotOptimize(bytes.Value().data());
        }
    }
    state.counters["requests"] = static_cast<double>(plan.size());
}

void BM_ReadOneRegister(benchmark::State& state) {
    CGdbClient* client = Connected(state);
    if (!client) return;
    for (auto _ : state) {
        auto bytes = client->ReadMemory(0x40012024, 4);  // ADC1 HTR
        if (!bytes.Ok()) {
            state.SkipWithError(bytes.Text().c_str());
            return;
        }
        benchmark::DoNotOptimize(bytes.Value().data());
    }
}

// A map of one set of 256 registers of four fields each, in SRAM.
std::string SramMap() {
    std::string svd = "<device><name>B</name><peripherals><peripheral><name>RAM</name><baseAddress>0x20000000"
                      "</baseAddress><registers>";
    for (int i = 0; i < 256; ++i) {
        svd += "<register><name>R" + std::to_string(i) + "</name><addressOffset>" + std::to_string(i * 4) +
               "</addressOffset><fields>";
        for (int f = 0; f < 4; ++f)
            svd += "<field><name>F" + std::to_string(f) + "</name><bitRange>[" + std::to_string(f * 8 + 7) + ":" +
                   std::to_string(f * 8) + "]</bitRange></field>";
        svd += "</fields></register>";
    }
    return svd + "</registers></peripheral></peripherals></device>";
}

// What Read (one register) and Read set (all 256) do, from the map to the
// field rows: the places chosen, the reads, and every field row following.
void ReadIntoMap(benchmark::State& state, std::size_t count) {
    CGdbClient* client = Connected(state);
    if (!client) return;
    CRegisterMap map;
    LoadSvdText(map, SramMap(), "ram.svd");
    NoValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    const std::vector<CRegisterItem*> registers(map.Registers().begin(), map.Registers().begin() + count);
    for (auto _ : state) {
        const TargetReadSelection selection = SelectForRead(map, registers);
        const auto values = ReadTargetRegisters(*client, selection.places, map.IsBigEndian());
        if (!values.Ok()) {
            state.SkipWithError(values.Text().c_str());
            return;
        }
        GiveRegisterValues(map, calc, selection.registers, values.Value(), ValueSource::Target);
    }
}

void BM_ReadRegisterIntoMap(benchmark::State& state) { ReadIntoMap(state, 1); }
void BM_ReadSetOf256IntoMap(benchmark::State& state) { ReadIntoMap(state, 256); }

void BM_Read256NeighbouringRegisters(benchmark::State& state) { ReadPlanned(state, 4); }
void BM_Read256RegistersWithGaps(benchmark::State& state) { ReadPlanned(state, 8); }

}  // namespace

BENCHMARK(BM_ReadOneRegister)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Read256NeighbouringRegisters)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Read256RegistersWithGaps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRegisterIntoMap)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ReadSetOf256IntoMap)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
