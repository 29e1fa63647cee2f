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

#include "remote/GdbClient.h"
#include "remote/ReadPlan.h"
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
    std::vector<RegisterSpan> registers;
    for (std::uint64_t i = 0; i < 256; ++i) registers.push_back({kSram + i * stride, 4});
    const std::vector<PlannedRead> plan = PlanRegisterReads(registers, client->MaxReadBytes());
    for (auto _ : state) {
        for (const PlannedRead& read : plan) {
            auto bytes = client->ReadMemory(read.address, read.bytes);
            if (!bytes.Ok()) {
                state.SkipWithError(bytes.Problem().c_str());
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
            state.SkipWithError(bytes.Problem().c_str());
            return;
        }
        benchmark::DoNotOptimize(bytes.Value().data());
    }
}

void BM_Read256NeighbouringRegisters(benchmark::State& state) { ReadPlanned(state, 4); }
void BM_Read256RegistersWithGaps(benchmark::State& state) { ReadPlanned(state, 8); }

}  // namespace

BENCHMARK(BM_ReadOneRegister)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Read256NeighbouringRegisters)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_Read256RegistersWithGaps)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
