// SPDX-License-Identifier: MIT
// tavlin's GDB extension in Debian's gdb-multiarch, attached to QEMU's
// emulated STM32F405: show and set through GDB's connection print what
// tavlin --read and --write print, fault gives the stacked frame, and GDB's
// own commands work unchanged between them. Every session has a deadline.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "remote/GdbClient.h"
#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/FaultFirmware.h"
#include "tests/GdbSession.h"
#include "tests/PackRoot.h"
#include "tests/PackTestEnvironment.h"
#include "tests/QemuBoard.h"
#include "tests/TempDir.h"

namespace {

// The board with `firmware`, its map in a file. The probe that waits for QEMU
// to listen detaches, so the firmware runs until GDB attaches.
struct GdbRun {
    TempDir dir;
    std::string map = dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
    QemuBoard board;
    explicit GdbRun(const std::string& firmware) : board(true, "netduinoplus2", firmware) {}
    std::string Started() {
        if (!board.Problem().empty()) return board.Problem();
        CGdbClient probe;
        return board.Connect(probe);
    }
};

// The text between "==NAME==" and the next marker (or the end) in a session's output.
std::string Part(const std::string& output, const std::string& name) {
    const std::string marker = "==" + name + "==\n";
    const auto start = output.find(marker);
    if (start == std::string::npos) return "(no " + name + ")";
    const auto from = start + marker.size();
    const auto end = output.find("==", from);
    return output.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

std::string Marker(const std::string& name) { return "echo ==" + name + "==\\n"; }

// What `tavlin --decode` prints for `values` ("ADDRESS VALUE" lines): the lines --read prints for them.
std::string Decoded(const GdbRun& run, const std::string& values) {
    const std::string file = run.dir.Write("values.txt", values);
    return RunTavlin({"--decode", run.map, file}).out;
}

// The word GDB's `x/1xw` printed, as "0x0000002a".
std::string WordOf(const std::string& x) {
    const auto tab = x.find('\t');
    return tab == std::string::npos ? x : x.substr(tab + 1, 10);
}

TEST(GdbExtension, ShowFollowsTheCounterAtEachBreakpointAndGdbsOwnCommandsWorkBetween) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(CounterFirmware());
    ASSERT_EQ(run.Started(), "");
    const std::string stop = "break *" + std::to_string(kCounterBreak);
    std::vector<std::string> commands{"tavlin load " + run.map, stop};
    for (const std::string name : {"1", "2", "3"}) {
        commands.insert(commands.end(),
                        {"continue", Marker("x" + name), "x/1xw 0x20000100", Marker(name), "tavlin show SCRATCH.WORD0",
                         Marker("after" + name)});
    }
    commands.insert(commands.end(), {Marker("stepi"), "stepi", Marker("registers"), "info registers pc",
                                     Marker("set"), "tavlin show SCRATCH", Marker("end")});
    const ProcessOutcome gdb = RunBatchGdb(run.board.Endpoint(), commands);
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_EQ(gdb.code, 0) << gdb.err;
    EXPECT_EQ(gdb.err.find("Traceback"), std::string::npos) << gdb.err;

    // Each stop a new count, one more than the last (the board ran a while
    // before GDB attached); show prints what --read (and --decode) prints for it.
    std::uint64_t last = 0;
    for (const std::string name : {"1", "2", "3"}) {
        const std::string word = WordOf(Part(gdb.out, "x" + name));
        const std::uint64_t count = std::stoull(word, nullptr, 16);
        if (name != "1") {
            EXPECT_EQ(count, last + 1) << gdb.out;
        }
        last = count;
        EXPECT_EQ(Part(gdb.out, name), Decoded(run, "0x20000100 " + word + "\n")) << gdb.out;
    }
    // stepi from the branch lands at the loop's start; GDB's registers agree.
    EXPECT_NE(Part(gdb.out, "stepi").find("0x00000014 in ?? ()"), std::string::npos) << gdb.out;
    EXPECT_NE(Part(gdb.out, "registers").find("pc             0x14"), std::string::npos) << gdb.out;
    // A set read passes over what a read would not give (the write-only COMMAND), as --read says.
    EXPECT_NE(gdb.err.find("SCRATCH.COMMAND is write-only: not read\n"), std::string::npos) << gdb.err;
    const std::string set = Part(gdb.out, "set");
    EXPECT_EQ(set.rfind("SCRATCH.WORD0 @0x20000100 = " + WordOf(Part(gdb.out, "x3")) + "\n", 0), 0u) << set;
    EXPECT_EQ(set.find("SCRATCH.COMMAND"), std::string::npos) << set;
}

TEST(GdbExtension, SetWritesExactlyTheRegistersBytesAndRefusesAReadOnlyOne) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(CounterFirmware());
    ASSERT_EQ(run.Started(), "");
    const ProcessOutcome gdb = RunBatchGdb(
        run.board.Endpoint(),
        {"tavlin load " + run.map, "set {unsigned int}0x200000fc = 0x11111111",
         "set {unsigned int}0x20000104 = 0x22222222", Marker("set"), "tavlin set SCRATCH.WORD0=0xcafe0123",
         Marker("x"), "x/3xw 0x200000fc", Marker("cpuid"), "x/1xw 0xe000ed00", Marker("refused"),
         "python\ntry:\n  gdb.execute('tavlin set SCB.CPUID=1')\nexcept gdb.error as e:\n  print('refused:', e)\nend",
         Marker("after"), "x/1xw 0xe000ed00", Marker("end")});
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_EQ(gdb.code, 0) << gdb.err;
    EXPECT_EQ(Part(gdb.out, "set"), "SCRATCH.WORD0 @0x20000100 = 0xcafe0123\n  HIGH [31:16] = 0xcafe\n  LOW [15:0] = 0x123\n");
    // The four bytes and no others: the words on either side keep their values.
    EXPECT_EQ(Part(gdb.out, "x"), "0x200000fc:\t0x11111111\t0xcafe0123\t0x22222222\n");
    EXPECT_EQ(Part(gdb.out, "refused"), "refused: SCB.CPUID is read-only: not written\n");
    EXPECT_EQ(Part(gdb.out, "after"), Part(gdb.out, "cpuid"));
}

