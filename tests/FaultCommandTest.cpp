// SPDX-License-Identifier: MIT
// Why the core faulted, from the command line: firmwares of a few bytes that
// fault on QEMU's Cortex-M4 (netduinoplus2) and Cortex-M0 (microbit), the
// core registers a map of our own gains by its <cpu> read from the chip as
// the server holds them, the report from a dump, and --core on any map.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "remote/GdbClient.h"
#include "tests/CommandLineRun.h"
#include "tests/FaultFirmware.h"
#include "tests/QemuBoard.h"
#include "tests/TempDir.h"

namespace {

const std::string kForced =
    "FORCED: forced hard fault: a configurable fault escalated, its handler disabled or unable to run "
    "(SHCSR enables no configurable fault handler)\n";

// The report once the core has run into its fault.
Outcome FaultReportOf(QemuBoard& board, const std::string& map) {
    if (!RunsIntoHardFault(board)) return {1, "", "the core did not fault within ten seconds"};
    return RunTavlin({"--gdb", board.Endpoint(), "--fault", map});
}

// Each register the command line reads is what the server holds at its address.
void ExpectReadsAsTheServerHolds(QemuBoard& board, const std::string& map,
                                 const std::vector<std::pair<std::string, std::uint32_t>>& registers) {
    for (const auto& [name, address] : registers) {
        CGdbClient client;
        ASSERT_TRUE(client.Connect(board.Endpoint()).Ok());
        const auto bytes = client.ReadMemory(address, 4);
        client.Disconnect();
        ASSERT_TRUE(bytes.Ok()) << bytes.Text();
        const std::uint32_t held = bytes.Value()[0] | bytes.Value()[1] << 8 | bytes.Value()[2] << 16 |
                                   static_cast<std::uint32_t>(bytes.Value()[3]) << 24;
        const Outcome read = RunTavlin({"--gdb", board.Endpoint(), "--read", map, name});
        EXPECT_EQ(read.code, 0) << read.err;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08x", held);
        EXPECT_EQ(read.out.substr(0, read.out.find('\n')), name + " @" + [&] {
            char at[16];
            std::snprintf(at, sizeof at, "0x%08x", address);
            return std::string(at);
        }() + " = " + hex) << name;
    }
}

TEST(FaultCommand, TheThreeFaultsOfTheEmulatedCortexM4AreToldInWords) {
    REQUIRE_QEMU();
    const TempDir dir;
    const std::string map = dir.Write("board.svd", BoardMapText("CM4"));
    const struct {
        const char* fault;
        std::string firmware;
        std::string report;
    } cases[] = {
        {"a load from an unmapped address", BusFaultFirmware(),
         "PRECISERR: precise data bus error at 0x60000010\n"
         "BFARVALID: BFAR holds the address of the bus fault, 0x60000010\n" +
             kForced + "active exception: HardFault (3)\n"},
        {"a division by zero", DivisionFirmware(),
         "DIVBYZERO: division by zero with CCR.DIV_0_TRP set\n" + kForced + "active exception: HardFault (3)\n"},
        {"an undefined instruction", UndefinedFirmware(),
         "UNDEFINSTR: undefined instruction\n" + kForced + "active exception: HardFault (3)\n"},
    };
    for (const auto& c : cases) {
        QemuBoard board(false, "netduinoplus2", c.firmware);
        ASSERT_EQ(board.Problem(), "");
        const Outcome report = FaultReportOf(board, map);
        EXPECT_EQ(report.code, 0) << c.fault << ": " << report.err;
        EXPECT_EQ(report.out, c.report) << c.fault;
        // The core sets the map gained by its <cpu> read what the chip holds.
        ExpectReadsAsTheServerHolds(board, map,
                                    {{"SCB.CFSR", 0xE000ED28}, {"SCB.HFSR", 0xE000ED2C}, {"SCB.BFAR", 0xE000ED38},
                                     {"SCB.ICSR", 0xE000ED04}, {"SCB.CCR", 0xE000ED14}, {"SCB.CPUID", 0xE000ED00}});
    }
}

TEST(FaultCommand, TheCortexM0OfTheMicrobitKeepsNoFaultStatus) {
    REQUIRE_QEMU();
    const TempDir dir;
    const std::string map = dir.Write("microbit.svd", BoardMapText("CM0"));
    QemuBoard board(false, "microbit", BusFaultFirmware());
    ASSERT_EQ(board.Problem(), "");
    const Outcome report = FaultReportOf(board, map);
    EXPECT_EQ(report.code, 0) << report.err;
    EXPECT_EQ(report.out,
              "no fault status: an Armv6-M or Armv8-M Baseline core keeps none; every fault is a HardFault\n"
              "active exception: HardFault (3)\n");
    const Outcome cpuid = RunTavlin({"--gdb", board.Endpoint(), "--read", map, "SCB.CPUID"});
    EXPECT_EQ(cpuid.out.substr(0, cpuid.out.find('\n')), "SCB.CPUID @0xe000ed00 = 0x410cc200");
    ExpectReadsAsTheServerHolds(board, map, {{"SCB.ICSR", 0xE000ED04}, {"SCB.CCR", 0xE000ED14}});
}

// A colleague's crash log: GDB's x/16wx of the SCB region, laid over a map
// with the core's registers (by its <cpu>, or by --core on a definitions file).
TEST(FaultCommand, TheReportFromADumpOfTheScbRegion) {
    const TempDir dir;
    const std::string svd = dir.Write("board.svd", BoardMapText("CM4"));
    const std::string definitions = dir.Write(
        "tavlin.xml", "<tavlin><regset n=\"SYS\" d=\"\"><register n=\"R\" w=\"8\" v=\"0x00\" d=\"\">"
                      "<field n=\"F\" k=\"edit\" d=\"\" l=\"0\" h=\"7\"></field></register></regset></tavlin>");
    const std::string dump = dir.Write("crash.txt",
                                       "(gdb) x/16wx 0xE000ED00\n"
                                       "0xe000ed00:\t0x410fc241\t0x00000803\t0x00000000\t0xfa050000\n"
                                       "0xe000ed10:\t0x00000000\t0x00000200\t0x00000000\t0x00000000\n"
                                       "0xe000ed20:\t0x00000000\t0x00000000\t0x00008200\t0x40000000\n"
                                       "0xe000ed30:\t0x00000000\t0xe000ed34\t0x60000010\t0x00000000\n");
    const std::string expected = "PRECISERR: precise data bus error at 0x60000010\n"
                                 "BFARVALID: BFAR holds the address of the bus fault, 0x60000010\n" +
                                 kForced + "active exception: HardFault (3)\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--decode", svd, dump, "--fault"},
                                                 {"--decode", definitions, dump, "--fault", "--core", "CM4"}}) {
        const Outcome report = RunTavlin(args);
        EXPECT_EQ(report.code, 0) << args[1] << ": " << report.err;
        EXPECT_EQ(report.err, "");
        EXPECT_EQ(report.out, expected) << args[1];
    }
    // Without the core's registers the dump falls on no register, and the report says what it lacks.
    const Outcome bare = RunTavlin({"--decode", definitions, dump, "--fault"});
    EXPECT_EQ(bare.out, "fault status not known: CFSR and HFSR were not given\n");
}

