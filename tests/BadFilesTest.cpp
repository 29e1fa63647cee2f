// SPDX-License-Identifier: MIT
// Definitions files that are cut short, corrupt, huge or not files at all:
// each loads without a crash, shows at most one message, and leaves a tree
// that every row of can be walked, edited and calculated.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <fcntl.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"
#include "defs/RegisterMap.h"
#include "defs/TreeDump.h"
#include "tests/ExampleFiles.h"
#include "tests/LoadedTreeCheck.h"
#include "tests/TempDir.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"

namespace {

const std::string kFailedToLoad = "ERROR: Failed to load file - tavlin.xml";

// The bytes of a literal, NUL bytes inside it included.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

class PlainBox : public ValueBox {
public:
    std::string GetText() const override { return text; }
    void SetText(const std::string& newText) override { text = newText; }
    std::string text;
};

struct Outcome {
    LoadReport result;
    TreeCheckReport report;
    std::vector<std::string> useProblems;
    std::string dump;
};

// Checks and uses whatever a load built: walks every row, commits a value
// into every field row and composes every register.
void Use(Outcome& outcome, CRegisterMap& map) {
    CPropTree& tree = map.Tree();
    outcome.report = CheckLoadedTree(map, outcome.result);
    std::ostringstream dump;
    DumpTree(dump, map);
    outcome.dump = dump.str();
    outcome.useProblems = ExerciseLoadedTree(tree);

    PlainBox hex;
    PlainBox decimal;
    CRegisterCalculator calculator(map, hex, decimal);
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling()) {
            tree.SetFocusedItem(reg);
            calculator.ShowRegisterValue(reg);
            hex.text = "0xffffffffffffffff";
            calculator.ApplyHexValue();
        }
    }
}

// Loads `bytes` as tavlin.xml from memory, then uses what it built.
Outcome LoadAndUse(const std::string& bytes) {
    Outcome outcome;
    CRegisterMap map;
    outcome.result = LoadDefinitionsText(map, bytes, "tavlin.xml");
    Use(outcome, map);
    return outcome;
}

// Loads the file at `path` as tavlin.xml, then uses what it built.
Outcome LoadFileAndUse(const std::string& path) {
    Outcome outcome;
    CRegisterMap map;
    outcome.result = LoadDefinitionsFile(map, path.c_str(), "tavlin.xml");
    Use(outcome, map);
    return outcome;
}

void ExpectUsable(const Outcome& outcome, const std::string& what) {
    EXPECT_TRUE(outcome.report.Ok()) << what << '\n' << outcome.report.Describe();
    EXPECT_TRUE(outcome.useProblems.empty()) << what << '\n' << outcome.useProblems.front();
}

TEST(BadFiles, EveryPrefixOfTheExampleLoadsIntoAUsableTree) {
    const std::string example = ReadExampleFile("tavlin.xml");
    ASSERT_GT(example.size(), 3000u) << "examples/tavlin.xml is missing or too small";
    int failedLoads = 0;
    for (size_t length = 0; length <= example.size(); ++length) {
        const Outcome outcome = LoadAndUse(example.substr(0, length));
        ExpectUsable(outcome, "prefix of " + std::to_string(length) + " bytes");
        if (!outcome.result.Ok()) ++failedLoads;
        if (testing::Test::HasFailure()) return;  // one broken prefix says enough
    }
    EXPECT_TRUE(LoadAndUse(example).result.Ok());
    // Only the whole file (and what follows the root's closing tag) loads cleanly.
    EXPECT_GT(failedLoads, static_cast<int>(example.size() * 9 / 10));
}

struct BadFile {
    const char* name;
    std::function<std::string()> bytes;
    std::string message;  // the one message expected
    std::string dump;     // the rows expected; "*" for any usable tree
};

void PrintTo(const BadFile& c, std::ostream* os) { *os << c.name; }

std::string Repeat(const std::string& piece, size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i) text += piece;
    return text;
}

const std::string kRegister = "<tavlin><regset n=\"S\" d=\"s\"><register n=\"R\" w=\"32\" v=\"0\" d=\"r\">";
const std::string kRegisterEnd = "</register></regset></tavlin>";

