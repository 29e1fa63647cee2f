// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "values/HexWord.h"
#include "values/ValuesTextReader.h"

namespace {

struct Addressed {
    std::uint64_t address;
    std::uint64_t value;
    int unit;
};

bool operator==(const Addressed& a, const AddressedValue& b) {
    return a.address == b.address && a.value == b.value && a.unit == b.unit;
}

std::string Describe(const ValuesText& read) {
    std::string text;
    for (const AddressedValue& v : read.addressed) {
        text += std::to_string(v.address) + ":" + std::to_string(v.value) + "/" + std::to_string(v.unit) + " ";
    }
    for (const std::string& line : ValuesProblemLines(read.problems)) text += "[" + line + "] ";
    return text;
}

struct FormCase {
    const char* text;
    std::vector<Addressed> values;
};

// One word of a dump: its value and digits, or a code that tells a word
// that is no hex number from one too long.
TEST(HexWord, AWordIsReadWholeOrFailsWithItsCode) {
    const struct {
        const char* word;
        std::optional<ProblemCode> code;  // none: read
        std::uint64_t value;
        int digits;
        bool prefixed;
    } cases[] = {
        {"1f", std::nullopt, 0x1F, 2, false},
        {"0X00ff", std::nullopt, 0xFF, 4, true},
        {"0xffffffffffffffff", std::nullopt, ~std::uint64_t{0}, 16, true},
        {"", ProblemCode::kBadValue, 0, 0, false},
        {"0x", ProblemCode::kBadValue, 0, 0, false},
        {"1g", ProblemCode::kBadValue, 0, 0, false},
        {"0x1 ", ProblemCode::kBadValue, 0, 0, false},
        {"00000000000000001", ProblemCode::kOutOfRange, 0, 0, false},
        {"0x1zzzzzzzzzzzzzzzz", ProblemCode::kBadValue, 0, 0, false},  // no hex number before too long
    };
    for (const auto& c : cases) {
        const Result<HexWord> read = ReadHexWord(c.word);
        EXPECT_EQ(read.Ok() ? std::nullopt : std::optional(read.Error().code), c.code) << '"' << c.word << '"';
        if (!read) continue;
        EXPECT_EQ(read.Value().value, c.value) << c.word;
        EXPECT_EQ(read.Value().digits, c.digits) << c.word;
        EXPECT_EQ(read.Value().prefixed, c.prefixed) << c.word;
    }
}

TEST(ValuesTextReader, EveryFormByAddress) {
    const FormCase cases[] = {
        // GDB's x, each unit, with and without a symbol
        {"0x40021000 <RCC>:\t0x00000083\t0x00000000",
         {{0x40021000, 0x83, 4}, {0x40021004, 0, 4}}},
        {"0x40021010 <RCC+16>:\t0x0000000000000083\t0xffffffffffffffff",
         {{0x40021010, 0x83, 8}, {0x40021018, ~std::uint64_t{0}, 8}}},
        {"0x40021000 <RCC>:\t0x0083\t0x0001", {{0x40021000, 0x83, 2}, {0x40021002, 1, 2}}},
        {"0x40021000:\t0x83\t0x00\t0x01", {{0x40021000, 0x83, 1}, {0x40021001, 0, 1}, {0x40021002, 1, 1}}},
        {"0x400 <std::vector<int>::size() const+4>:\t0x0000002a", {{0x400, 0x2a, 4}}},
        // OpenOCD's md*, trailing blanks and a carriage return
        {"0x40021000: 00000083 00000000 \r", {{0x40021000, 0x83, 4}, {0x40021004, 0, 4}}},
        {"0x20000000: 0102 0304", {{0x20000000, 0x102, 2}, {0x20000002, 0x304, 2}}},
        {"0x20000000: 0000000000000001", {{0x20000000, 1, 8}}},
        // address lists
        {"40021000 00000083", {{0x40021000, 0x83, 4}}},
        {"0x40021000: 0x00000083", {{0x40021000, 0x83, 4}}},
        {"0x40021000 = 0x00000083", {{0x40021000, 0x83, 4}}},
        {"0x40021000=0x0083", {{0x40021000, 0x83, 2}}},
        {"  0X4002100C   :   FFFF  ", {{0x4002100C, 0xFFFF, 2}}},
        // a lone value of no unit stands for the whole register at its address
        {"0x40021000 = 0x83a", {{0x40021000, 0x83a, 0}}},
        {"0x40021000 5", {{0x40021000, 5, 0}}},
        // 64-bit addresses, up to the last byte
        {"0xffffffff00000000: 00000001", {{0xffffffff00000000, 1, 4}}},
        {"0xfffffffffffffffc: 0x00000007", {{0xfffffffffffffffc, 7, 4}}},
        {"0xfffffffffffffffe: 01 02", {{0xfffffffffffffffe, 1, 1}, {0xffffffffffffffff, 2, 1}}},
        // skipped lines
        {"", {}},
        {"   \t", {}},
        {"# 0x40021000: 00000083", {}},
    };
    for (const FormCase& c : cases) {
        const ValuesText read = ReadValuesText(c.text);
        EXPECT_TRUE(read.problems.Empty()) << c.text << " -> " << Describe(read);
        EXPECT_TRUE(read.named.empty()) << c.text;
        ASSERT_EQ(read.addressed.size(), c.values.size()) << c.text << " -> " << Describe(read);
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_TRUE(c.values[i] == read.addressed[i]) << c.text << " value " << i << " -> " << Describe(read);
            EXPECT_EQ(read.addressed[i].line, 1u);
        }
    }
}

