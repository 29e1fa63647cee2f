// SPDX-License-Identifier: MIT
// tavlin --gdb HOST:PORT --read/--write against QEMU's emulated STM32F405 and
// against servers that are not there; every run ends within the client's deadline.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "remote/GdbClient.h"
#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/QemuBoard.h"
#include "tests/TempDir.h"

namespace {

std::string BoardMapFile(const TempDir& dir) {
    return dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
}

// The board's map in a file, and the board with its GDB server listening (QEMU takes a moment to start).
struct BoardRun {
    TempDir dir;
    std::string map = BoardMapFile(dir);
    QemuBoard board;
    std::string Started() {
        if (!board.Problem().empty()) return board.Problem();
        CGdbClient probe;
        return board.Connect(probe);
    }
};

TEST(TargetCommandLine, ReadsRegistersAndSetsAsDecodePrintsThem) {
    REQUIRE_QEMU();
    BoardRun run;
    ASSERT_EQ(run.Started(), "");
    const std::string& map = run.map;
    QemuBoard& board = run.board;

    const Outcome read = RunTavlin({"--gdb", board.Endpoint(), "--read", map, "SCB.CPUID", "0x40012024", "SPI1"});
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.err, "SPI1.DR changes when read: not read\n");
    // In the map's order, each once, with the device models' reset values.
    EXPECT_EQ(read.out,
              "ADC1.HTR @0x40012024 = 0x00000fff\n"
              "  HT [11:0] = 0xfff\n"
              "SPI1.CR1 @0x40013000 = 0x00000000\n"
              "  SPE [6] = Disabled\n"
              "  BR [5:3] = 0x0\n"
              "  MSTR [2] = 0x0\n"
              "SPI1.SR @0x40013008 = 0x0000000a\n"
              "  BSY [7] = 0x0\n"
              "  OVR [6] = 0x0\n"
              "  MODF [5] = 0x0\n"
              "  CRCERR [4] = 0x0\n"
              "  UDR [3] = 0x1\n"
              "  CHSIDE [2] = 0x0\n"
              "  TXE [1] = 0x1\n"
              "  RXNE [0] = 0x0\n"
              "SCB.CPUID @0xe000ed00 = 0x410fc240\n"
              "  Implementer [31:24] = ARM\n"
              "  Variant [23:20] = 0x0\n"
              "  Architecture [19:16] = 0xf\n"
              "  PartNo [15:4] = CortexM4\n"
              "  Revision [3:0] = 0x0\n");

    // A write is read back; the value stays in the board's SRAM for the next run.
    const Outcome write = RunTavlin({"--gdb", board.Endpoint(), "--write", map, "SCRATCH.WORD0=0x12345678"});
    EXPECT_EQ(write.code, 0) << write.err;
    EXPECT_EQ(write.out, "SCRATCH.WORD0 @0x20000100 = 0x12345678\n  HIGH [31:16] = 0x1234\n  LOW [15:0] = 0x5678\n");
    const Outcome again = RunTavlin({"--gdb", board.Endpoint(), "--read", map, "SCRATCH.WORD0"});
    EXPECT_EQ(again.out, write.out);

    // --trace records the packets of the write and its read-back; a trace that
    // cannot be made stops the command before it connects.
    const std::string trace = (run.dir.Path() / "trace.txt").string();
    const std::string folder = run.dir.Path().string();
    const Outcome traced =
        RunTavlin({"--gdb", board.Endpoint(), "--trace", trace, "--write", map, "SCRATCH.WORD0=0x12345678"});
    EXPECT_EQ(traced.out, write.out);
    const std::string lines = ReadWholeFile(trace);
    const auto written = lines.find("[remote] Sending packet: $M20000100,4:78563412#");
    const auto readBack = lines.find("[remote] Sending packet: $m20000100,4#");
    EXPECT_NE(written, std::string::npos) << lines;
    EXPECT_NE(readBack, std::string::npos) << lines;
    EXPECT_LT(written, readBack);
    EXPECT_NE(lines.find("[remote] Packet received: 78563412"), std::string::npos) << lines;
    const Outcome untraceable =
        RunTavlin({"--gdb", board.Endpoint(), "--trace", folder, "--read", map, "SCRATCH.WORD0"});
    EXPECT_EQ(untraceable.code, 1);
    EXPECT_EQ(untraceable.out, "");
    EXPECT_EQ(untraceable.err.rfind("cannot write the packet trace " + folder + ": ", 0), 0u) << untraceable.err;

    // A write-only register is written and not read back: it shows the value written.
    const Outcome command = RunTavlin({"--gdb", board.Endpoint(), "--write", map, "SCRATCH.COMMAND=7"});
    EXPECT_EQ(command.code, 0) << command.err;
    EXPECT_EQ(command.err, "SCRATCH.COMMAND is write-only: not read back\n");
    EXPECT_EQ(command.out, "SCRATCH.COMMAND @0x20000110 = 0x00000007\n  COMMAND [31:0] = 0x7\n");
}

TEST(TargetCommandLine, ProblemsGoToStandardErrorOneALine) {
    REQUIRE_QEMU();
    BoardRun run;
    ASSERT_EQ(run.Started(), "");
    const std::string& map = run.map;
    QemuBoard& board = run.board;
    const std::string gdb = board.Endpoint();
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"--gdb", gdb, "--read", map, "ADC1.NOPE"}, 1, "ADC1.NOPE names no register\n"},
        {{"--gdb", gdb, "--write", map, "SCB.CPUID=1"}, 1, "SCB.CPUID is read-only: not written\n"},
        {{"--gdb", gdb, "--write", map, "ADC1=1"}, 1, "ADC1 is a register set, not a register\n"},
        {{"--gdb", gdb, "--write", map, "ADC1.HTR=lots"}, 1, "\"lots\" is not a number\n"},
        {{"--gdb", gdb, "--write", map, "ADC1.HTR"}, 1, "\"ADC1.HTR\" is not NAME=VALUE\n"},
        {{"--gdb", gdb, "--read", map, "0x30000000"}, 1, "0x30000000 names no register\n"},
        {{"--read", map, "ADC1.HTR"}, 2, "tavlin: --read needs --gdb HOST:PORT\n"},
        {{"--gdb", gdb, "--read", map}, 2, "tavlin: --read needs a map and a NAME\n"},
        {{"--gdb", gdb, "--read", "--write", map, "A=1"}, 2, "tavlin: --read and --write go one at a time\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunTavlin(c.args);
        EXPECT_EQ(outcome.code, c.code) << c.args.back();
        EXPECT_EQ(outcome.err, c.err) << c.args.back();
        EXPECT_EQ(outcome.out, "") << c.args.back();
    }
}

TEST(TargetCommandLine, AServerThatIsNotThereEndsTheCommandWithOneLine) {
    TempDir dir;
    const std::string map = BoardMapFile(dir);
    const auto start = std::chrono::steady_clock::now();
    const Outcome refused =
        RunTavlin({"--gdb", "127.0.0.1:" + std::to_string(FreeLoopbackPort()), "--read", map, "ADC1.HTR"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("127.0.0.1"), std::string::npos) << refused.err;
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    const Outcome badEndpoint = RunTavlin({"--gdb", "nowhere", "--read", map, "ADC1.HTR"});
    EXPECT_EQ(badEndpoint.code, 1);
    EXPECT_EQ(std::count(badEndpoint.err.begin(), badEndpoint.err.end(), '\n'), 1) << badEndpoint.err;
    // Well within the client's two-second deadline for each: a refused connection is not waited for.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
