#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "tests/TempDir.h"

namespace {

struct Outcome {
    std::optional<int> code;
    std::string out, err;
};

Outcome RunTavlin(std::vector<std::string> args) {
    args.insert(args.begin(), "tavlin");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    Outcome o;
    o.code = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}

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

}  // namespace