// A 32-bit ARM ELF file with no code and one symbol: a Thumb function `name`
// of `size` bytes at `address`, in a .text section over it, for GDB's
// symbol-file (which then names the code at those addresses).
std::string ElfWithFunction(const std::string& name, std::uint32_t address, std::uint32_t size) {
    std::string elf;
    const auto u8 = [&](unsigned v) { elf += static_cast<char>(v); };
    const auto u16 = [&](unsigned v) { u8(v & 0xFF), u8(v >> 8); };
    const auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const std::string names = std::string("\0.text\0.symtab\0.strtab\0.shstrtab\0", 33);
    const std::string strings = std::string(1, '\0') + name + '\0';
    const std::uint32_t symtab = 52, strtab = symtab + 32, shstrtab = strtab + static_cast<std::uint32_t>(strings.size());
    const std::uint32_t headers = (shstrtab + static_cast<std::uint32_t>(names.size()) + 3) & ~3u;
    elf += std::string("\x7f" "ELF\x01\x01\x01", 7) + std::string(9, '\0');
    u16(2), u16(40), u32(1), u32(address | 1), u32(0), u32(headers), u32(0x05000000);  // an EABI5 executable
    u16(52), u16(0), u16(0), u16(40), u16(5), u16(4);
    u32(0), u32(0), u32(0), u8(0), u8(0), u16(0);                               // the null symbol
    u32(1), u32(address | 1), u32(size), u8(0x12), u8(0), u16(1);               // a global function in .text
    elf += strings + names;
    elf.resize(headers, '\0');
    const auto section = [&](std::uint32_t nameAt, std::uint32_t type, std::uint32_t flags, std::uint32_t addr,
                             std::uint32_t offset, std::uint32_t bytes, std::uint32_t link, std::uint32_t info,
                             std::uint32_t entry) {
        for (const std::uint32_t v : {nameAt, type, flags, addr, offset, bytes, link, info, 4u, entry}) u32(v);
    };
    section(0, 0, 0, 0, 0, 0, 0, 0, 0);
    section(1, 8, 6, address, symtab, size, 0, 0, 0);      // .text: NOBITS, allocated and executable
    section(7, 2, 0, 0, symtab, 32, 3, 1, 16);             // .symtab
    section(15, 3, 0, 0, strtab, static_cast<std::uint32_t>(strings.size()), 0, 0, 0);
    section(23, 3, 0, 0, shstrtab, static_cast<std::uint32_t>(names.size()), 0, 0, 0);
    return elf;
}

