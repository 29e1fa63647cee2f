// SPDX-License-Identifier: MIT
// The GDB client against the real thing: QEMU's GDB server on an emulated
// STM32F405. Its device models answer reads with their reset values, and it
// ignores a debugger's writes to them, so writes go to SRAM.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "remote/GdbClient.h"
#include "target/ReadPlan.h"
#include "tests/QemuBoard.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kSram = 0x20000000;

std::uint32_t LittleEndianWord(const std::vector<std::uint8_t>& bytes, std::size_t at = 0) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

struct ResetValue {
    const char* name;
    std::uint64_t address;
    std::uint32_t value;
};

constexpr ResetValue kResetValues[] = {
    {"ADC1 HTR", 0x40012024, 0x00000FFF},
    {"SPI1 SR", 0x40013008, 0x0000000A},
    {"USART1 SR", 0x40011000, 0x000000C0},
    {"CPUID", 0xE000ED00, 0x410FC240},
};

// Paused at start, and running until the client connects: then QEMU stops
// the core and sends a stop reply nobody asked for, which must not be taken
// for the answer to the first read.
TEST(QemuTarget, ReadsTheDeviceModelsResetValuesPausedOrRunning) {
    REQUIRE_QEMU();
    for (const bool paused : {true, false}) {
        SCOPED_TRACE(paused ? "paused" : "running");
        QemuBoard board(paused);
        ASSERT_EQ(board.Problem(), "");
        if (!paused) std::this_thread::sleep_for(200ms);  // let the core run
        CGdbClient client;
        ASSERT_EQ(board.Connect(client), "");
        EXPECT_EQ(client.PacketSize(), 0x1000u);
        for (const ResetValue& reg : kResetValues) {
            const auto read = client.ReadMemory(reg.address, 4);
            ASSERT_TRUE(read.Ok()) << reg.name << ": " << read.Text();
            EXPECT_EQ(LittleEndianWord(read.Value()), reg.value) << reg.name;
        }
    }
}

TEST(QemuTarget, WritesSramReadsItBackAndReportsUnmappedAddresses) {
    REQUIRE_QEMU();
    QemuBoard board;
    ASSERT_EQ(board.Problem(), "");
    CGdbClient client;
    ASSERT_EQ(board.Connect(client), "");

    const std::vector<std::uint8_t> word{0x78, 0x56, 0x34, 0x12};
    ASSERT_TRUE(client.WriteMemory(kSram, word).Ok());
    const auto back = client.ReadMemory(kSram, 4);
    ASSERT_TRUE(back.Ok()) << back.Text();
    EXPECT_EQ(back.Value(), word);

    // 256 consecutive words, written in packet-sized pieces and read back
    // through a plan of register reads.
    std::vector<std::uint8_t> words(1024);
    std::vector<TargetReadSpan> registers;
    for (std::uint32_t i = 0; i < 256; ++i) {
        for (std::uint32_t b = 0; b < 4; ++b) words[4 * i + b] = static_cast<std::uint8_t>(i * 7 + b);
        registers.push_back({kSram + 0x100 + 4 * i, 4});
    }
    ASSERT_TRUE(client.WriteMemory(kSram + 0x100, words).Ok());
    const std::vector<PlannedRead> plan = PlanRegisterReads(registers, client.MaxReadBytes());
    ASSERT_EQ(plan.size(), 1u);
    const auto all = client.ReadMemory(plan[0].address, plan[0].bytes);
    ASSERT_TRUE(all.Ok()) << all.Text();
    EXPECT_EQ(all.Value(), words);

    // Larger than one request: split by the client.
    const auto large = client.ReadMemory(kSram, 5000);
    ASSERT_TRUE(large.Ok()) << large.Text();
    EXPECT_EQ(std::vector<std::uint8_t>(large.Value().begin() + 0x100, large.Value().begin() + 0x500), words);

    const auto unmapped = client.ReadMemory(0x60000000, 4);
    EXPECT_EQ(unmapped.Text(), "the target refused to read 4 bytes at 0x60000000 (E14)");
    EXPECT_TRUE(client.IsConnected());
}

// The detach leaves QEMU running the firmware, and it takes the next debugger.
TEST(QemuTarget, DetachesSoTheTargetRunsOn) {
    REQUIRE_QEMU();
    QemuBoard board;
    ASSERT_EQ(board.Problem(), "");
    {
        CGdbClient client;
        ASSERT_EQ(board.Connect(client), "");
        ASSERT_TRUE(client.ReadMemory(0xE000ED00, 4).Ok());
    }
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(board.Running());
    CGdbClient again;
    ASSERT_EQ(board.Connect(again), "");
    const auto read = again.ReadMemory(0x40012024, 4);
    ASSERT_TRUE(read.Ok()) << read.Text();
    EXPECT_EQ(LittleEndianWord(read.Value()), 0x00000FFFu);
}

}  // namespace