class BadFiles : public testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, LoadWithOneMessageIntoAUsableTree) {
    const BadFile& c = GetParam();
    const Outcome outcome = LoadAndUse(c.bytes());
    ExpectUsable(outcome, c.name);
    if (c.message.empty()) {
        EXPECT_TRUE(outcome.result.Ok());
    } else {
        EXPECT_EQ(outcome.result.Message().value_or(""), c.message);
    }
    if (c.dump != "*") {
        EXPECT_EQ(outcome.dump, c.dump);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, BadFiles,
    testing::Values(
        BadFile{"NulEndsTheText", [] { return Bytes("<tavlin>\0</tavlin>"); },
                "tavlin.xml: expected </tavlin> tag!", ""},
        BadFile{"NulInsideAQuotedLabel",
                [] { return Bytes("<tavlin><regset n=\"a\0b\" d=\"s\"></regset></tavlin>"); },
                "tavlin.xml: expected </regset> tag!", "set a \"\"\n"},
        BadFile{"OnlyDelimitersAndComments",
                [] { return std::string(" \t\r\n=<>\n# a comment\n\n  #another <tavlin>\n<<>>==\r\n#last"); },
                "tavlin.xml: expected <tavlin> tag!", ""},
        BadFile{"TenMegabyteWordFirst", [] { return std::string(10 << 20, 'x'); },
                "tavlin.xml: expected <tavlin> tag!", ""},
        BadFile{"TenMegabyteWordAsALabel",
                [] { return "<tavlin><regset n=" + std::string(10 << 20, 'x') + " d=\"s\"></regset></tavlin>"; },
                "tavlin.xml: expected </regset> tag!", "set " + std::string(1024, 'x') + " \"" +
                                                           std::string(1024, 'x') + "\"\n"},
        BadFile{"QuotedStringWithoutAnEnd",
                [] { return "<tavlin><regset n=\"S\" d=\"never closed " + std::string(5000, 'q'); },
                "tavlin.xml: expected </regset> tag!", "set S \"never closed " + std::string(1011, 'q') + "\"\n"},
        BadFile{"LabelsOf100000Characters",
                [] {
                    const std::string label(100000, 'L');
                    return "<tavlin><regset n=\"" + label + "\" d=\"s\"><register n=\"" + label +
                           "\" w=\"8\" v=\"0\" d=\"r\"><field n=\"" + label +
                           "\" k=\"combo\" d=\"f\" l=\"0\" h=\"7\"><select n=\"" + label +
                           "\" v=\"5\"/></field></register></regset></tavlin>";
                },
                "",
                "set " + std::string(1024, 'L') + " \"s\"\n  register " + std::string(1024, 'L') +
                    " 8 bits value \"0\" \"r\"\n    field " + std::string(255, 'L') + " 0..7 combo 5 [" +
                    std::string(255, 'L') + "=5] \"f\"\n"},
        BadFile{"HundredThousandRegisterSets",
                [] { return "<tavlin>" + Repeat("<regset n=S d=s></regset>\n", 100000) + "</tavlin>"; }, "",
                Repeat("set S \"s\"\n", 100000)},
        BadFile{"NumbersBeyond32And64Bits",
                [] {
                    return kRegister.substr(0, kRegister.find("w=\"32\"")) +
                           "w=\"99999999999\" v=\"18446744073709551616\" d=\"r\">"
                           "<field n=\"A\" k=\"edit\" d=\"f\" l=\"-99999999999\" h=\"18446744073709551616\"></field>"
                           "<field n=\"B\" k=\"combo\" d=\"f\" l=\"4294967296\" h=\"-4294967297\">"
                           "<select n=\"x\" v=\"4294967296\"/><select n=\"y\" v=\"-9223372036854775809\"/></field>" +
                           kRegisterEnd;
                },
                "",
                "set S \"s\"\n  register R 2147483647 bits value \"18446744073709551616\" \"r\"\n"
                "    field A -2147483648..2147483647 edit \"0x0\" \"f\"\n"
                "    field B 2147483647..-2147483648 combo 2147483647 [x=2147483647, y=-2147483648] \"f\"\n"},
        BadFile{"FieldsOfEveryOddSpan",
                [] {
                    return kRegister + "<field n=A k=edit d=f l=63 h=0></field><field n=B k=edit d=f l=64 h=64></field>"
                                       "<field n=C k=combo d=f l=-1 h=-1></field><field n=D k=edit d=f l=255 h=256>"
                                       "</field><field n=E k=edit d=f l=0 h=63></field>" +
                           kRegisterEnd;
                },
                "", "*"}));

// Random bytes, and random bytes after a valid start, from fixed seeds so a
// failure is repeatable.
TEST(BadFiles, BinaryGarbageLoadsIntoAUsableTree) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        std::string bytes = seed % 2 ? kRegister + "<field n=F k=combo d=f l=0 h=3><select n=" : "";
        const size_t length = random() % 4096;
        for (size_t i = 0; i < length; ++i) bytes += static_cast<char>(random());
        ExpectUsable(LoadAndUse(bytes), "seed " + std::to_string(seed));
    }
}

