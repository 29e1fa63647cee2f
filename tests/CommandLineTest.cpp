// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/TempDir.h"

namespace {

TEST(CommandLine, CheckAndDumpReportTheLoadAndExitByIt) {
    TempDir dir;
    const std::string good = dir.Write("good.xml",
                                       "<tavlin><regset n=\"S\" d=\"s\"><register n=\"R\" w=\"8\" v=\"0\" d=\"r\">"
                                       "<field n=\"F\" k=\"edit\" d=\"f\" l=\"0\" h=\"3\"></field>"
                                       "</register></regset></tavlin>");
    const std::string bad = dir.Write("bad.xml", "<tavlin><regset n=\"S\" d=\"s\">");

    const Outcome check = RunTavlin({"--check", good});
    EXPECT_EQ(check.code, 0);
    EXPECT_EQ(check.out, good + ": 1 register sets, 1 registers, 1 fields\n");

    const Outcome dump = RunTavlin({"--dump", good});
    EXPECT_EQ(dump.code, 0);
    EXPECT_NE(dump.out.find("    field F 0..3 edit \"0x0\" \"f\"\n"), std::string::npos) << dump.out;

    const Outcome failed = RunTavlin({"--dump", bad});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err, bad + ": expected </regset> tag!\n");
    EXPECT_EQ(failed.out, "set S \"s\"\n");