TEST(ValuesTextReader, NamesAndTheMapDecidesHexLookingOnes) {
    const IsRegisterName map = [](std::string_view w) { return w == "ABCD" || w == "UART1.CR1"; };
    struct Case {
        const char* text;
        const char* name;  // null: read as an address
        std::uint64_t value;
        int unit;
        const IsRegisterName* isName;
    };
    const Case cases[] = {
        {"UART1.CR1 = 0x00000301", "UART1.CR1", 0x301, 4, &map},
        {"UART1.CR1=301", "UART1.CR1", 0x301, 0, nullptr},
        {"DMA.CH[0].CTRL = 0x0001", "DMA.CH[0].CTRL", 1, 2, &map},  // unknown to the map: the caller tells
        {"Timer_2.CNT = ff", "Timer_2.CNT", 0xff, 1, nullptr},
        {"ABCD = 0x01", "ABCD", 1, 1, &map},
        {"ABCD = 0x01", nullptr, 1, 1, nullptr},     // no map: an address
        {"0xABCD = 0x01", nullptr, 1, 1, &map},      // "0x" is an address whatever the map has
        {"abcd = 0x01", nullptr, 1, 1, &map},
    };
    for (const Case& c : cases) {
        const ValuesText read = ReadValuesText(c.text, c.isName ? *c.isName : IsRegisterName{});
        ASSERT_TRUE(read.problems.Empty()) << c.text << " -> " << Describe(read);
        if (c.name) {
            ASSERT_EQ(read.named.size(), 1u) << c.text;
            EXPECT_TRUE(read.addressed.empty()) << c.text;
            EXPECT_EQ(read.named[0].name, c.name);
            EXPECT_EQ(read.named[0].value, c.value) << c.text;
            EXPECT_EQ(read.named[0].unit, c.unit) << c.text;
        } else {
            ASSERT_EQ(read.addressed.size(), 1u) << c.text;
            EXPECT_EQ(read.addressed[0].address, 0xABCDu) << c.text;
        }
    }
}

TEST(ValuesTextReader, TerminalLinesArePassedOverAsBlankLinesAre) {
    const char* const lines[] = {
        // GDB's prompt, with a command or none
        "(gdb) x/16wx 0x40021000",
        "(gdb) ",
        "(gdb)",
        "(gdb)\tmonitor mdw 0x40021000 4",
        "  (gdb) x/2xg &RCC->CR  \r",
        // OpenOCD's telnet prompt, with a command or none
        "> mdw 0x40021000 16",
        "> mdw phys 0x40021000 4",
        "> reset halt",
        "> ",
        ">",
        // commands echoed alone
        "x/4wx 0x40021000",
        "x/8xb &buf",
        "x 0x40021000",
        "x 0X40021000",
        "x &RCC",
        "x $sp",
        "x *rcc",
        "x",
        "mdw 0x40021000 16",
        "mdh 0x40021000 2",
        "mdb 0x40021000 4",
        "mdd 0x40021000",
        "mdw",
        "dump binary memory ram.bin 0x20000000 0x20000100",
        "dump",
        "monitor mdw 0x40021000 4",
        "monitor",
    };
    for (const char* line : lines) {
        const ValuesText read = ReadValuesText("0x10: 01\n" + std::string(line) + "\n0x20: 02\n");
        EXPECT_TRUE(read.problems.Empty()) << line << " -> " << Describe(read);
        EXPECT_TRUE(read.named.empty()) << line;
        ASSERT_EQ(read.addressed.size(), 2u) << line << " -> " << Describe(read);
        EXPECT_EQ(read.addressed[1].line, 3u) << line;
    }
}