TEST(GdbExtension, FaultGivesTheReportAndTheStackedFrameOfTheFaultingLoad) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(BusFaultFirmware());
    ASSERT_EQ(run.Started(), "");
    // The firmware's code from 0x10 on as one function, for GDB to name the faulting PC with.
    const std::string symbols = run.dir.Write("firmware.elf", ElfWithFunction("load_from_nothing", 0x10, 8));
    const ProcessOutcome gdb = RunBatchGdb(run.board.Endpoint(),
                                           {"tavlin load " + run.map, "break *0x40",
                                            "continue", Marker("fault"),
                                            "tavlin fault", "symbol-file " + symbols, Marker("named"),
                                            "tavlin fault", Marker("end")});
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_EQ(gdb.code, 0) << gdb.err;
    const std::string fault = Part(gdb.out, "fault");
    // tavlin --fault's report first, read through GDB, then the frame.
    EXPECT_EQ(fault.rfind("PRECISERR: precise data bus error at 0x60000010\n", 0), 0u) << fault;
    EXPECT_LT(fault.find("active exception: HardFault (3)\n"), fault.find("Exception frame on MSP"));
    EXPECT_NE(fault.find("Exception frame on MSP at 0x20000fe0 (EXC_RETURN 0xfffffff9):\n"), std::string::npos) << fault;
    EXPECT_NE(fault.find("  R0 0x60000010  R1 0x00000000"), std::string::npos) << fault;
    // The load at 0x12 (the firmware's second instruction) is the faulting PC.
    EXPECT_NE(fault.find("  faulting PC 0x00000012\n"), std::string::npos) << fault;
    EXPECT_NE(fault.find("  xPSR 0x41000000 (exception 0)\n"), std::string::npos) << fault;
    // With GDB's symbols, the faulting PC is named as GDB names it.
    const std::string named = Part(gdb.out, "named");
    EXPECT_NE(named.find("  faulting PC 0x00000012 in load_from_nothing + 2 in section .text\n"), std::string::npos)
        << named << gdb.err;
}

TEST(GdbExtension, ReadsAreRefusedWhileTheTargetRunsAndServedOnceItStops) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(CounterFirmware());
    ASSERT_EQ(run.Started(), "");
    GdbPipeSession gdb(run.board.Endpoint(), {"TAVLIN_PROGRAM=" + TavlinProgramPath()});
    gdb.Send("tavlin load " + run.map);
    gdb.Send("continue &");
    gdb.Send("tavlin show SCRATCH.WORD0");
    EXPECT_TRUE(gdb.WaitFor("the target refused to read 4 bytes at 0x20000100 (E.the target is running)"))
        << gdb.Output();
    gdb.Send("interrupt");
    EXPECT_TRUE(gdb.WaitFor("received signal SIGINT")) << gdb.Output();
    gdb.Send("tavlin show SCRATCH.WORD0");
    EXPECT_TRUE(gdb.WaitFor("SCRATCH.WORD0 @0x20000100 = 0x")) << gdb.Output();
    gdb.Send("quit");
    EXPECT_EQ(gdb.WaitForExit(), 0) << gdb.Output();
}

