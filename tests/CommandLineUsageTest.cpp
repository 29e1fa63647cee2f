// SPDX-License-Identifier: MIT
// The command line's mistakes, told in each mode's words, and what passes to the window.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ParsedOptions.h"
#include "tests/CommandLineRun.h"
#include "tests/TempDir.h"

namespace {

TEST(CommandLineUsage, EachModeTellsTheFirstMistakeAndExitsWith2) {
    const std::string r = "--read", map = "map.svd", gdb = "localhost:1";
    const struct {
        std::vector<std::string> args;
        std::string err;  // "...": only how err starts
    } cases[] = {
        {{"--decode", map, "v", "--base"}, "tavlin: --base needs a value\n"},
        {{"--decode", map, "v", "--against"}, "tavlin: --against needs a value\n"},
        {{"--decode", map, "v", "--frobnicate", "--base", "zz"}, "tavlin: unknown option --frobnicate\n"},
        {{"--decode", map, "v", "--read"}, "tavlin: unknown option --read\n"},
        {{"--decode", map, "v", "--base=0x0"}, "tavlin: unknown option --base=0x0\n"},
        {{"--decode", map, "v", "-changed"}, "tavlin: unknown option -changed\n"},
        {{"--decode", map, "v", "--", "w"}, "tavlin: unknown option --\n"},
        {{"--decode", map, "v", "--base", "zz"}, "tavlin: --base takes an address, not \"zz\"\n"},
        {{"--decode"}, "tavlin: --decode needs a map and at least one values file\n"},
        {{"--gdb", gdb, r, map, "R", "--trace"}, "tavlin: --trace needs FILE\n"},
        {{r, map, "R", "--gdb"}, "tavlin: --gdb needs HOST:PORT\n"},
        {{"--gdb", gdb, "--write", map}, "tavlin: --write needs a map and NAME=VALUE\n"},
        {{"--gdb", gdb, r, r, map, "R"}, "tavlin: --read and --write go one at a time\n"},
        {{"--gdb", gdb, r, map, "R", "-x"}, "tavlin: unknown option -x\n"},
        {{"--gdb", gdb, r, map, "R", "--decode"}, "tavlin: unknown option --decode\n"},
        {{"--check", "a", "b"}, "Usage: tavlin ..."},
        {{"--dump", "--check"}, "Usage: tavlin ..."},
        {{"--trace", "f"}, "tavlin: unknown option --trace\nUsage: tavlin ..."},
        {{"--desktop=1"}, "tavlin: unknown option --desktop=1\nUsage: tavlin ..."},
        {{"--h"}, "tavlin: unknown option --h\nUsage: tavlin ..."},
    };
    for (const auto& c : cases) {
        const Outcome o = RunTavlin(c.args);
        EXPECT_EQ(o.code, 2) << c.err;
        EXPECT_EQ(o.out, "") << c.err;
        if (c.err.ends_with("..."))
            EXPECT_EQ(o.err.rfind(c.err.substr(0, c.err.size() - 3), 0), 0u) << o.err;
        else
            EXPECT_EQ(o.err, c.err);
    }
}

// The parser's usage error says by its code what is wrong, for the mode asked.
TEST(CommandLineUsage, TheParsersUsageErrorIsToldByItsCode) {
    const struct {
        std::vector<std::string> args;
        Mode mode;
        bool windowSystemOptions;
        std::optional<ProblemCode> code;  // none: the mode runs
        const char* words;
    } cases[] = {
        {{"--decode", "m", "v"}, Mode::Decode, false, std::nullopt, ""},
        {{"--decode", "m", "v", "--frobnicate"}, Mode::Decode, false, ProblemCode::kUnknownOption,
         "unknown option --frobnicate"},
        {{"--decode", "m", "v", "--read"}, Mode::Decode, false, ProblemCode::kUnknownOption, "unknown option --read"},
        {{"--decode", "m", "v", "--base"}, Mode::Decode, false, ProblemCode::kMissingOptionValue,
         "--base needs a value"},
        {{"--read", "m", "R", "--gdb"}, Mode::Target, false, ProblemCode::kMissingOptionValue, "--gdb needs HOST:PORT"},
        {{"-platform", "offscreen"}, Mode::Window, true, std::nullopt, ""},
        {{"-platform", "offscreen"}, Mode::Window, false, ProblemCode::kUnknownOption, "unknown option -platform"},
        {{"--desktop"}, Mode::Window, false, std::nullopt, ""},
        {{"--check", "--device"}, Mode::Check, false, ProblemCode::kMissingOptionValue, "--device needs NAME[:PROCESSOR]"},
        {{"--device", "D", "--decode", "v"}, Mode::Decode, false, std::nullopt, ""},
        {{"--list-devices", "--device", "D"}, Mode::ListDevices, false, ProblemCode::kUnknownOption,
         "unknown option --device"},
        {{"--list-devices", "--core", "CM4"}, Mode::ListDevices, false, ProblemCode::kUnknownOption,
         "unknown option --core"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = {"tavlin"};
        arguments.insert(arguments.end(), c.args.begin(), c.args.end());
        const CParsedOptions options(arguments);
        const Status usage = options.UsageError(c.mode, c.windowSystemOptions);
        EXPECT_EQ(usage.Ok() ? std::nullopt : std::optional(usage.Error().code), c.code) << c.words;
        EXPECT_EQ(usage.Text(), c.words);
    }
    // One value kept for each option the enum names.
    const CParsedOptions options({"tavlin", "--device", "D:CM4"});
    EXPECT_EQ(options.Value(static_cast<Option>(kOptionCount - 1)), "D:CM4") << "--device is the last option";
}

TEST(CommandLineUsage, HelpAndVersionWhateverFollowsAndTheWindowSystemsOptionsPassToTheWindow) {
    EXPECT_EQ(RunTavlin({"-h"}).out.rfind("Usage: tavlin [--desktop]", 0), 0u);
    EXPECT_EQ(RunTavlin({"--version", "x"}).code, 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-check"}, {"-reverse", "chip.svd", "-gdb"}, {"--desktop", "--gdb", "localhost:1"}, {"-"}}) {
        const Outcome o = RunTavlin(args);
        EXPECT_EQ(o.code, std::nullopt) << args.front();
        EXPECT_EQ(o.out + o.err, "") << args.front();
    }
}

TEST(CommandLineUsage, TheWindowTakesOnlyItsOwnOptionsTwoDashesAndNoValueAfterAnEqualsSign) {
    const struct {
        std::vector<std::string> arguments;
        std::string firstLine;
    } cases[] = {
        {{"tavlin", "-check"}, "tavlin: unknown option -check"},
        {{"tavlin", "--gdb=localhost:1"}, "tavlin: unknown option --gdb=localhost:1"},
        {{"tavlin", "--trace", "f"}, "tavlin: unknown option --trace"},
        {{"tavlin", "-", "-"}, "tavlin: one file at a time"},
    };
    for (const auto& c : cases) {
        std::ostringstream err;
        WindowArguments window;
        EXPECT_EQ(ParseWindowArguments(c.arguments, window, err), 2) << c.firstLine;
        EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.firstLine);
    }
    std::ostringstream err;
    WindowArguments window;
    EXPECT_EQ(ParseWindowArguments({"tavlin", "-"}, window, err), std::nullopt);
    EXPECT_EQ(window.file, "-");
}

// A file name is passed on byte for byte: on Linux it need not be UTF-8.
TEST(CommandLineUsage, FileNamesThatAreNotUtf8ArePassedOnAsGiven) {
#ifdef _WIN32
    GTEST_SKIP() << "file names of bytes that are not UTF-8 are POSIX: Windows names are UTF-16";
#endif
    const TempDir folder;
    const std::string map = folder.Write("map\xff.xml", "<tavlin><regset n=\"S\" d=\"s\"></regset></tavlin>");
    const std::string values = folder.Write("values\xfe.txt", "# nothing\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--check", map},
                                                  std::vector<std::string>{"--decode", map, values}}) {
        const Outcome run = RunTavlin(args);
        EXPECT_EQ(run.code, 0) << args.front() << ": " << run.err;
    }
}

}  // namespace