TEST(FaultCommand, CoreOnAnyMapAndTheMistakesOfBoth) {
    const TempDir dir;
    const std::string definitions = dir.Write(
        "tavlin.xml", "<tavlin><regset n=\"SYS\" d=\"\"><register n=\"R\" w=\"8\" v=\"0x00\" d=\"\">"
                      "<field n=\"F\" k=\"edit\" d=\"\" l=\"0\" h=\"7\"></field></register></regset></tavlin>");
    const Outcome checked = RunTavlin({"--check", definitions, "--core", "CM0PLUS"});
    EXPECT_EQ(checked.code, 0) << checked.err;
    EXPECT_EQ(checked.out, definitions + ": 4 register sets, 25 registers, 47 fields\n");
    const Outcome dumped = RunTavlin({"--core", "cm0+", "--dump", definitions});
    EXPECT_NE(dumped.out.find("set SCB \"System Control Block"), std::string::npos) << dumped.out;
    const Outcome decoded = RunTavlin({"--core", "CM33", "--decode", definitions, dir.Write("v.txt", "SCB.CFSR = 0x100000\n")});
    EXPECT_EQ(decoded.code, 0) << decoded.err;
    EXPECT_NE(decoded.out.find("  STKOF [20] = 0x1\n"), std::string::npos) << decoded.out;

    const std::string gdb = "127.0.0.1:1";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } mistakes[] = {
        {{"--core", "M4", "--check", definitions},
         "tavlin: --core takes one of CM0, CM0PLUS, CM1, SC000, CM3, CM4, CM7, SC300, CM23, CM33, CM35P, CM55, CM85, "
         "not \"M4\"\n"},
        {{"--fault", definitions}, "tavlin: --fault needs --gdb HOST:PORT\n"},
        {{"--gdb", gdb, "--fault"}, "tavlin: --fault needs a map and nothing more\n"},
        {{"--gdb", gdb, "--fault", definitions, "SYS.R"}, "tavlin: --fault needs a map and nothing more\n"},
        {{"--gdb", gdb, "--fault", "--read", definitions, "SYS.R"}, "tavlin: --fault goes alone, without --read or --write\n"},
        {{"--check", definitions, "--fault"}, ""},
        {{"--decode", definitions, definitions, "--fault", "--as", "c"}, "tavlin: --fault and --as go one at a time\n"},
    };
    for (const auto& m : mistakes) {
        const Outcome o = RunTavlin(m.args);
        EXPECT_EQ(o.code, 2) << m.args[0] << " " << m.args[1];
        if (!m.err.empty()) {
            EXPECT_EQ(o.err, m.err);
        }
    }
}

}  // namespace