TEST(GdbExtension, CommandsSayWhatIsMissingAndTheHelpDescribesEach) {
    REQUIRE_GDB();
    // No target at all: the commands say what they lack.
    const ProcessOutcome gdb = RunBatchGdb(
        "",
        {"python\nfor c in ('tavlin show X', 'tavlin load /nonexistent/map.svd', 'tavlin set', 'tavlin window'):\n"
         "  try:\n    gdb.execute(c)\n  except gdb.error as e:\n    print(c, '->', e)\nend",
         "help tavlin", "help tavlin show"},
        std::chrono::seconds(30));
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_NE(gdb.out.find("tavlin show X -> tavlin: no register map: tavlin load MAP first"), std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("tavlin load /nonexistent/map.svd -> tavlin: cannot open /nonexistent/map.svd"),
              std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("tavlin set -> tavlin: usage: tavlin set NAME=VALUE..."), std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("tavlin window -> tavlin: no register map"), std::string::npos) << gdb.out;
    for (const char* sub : {"tavlin load", "tavlin show", "tavlin set", "tavlin fault", "tavlin window", "tavlin close"})
        EXPECT_NE(gdb.out.find(std::string(sub) + " -- "), std::string::npos) << sub << "\n" << gdb.out;
    EXPECT_NE(gdb.out.find("Read registers through GDB and print them: tavlin show NAME..."), std::string::npos);
}

TEST(GdbExtension, SourcedAgainItKeepsItsSessionAndTellsEachStopOnce) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(CounterFirmware());
    ASSERT_EQ(run.Started(), "");
    // A bridge that counts what it is told stands in for the window's: the
    // handlers connected by both sourcings would tell it each event twice.
    const ProcessOutcome gdb = RunBatchGdb(
        run.board.Endpoint(),
        {"tavlin load " + run.map, "source " + ExtensionPath(),
         "python\nclass Counted:\n  told = []\n  def notify(self, payload):\n    Counted.told.append(payload)\n"
         "  def close(self):\n    pass\nSESSION.bridge = Counted()",
         "break *" + std::to_string(kCounterBreak), "continue", Marker("told"),
         "python print(b' '.join(Counted.told).decode())", Marker("show"), "tavlin show SCRATCH.WORD0", Marker("help"),
         "help tavlin", Marker("end")});
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_EQ(gdb.code, 0) << gdb.err;
    EXPECT_EQ(gdb.err.find("Traceback"), std::string::npos) << gdb.err;
    EXPECT_EQ(Part(gdb.out, "told"), "Running:1 Stop:T05\n") << gdb.out;
    // The map loaded before the second sourcing stays.
    EXPECT_EQ(Part(gdb.out, "show").rfind("SCRATCH.WORD0 @0x20000100 = 0x", 0), 0u) << gdb.out;
    const std::string help = Part(gdb.out, "help");
    for (const char* sub : {"tavlin load -- ", "tavlin show -- ", "tavlin window -- ", "tavlin close -- "}) {
        const auto first = help.find(sub);
        EXPECT_NE(first, std::string::npos) << sub << "\n" << help;
        EXPECT_EQ(help.find(sub, first + 1), std::string::npos) << sub << "\n" << help;
    }
}

TEST(GdbExtension, CompletesLabelPaths) {
    REQUIRE_GDB();
    TempDir dir;
    const std::string map = dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const ProcessOutcome gdb = RunBatchGdb("",
                                           {"tavlin load " + map, "complete tavlin show SCRATCH.W",
                                            "complete tavlin show SPI", "complete tavlin set ADC1.H",
                                            // --core adds the core's sets, and a core tavlin has not loads nothing.
                                            "tavlin load " + chip + " --core CM4", "complete tavlin show SCB.IC",
                                            "python\ntry:\n  gdb.execute('tavlin load " + chip +
                                                " --core CM99')\nexcept gdb.error as e:\n  print('refused:', e)\nend",
                                            "complete tavlin show SCB.IC"},
                                           std::chrono::seconds(30));
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_NE(gdb.out.find("tavlin show SCRATCH.WORD0\n"), std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("tavlin show SPI1\ntavlin show SPI1.CR1\n"), std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("tavlin set ADC1.HTR=\n"), std::string::npos) << gdb.out;
    const auto icsr = gdb.out.find("tavlin show SCB.ICSR\n");
    EXPECT_NE(icsr, std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("refused: tavlin: --core takes one of CM0, "), std::string::npos) << gdb.out;
    // The map loaded before stays.
    EXPECT_NE(gdb.out.find("tavlin show SCB.ICSR\n", icsr + 1), std::string::npos) << gdb.out;
}