// Paths that are not readable files: each fails with the load message and
// leaves the tree empty. Some fail for root too, where permissions do not.
struct Unreadable {
    const char* name;
    std::function<std::string(const TempDir&)> make;  // returns the path to load
    bool posixOnly = false;  // a kind of file only POSIX systems have
};

void PrintTo(const Unreadable& c, std::ostream* os) { *os << c.name; }

class UnreadableFiles : public testing::TestWithParam<Unreadable> {};

#ifdef _WIN32
constexpr bool kOnPosix = false;
#else
constexpr bool kOnPosix = true;
#endif

TEST_P(UnreadableFiles, FailWithTheLoadMessageAndNoRows) {
    if (GetParam().posixOnly && !kOnPosix) GTEST_SKIP() << "a kind of file only POSIX systems have";
    TempDir dir;
    const std::string path = GetParam().make(dir);
    const Outcome outcome = LoadFileAndUse(path);
    EXPECT_EQ(outcome.result.Message().value_or(""), kFailedToLoad);
    EXPECT_EQ(outcome.dump, "");
}

std::string InDir(const TempDir& dir) { return (dir.Path() / "tavlin.xml").string(); }

// A socket named tavlin.xml.
std::string MakeSocket(const TempDir& dir) {
    const std::string path = InDir(dir);
#ifndef _WIN32
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() < sizeof address.sun_path) {
        path.copy(address.sun_path, path.size());
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    close(fd);
#endif
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, UnreadableFiles,
    testing::Values(
        Unreadable{"Missing", InDir},
        Unreadable{"Empty", [](const TempDir& dir) { return dir.Write("tavlin.xml", ""); }},
        Unreadable{"Directory",
                   [](const TempDir& dir) {
                       std::filesystem::create_directory(InDir(dir));
                       return InDir(dir);
                   }},
        Unreadable{"SymlinkLoop",
                   [](const TempDir& dir) {
                       std::filesystem::create_symlink("tavlin.xml", InDir(dir));
                       return InDir(dir);
                   },
                   true},
        Unreadable{"DanglingSymlink",
                   [](const TempDir& dir) {
                       std::filesystem::create_symlink("gone.xml", InDir(dir));
                       return InDir(dir);
                   },
                   true},
        Unreadable{"EndlessDevice",
                   [](const TempDir& dir) {
                       std::filesystem::create_symlink("/dev/zero", InDir(dir));
                       return InDir(dir);
                   },
                   true},
        Unreadable{"Socket", MakeSocket, true},
        Unreadable{"FileThatStatsEmpty", [](const TempDir&) { return std::string("/proc/self/status"); }, true},
        Unreadable{"NameTooLong", [](const TempDir& dir) { return (dir.Path() / std::string(5000, 'n')).string(); }}));

// Without read permission the file cannot be opened, except by root, who
// reads it anyway: there the case says nothing and is skipped.
TEST(UnreadableFiles, FileWithoutReadPermission) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX file permissions";
#else
    TempDir dir;
    const std::string path = dir.Write("tavlin.xml", "<tavlin></tavlin>");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    const int probe = open(path.c_str(), O_RDONLY);
    if (probe >= 0) {
        close(probe);
        GTEST_SKIP() << "running with the right to read any file (root)";
    }
    const Outcome outcome = LoadFileAndUse(path);
    EXPECT_EQ(outcome.result.Message().value_or(""), kFailedToLoad);
#endif
}

// A FIFO named tavlin.xml has no writer, so opening it for reading waits for
// one for ever; the load must refuse it instead of hanging the start-up.
TEST(UnreadableFiles, FifoDoesNotBlockTheLoad) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs are POSIX";
#else
    TempDir dir;
    const std::string path = InDir(dir);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    auto load = std::async(std::launch::async, [&] { return LoadFileAndUse(path); });
    if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Open the write end once so the blocked reader gets going and the test can end.
        const int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        load.wait();
        FAIL() << "loading a FIFO blocked";
    }
    const Outcome outcome = load.get();
    EXPECT_EQ(outcome.result.Message().value_or(""), kFailedToLoad);
#endif
}

}  // namespace