    const Outcome missing = RunTavlin({"--check", (dir.Path() / "none.xml").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.rfind("ERROR: Failed to load file - ", 0), 0u);
}

const char* const kSvd =
    "<device><name>D</name><peripherals><peripheral><name>P</name><baseAddress>0x40000000</baseAddress>"
    "<registers><register><name>R</name><addressOffset>0</addressOffset><size>16</size>"
    "<resetValue>0x1234</resetValue></register></registers></peripheral></peripherals></device>";

TEST(CommandLine, CheckOfANamedFileTakesEitherFormatAndPrintsEveryProblem) {
    TempDir dir;
    const std::string svd = dir.Write("chip.svd", kSvd);
    const std::string problem = dir.Write("p.svd", "<device><peripherals><peripheral><name>P</name></peripheral>"
                                                   "</peripherals></device>");
    const std::string broken = dir.Write("broken.svd", "<device><name>D</name>");
    const struct {
        std::string file;
        int code;
        std::string out, errStart;  // errStart empty: no error output
    } cases[] = {
        {svd, 0, svd + ": 1 register sets, 1 registers, 1 fields\n", ""},
        {problem, 1, problem + ": 0 register sets, 0 registers, 0 fields\n", problem + ":1: "},  // opened
        {broken, 1, "", broken + ":1:"},  // not well-formed: nothing opened, no summary
    };
    for (const auto& c : cases) {
        const Outcome check = RunTavlin({"--check", c.file});
        EXPECT_EQ(check.code, c.code) << c.file;
        EXPECT_EQ(check.out, c.out) << c.file;
        EXPECT_EQ(check.err.rfind(c.errStart, 0), 0u) << check.err;
        EXPECT_EQ(check.err.empty(), c.errStart.empty()) << check.err;
    }
    EXPECT_NE(RunTavlin({"--dump", svd}).out.find("  register R 16 bits value \"0x1234\""), std::string::npos);

    // Without FILE, tavlin.xml is read as a definitions file whatever it holds.
    dir.Write("tavlin.xml", kSvd);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const Outcome byDefault = RunTavlin({"--check"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(byDefault.code, 1);
    EXPECT_EQ(byDefault.err, "tavlin.xml: expected <tavlin> tag!\n");
}

TEST(CommandLine, TheWindowTakesAtMostOneFileAndTheDesktopOption) {
    const struct {
        std::vector<std::string> arguments;  // as left by the window system
        std::optional<int> code;
        std::string fileOrError;
    } cases[] = {
        {{"tavlin"}, std::nullopt, ""},
        {{"tavlin", "chip.svd"}, std::nullopt, "chip.svd"},
        {{"tavlin", "a.xml", "b.xml"}, 2, "one file at a time"},
        {{"tavlin", "a.xml", "--check"}, 2, "unknown option --check"},
        {{"tavlin", "-display", ":0"}, 2, "unknown option -display"},
        {{"tavlin", "--desktop"}, std::nullopt, ""},
        {{"tavlin", "--desktop", "chip.svd"}, std::nullopt, "chip.svd"},
        {{"tavlin", "chip.svd", "--desktop"}, std::nullopt, "chip.svd"},
        {{"tavlin", "--gdb", "localhost:1234", "chip.svd"}, std::nullopt, "chip.svd"},
        {{"tavlin", "chip.svd", "--gdb", "[::1]:3333"}, std::nullopt, "chip.svd"},
        {{"tavlin", "chip.svd", "--gdb"}, 2, "--gdb needs HOST:PORT"},
    };
    for (const auto& c : cases) {
        std::ostringstream err;
        WindowArguments window;
        EXPECT_EQ(ParseWindowArguments(c.arguments, window, err), c.code) << c.arguments.back();
        const bool desktop = std::find(c.arguments.begin(), c.arguments.end(), "--desktop") != c.arguments.end();
        const auto gdb = std::find(c.arguments.begin(), c.arguments.end(), "--gdb");
        if (!c.code) {
            EXPECT_EQ(window.desktop, desktop) << c.arguments.back();
            EXPECT_EQ(window.gdb, gdb == c.arguments.end() ? "" : *(gdb + 1)) << c.arguments.back();
        }
        const std::string& file = window.file;
        EXPECT_EQ(c.code ? err.str().substr(0, err.str().find('\n')) : file,
                  c.code ? "tavlin: " + c.fileOrError : c.fileOrError);
        EXPECT_EQ(err.str().find("\nUsage:") != std::string::npos, c.code.has_value()) << err.str();
    }
}

TEST(CommandLine, OptionsAndUsage) {
    EXPECT_EQ(RunTavlin({}).code, std::nullopt) << "no arguments: the window";
    EXPECT_EQ(RunTavlin({"-platform", "offscreen"}).code, std::nullopt) << "window system options pass through";
    EXPECT_EQ(RunTavlin({"--version"}).out, "tavlin 1.0.0.1\n");
    EXPECT_EQ(RunTavlin({"--help"}).code, 0);
    const Outcome unknown = RunTavlin({"--frobnicate"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("unknown option --frobnicate"), std::string::npos);
    EXPECT_EQ(RunTavlin({"--check", "a", "b"}).code, 2);
}

// --decode on the example SVD file: each form of dump gives UART1.CTRL (or a
// channel of an arrayed cluster) its value, printed with its fields as the
// rows show them.
TEST(CommandLine, DecodeGivesRegistersTheValuesOfEachFormAndPrintsThem) {
    TempDir dir;
    const std::string map = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string uart = "UART1.CTRL @0x40004800 = 0x0000000d\n  EN [0] = 0x1\n  TXPAR [3:2] = Odd\n";
    const struct {
        const char* form;
        std::string values;
        std::vector<std::string> options;
        std::string out;
    } cases[] = {
        {"gdb x/1wx", "0x40004800 <UART1>:\t0x0000000d\n", {}, uart},
        {"gdb x/4xb", "0x40004800 <UART1>:\t0x0d\t0x00\t0x00\t0x00\n", {}, uart},
        {"openocd mdw", "0x40004800: 0000000d \n", {}, uart},
        {"gdb session", "(gdb) x/1wx 0x40004800\n0x40004800 <UART1>:\t0x0000000d\n(gdb) ", {}, uart},
        {"openocd session", "> mdw 0x40004800\r\n0x40004800: 0000000d \r\n\r\n> ", {}, uart},
        {"echoed commands", "monitor mdw 0x40004800\nmdw 0x40004800\n0x40004800: 0000000d\nx &uart1\n", {}, uart},
        {"address value", "# a comment\n\n40004800 0000000d\n", {}, uart},
        {"address = value", "0x40004800 = 0xd\n", {}, uart},
        {"name = value", "UART1.CTRL = 0x0000000d\n", {}, uart},
        {"raw image", std::string("\x0d\x00\x00\x00", 4), {"--base", "0x40004800"}, uart},
        {"arrayed cluster", "DMA.CH[0].CTRL = 0x00000201\n", {},
         "DMA.CH[0].CTRL @0x40020008 = 0x00000201\n  STATE [1:0] = Busy\n  DIR [4] = PeriphToMem\n"
         "  SIZE [9:8] = Word\n  PRIO [13:12] = 0x0\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--decode", map, dir.Write("values.txt", c.values)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome decoded = RunTavlin(args);
        EXPECT_EQ(decoded.code, 0) << c.form << decoded.err;
        EXPECT_EQ(decoded.out.substr(0, c.out.size()), c.out) << c.form;
        EXPECT_EQ(decoded.err, "") << c.form;
    }
}

// Registers of one name at one address go by NAME_GROUP in what --decode
// reads and prints, so each takes its own value.
TEST(CommandLine, DecodeNamesRegistersOfAnAlternateGroupByTheirGroup) {
    TempDir dir;
    const std::string map = dir.Write(
        "ecat.svd",
        "<device><name>D</name><peripherals><peripheral><name>ECAT0</name><baseAddress>0x50000000</baseAddress>"
        "<registers><register><name>ESC_RESET_ECAT</name><alternateGroup>READMode</alternateGroup>"
        "<addressOffset>0x40</addressOffset><size>8</size></register>"
        "<register><name>ESC_RESET_ECAT</name><alternateGroup>WRITEMode</alternateGroup>"
        "<addressOffset>0x40</addressOffset><size>8</size></register></registers></peripheral></peripherals></device>");
    const std::string values =
        dir.Write("values.txt", "ECAT0.ESC_RESET_ECAT_WRITEMode = 0x52\nECAT0.ESC_RESET_ECAT_READMode = 0x1\n");
    const Outcome decoded = RunTavlin({"--decode", map, values});
    EXPECT_EQ(decoded.code, 0) << decoded.err;
    EXPECT_EQ(decoded.err, "");
    EXPECT_EQ(decoded.out,
              "ECAT0.ESC_RESET_ECAT_READMode @0x50000040 = 0x01\n  ESC_RESET_ECAT_READMode [7:0] = 0x1\n"
              "ECAT0.ESC_RESET_ECAT_WRITEMode @0x50000040 = 0x52\n  ESC_RESET_ECAT_WRITEMode [7:0] = 0x52\n");
}

TEST(CommandLine, DecodeReportsProblemsByLineAndComparesWithABaseline) {
    TempDir dir;
    const std::string map = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string values = dir.Write("values.txt", "UART1.CTRL = 0x1\nNOPE.R = 0x1\nnot values\n"
                                                       "0x40004800 <UART1>: 0x00000001 0x00000000 0x00000000\n");
    const Outcome decoded = RunTavlin({"--decode", map, values});
    EXPECT_EQ(decoded.code, 1);
    EXPECT_NE(decoded.err.find(values + ": line 2: no register NOPE.R in the map"), std::string::npos) << decoded.err;
    EXPECT_NE(decoded.err.find(values + ": line 3: "), std::string::npos) << decoded.err;
    EXPECT_EQ(decoded.out.rfind("UART1.CTRL @0x40004800 = 0x00000001\n", 0), 0u) << decoded.out;

    // --changed against a baseline that already has the value prints nothing for it.
    const std::string same = dir.Write("same.txt", "UART1.CTRL = 0x00000001\n");
    const Outcome changed = RunTavlin({"--decode", map, same, "--changed", "--against", same});
    EXPECT_EQ(changed.code, 0) << changed.err;
    EXPECT_EQ(changed.out, "");
    const Outcome fromReset = RunTavlin({"--decode", map, same, "--changed"});
    EXPECT_EQ(fromReset.out.rfind("UART1.CTRL @", 0), 0u) << fromReset.out;
    EXPECT_EQ(RunTavlin({"--decode", map}).code, 2);
    EXPECT_EQ(RunTavlin({"--decode", map, same, "--base", "zz"}).code, 2);
}

}  // namespace