// `tavlin load --device` through the real program, over a pack root the test
// writes: the device's map completes, and later commands pass the device on.
TEST(GdbExtension, LoadsAnInstalledDeviceByItsName) {
    REQUIRE_GDB();
    PackRootDir dir;
    dir.AddPack("", "Vendor", "Board_DFP", "1.0.0",
                PdscText("Vendor", "Board_DFP", {"1.0.0"},
                         R"(<family Dfamily="F4" Dvendor="ST:13"><processor Dcore="Cortex-M4"/>
                            <debug svd="SVD\board.svd"/><device Dname="BOARD405x"/><device Dname="BOARD407"/></family>)"),
                {{"SVD/board.svd", ReadExampleFile("netduinoplus2.svd")}});
    const PackTestEnvironment environment(dir.Folder());
    const ProcessOutcome gdb = RunBatchGdb(
        "", {"tavlin load --device board4055", "complete tavlin show SPI",
             "python\ntry:\n  gdb.execute('tavlin load --device BOARD')\nexcept gdb.error as e:\n  print('refused:', e)\nend",
             "python\ntry:\n  gdb.execute('tavlin load --device NOPE')\nexcept gdb.error as e:\n  print('refused:', e)\nend",
             "complete tavlin show SPI"},
        std::chrono::seconds(30));
    ASSERT_FALSE(gdb.timedOut);
    EXPECT_NE(gdb.out.find("Vendor.Board_DFP 1.0.0: SVD/board.svd: "), std::string::npos) << gdb.out << gdb.err;
    const auto spi = gdb.out.find("tavlin show SPI1\ntavlin show SPI1.CR1\n");
    EXPECT_NE(spi, std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("refused: tavlin: BOARD names several devices: "), std::string::npos) << gdb.out;
    EXPECT_NE(gdb.out.find("refused: tavlin: no installed pack describes NOPE"), std::string::npos) << gdb.out;
    // The device loaded before stays.
    EXPECT_NE(gdb.out.find("tavlin show SPI1\ntavlin show SPI1.CR1\n", spi + 1), std::string::npos) << gdb.out;
}

TEST(GdbExtension, ABatchSessionWithAWindowsBridgeEndsCleanly) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    GdbRun run(CounterFirmware());
    ASSERT_EQ(run.Started(), "");
    // The recorder stands in for the window, which is never started here: the
    // bridge waits for it, and GDB's exit (or tavlin close) ends the bridge
    // with nothing left queued.
    const std::string recorder = WriteWindowRecorder(run.dir.Path().string());
    for (const bool closeFirst : {true, false}) {
        SCOPED_TRACE(closeFirst ? "tavlin close, then the end" : "the end alone");
        std::vector<std::string> commands{"tavlin load " + run.map, "tavlin window", "break *" + std::to_string(kCounterBreak), "continue",
                                          "tavlin show SCRATCH.WORD0"};
        if (closeFirst) commands.push_back("tavlin close");
        const ProcessOutcome gdb = RunBatchGdb(run.board.Endpoint(), commands, std::chrono::seconds(60), recorder);
        ASSERT_FALSE(gdb.timedOut);
        EXPECT_EQ(gdb.code, 0) << gdb.out << gdb.err;
        EXPECT_NE(gdb.out.find("tavlin: the window reads the chip through 127.0.0.1:"), std::string::npos) << gdb.out;
        EXPECT_NE(gdb.out.find("SCRATCH.WORD0 @0x20000100 = "), std::string::npos) << gdb.out;
        const std::vector<std::string> arguments = [&] {
            std::ifstream in(WindowArgumentsFile(run.dir.Path().string()));
            std::vector<std::string> lines;
            for (std::string line; std::getline(in, line);) lines.push_back(line);
            return lines;
        }();
        EXPECT_EQ(arguments, (std::vector<std::string>{"--gdb", arguments.size() > 1 ? arguments[1] : "", run.map}));
    }
}

}  // namespace