TEST(ValuesTextReader, WholeTerminalSessionsGiveTheirValues) {
    const struct {
        const char* form;
        const char* text;
        std::vector<Addressed> values;
    } cases[] = {
        {"gdb", "(gdb) x/4wx 0x40021000\n0x40021000 <RCC>:\t0x00000083\t0x00000000\n"
                "0x40021008 <RCC+8>:\t0x00000001\t0x00000002\n(gdb) ",
         {{0x40021000, 0x83, 4}, {0x40021004, 0, 4}, {0x40021008, 1, 4}, {0x4002100c, 2, 4}}},
        {"openocd", "> mdw 0x40021000 2\r\n0x40021000: 00000083 00000000 \r\n\r\n> ",
         {{0x40021000, 0x83, 4}, {0x40021004, 0, 4}}},
        {"echoes", "monitor mdh 0x40021000 1\nmdh 0x40021000 1\n0x40021000: 0083 \nx/1xb 0x40021000\n"
                   "0x40021000 <RCC>:\t0x83\n",
         {{0x40021000, 0x83, 2}, {0x40021000, 0x83, 1}}},
    };
    for (const auto& c : cases) {
        const ValuesText read = ReadValuesText(c.text);
        EXPECT_TRUE(read.problems.Empty()) << c.form << " -> " << Describe(read);
        ASSERT_EQ(read.addressed.size(), c.values.size()) << c.form << " -> " << Describe(read);
        for (std::size_t i = 0; i < c.values.size(); ++i)
            EXPECT_TRUE(c.values[i] == read.addressed[i]) << c.form << " value " << i << " -> " << Describe(read);
    }
}

// A command's word given a value is a register's name, whether the map has it or not.
TEST(ValuesTextReader, CommandWordsGivenAValueStayNames) {
    const IsRegisterName map = [](std::string_view w) { return w == "x" || w == "mdw"; };
    const struct {
        const char* text;
        const char* name;
        std::uint64_t value;
    } cases[] = {
        {"x = 5", "x", 5},        {"x=0x5", "x", 5},         {"x =0x00000005", "x", 5},
        {"mdw = 1", "mdw", 1},    {"mdd = 0x0001", "mdd", 1}, {"dump = ff", "dump", 0xff},
        {"monitor=1", "monitor", 1},
    };
    for (const auto& c : cases) {
        for (const IsRegisterName& isName : {map, IsRegisterName{}}) {
            const ValuesText read = ReadValuesText(c.text, isName);
            EXPECT_TRUE(read.problems.Empty()) << c.text << " -> " << Describe(read);
            ASSERT_EQ(read.named.size(), 1u) << c.text << " -> " << Describe(read);
            EXPECT_EQ(read.named[0].name, c.name);
            EXPECT_EQ(read.named[0].value, c.value) << c.text;
        }
    }
    // Address lines stay address lines, whatever their first word looks like.
    const struct {
        const char* text;
        std::uint64_t address;
    } addressed[] = {{"add 01", 0xadd}, {"0x40021000 <x>:\t0x01", 0x40021000}, {"dd: 01", 0xdd}};
    for (const auto& c : addressed) {
        const ValuesText read = ReadValuesText(c.text, map);
        EXPECT_TRUE(read.problems.Empty()) << c.text << " -> " << Describe(read);
        ASSERT_EQ(read.addressed.size(), 1u) << c.text;
        EXPECT_EQ(read.addressed[0].address, c.address) << c.text;
    }
}

TEST(ValuesTextReader, EveryProblemAtItsLineAndTheRestKept) {
    struct Case {
        std::string line;
        const char* reason;
    };
    const Case cases[] = {
        {"(gdbx) x/4wx 0x40021000", "not a values line"},
        // close to a terminal's line, but none
        {"gdb) x/4wx 0x40021000", "not a values line"},
        {"X/4wx 0x40021000", "not a values line"},
        {"x 5", "not a values line"},
        {"x RCC", "not a values line"},
        {"x: 0x5", "not an address: x"},
        {"mdw: 00000001", "not an address: mdw"},
        {"mdw <RCC>: 00000001", "not an address: mdw"},
        {"monitor = 1 2", "more than one value after '='"},
        {"> dead 01", "not a values line"},
        {"> 0x40021000: 00000083", "not a values line"},
        {"> RCC.CR = 0x1", "not a values line"},
        {"> X = 1", "not a values line"},
        {"> mdw: 1", "not a values line"},
        {"UART1.CR1 0x5", "not a values line"},
        {"= 0x5", "not a values line"},
        {"RCC: 00000083", "not an address: RCC"},
        {"0x40021000 <RCC> 0x00000083", "a <symbol> not followed by ':'"},
        {"0x40021000 <RCC:\t0x00000083", "a <symbol> not followed by ':'"},
        {"0x40021000:", "no value after the address"},
        {"0x40021000", "no value after the address"},
        {"UART1.CR1 =", "no value after '='"},
        {"UART1.CR1 = 0x1 0x2", "more than one value after '='"},
        {"0x40021000 = 01 02", "more than one value after '='"},
        {"0x40021000: 00000083 0000zz00", "not a hex number: 0000zz00"},
        {"UART1.CR1 = 0x", "not a hex number: 0x"},
        {"UART1.CR1 = -1", "not a hex number: -1"},
        {"0x40021000: 00000083 # comment", "not a hex number: #"},
        {"0x40021000: 00000000000000000", "value longer than 16 hex digits: 00000000000000000"},
        {"0x10000000000000000: 00", "address longer than 16 hex digits"},
        {"0x40021000: 083 00000000", "a value of 3 hex digits among several: its size is unknown"},
        {"0xfffffffffffffffe: 00000001", "runs past the end of the address space"},
        {"0xffffffffffffffff: 01 02", "runs past the end of the address space"},
        {"0x0: 0x12 0x", "not a hex number: 0x"},
        {std::string(5000, 'a'), "line longer than 4096 bytes: not a values text"},
        {"0x40021000: \xff\xfe", "bytes that are not UTF-8: not a values text"},
        {"0x40021000: 00000083 \xc3\xa9", "not a hex number: \xc3\xa9"},  // UTF-8, but no number
    };
    // Each bad line between two good ones: the problem names its line, both neighbours are kept.
    for (const Case& c : cases) {
        const std::string text = "# values\n0x10: 01\n" + c.line + "\n0x20: 02\n";
        const ValuesText read = ReadValuesText(text);
        ASSERT_EQ(read.problems.Count(), 1u) << c.line << " -> " << Describe(read);
        EXPECT_EQ(read.problems.Kept()[0].line, 3) << c.line;
        EXPECT_EQ(read.problems.Kept()[0].detail, c.reason) << c.line;
        const ProblemCode code = read.problems.Kept()[0].code;
        EXPECT_TRUE(code == ProblemCode::kNotValuesLine || code == ProblemCode::kBadValue ||
                    code == ProblemCode::kOutsideAddressSpace || code == ProblemCode::kNotThisFormat)
            << c.line << ": " << ProblemCodeName(code);
        EXPECT_EQ(code == ProblemCode::kNotValuesLine, std::string_view(c.reason) == "not a values line") << c.line;
        ASSERT_EQ(read.addressed.size(), 2u) << c.line;  // nothing taken from the bad line
        EXPECT_EQ(read.addressed[0].line, 2u);
        EXPECT_EQ(read.addressed[1].line, 4u);
    }
}

TEST(ValuesTextReader, NulLinesAndAByteOrderMark) {
    using namespace std::string_literals;
    const std::string text = "\xEF\xBB\xBF" "0x10: 01\r\n0x20: \0 02\r\n0x30: 03"s;
    const ValuesText read = ReadValuesText(text);
    ASSERT_EQ(read.problems.Count(), 1u) << Describe(read);
    EXPECT_EQ(ValuesProblemLines(read.problems)[0], "line 2: NUL byte: not a values text");
    ASSERT_EQ(read.addressed.size(), 2u);
    EXPECT_EQ(read.addressed[1].address, 0x30u);
    EXPECT_EQ(read.addressed[1].line, 3u);
}

TEST(ValuesTextReader, BinaryAndHugeInputsGiveBoundedProblems) {
    std::mt19937 random(16);
    std::string bytes(1 << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    // Random bytes, then one line of 8 MB with no line feed.
    const std::string inputs[] = {bytes, std::string(8 << 20, '7'), bytes + "\n0x10: 01\n"};
    for (const std::string& input : inputs) {
        const ValuesText read = ReadValuesText(input);
        EXPECT_FALSE(read.problems.Empty());
        EXPECT_LE(read.problems.Kept().size(), ProblemList::kDefaultCapacity);
        const auto lines = static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) + 1;
        EXPECT_LE(read.problems.Count(), lines);
        if (read.problems.LeftOut() > 0) {
            EXPECT_EQ(ValuesProblemLines(read.problems).back(),
                      "and " + std::to_string(read.problems.LeftOut()) + " more problems");
        }
    }
    const ValuesText last = ReadValuesText(inputs[2]);
    ASSERT_FALSE(last.addressed.empty());
    EXPECT_EQ(last.addressed.back().address, 0x10u);  // a good line after the noise is still read
}

TEST(ValuesProblems, LinesInLineOrderThenHowManyMore) {
    ProblemList problems;
    AddValuesProblem(problems, 9, ProblemCode::kUnknownName, "late");
    AddValuesProblem(problems, 2, ProblemCode::kNotValuesLine, "early");
    EXPECT_EQ(ValuesProblemLines(problems), (std::vector<std::string>{"line 2: early", "line 9: late"}));
    for (std::size_t i = 0; i < ProblemList::kDefaultCapacity; ++i)
        AddValuesProblem(problems, 10 + i, ProblemCode::kBadValue, "more");
    EXPECT_EQ(problems.Count(), ProblemList::kDefaultCapacity + 2);
    EXPECT_EQ(ValuesProblemLines(problems).back(), "and 2 more problems");
}

}  // namespace
