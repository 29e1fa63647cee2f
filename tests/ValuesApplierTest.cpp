// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "values/ValuesApplier.h"
#include "values/ValuesMessages.h"
#include "values/ValuesTextReader.h"

namespace {

// A small map: RCC's registers with a gap, and an arrayed cluster DMA.CH[n].
struct Register {
    const char* name;
    std::uint64_t address;
    int bytes;
};
const Register kMap[] = {
    {"RCC.CR", 0x40021000, 4},        {"RCC.CFGR", 0x40021004, 4},     {"RCC.CIR", 0x40021008, 2},
    {"RCC.APB", 0x40021010, 4},       {"DMA.CH[0].CTRL", 0x40020008, 4}, {"DMA.CH[0].CNT", 0x4002000c, 2},
    {"DMA.CH[1].CTRL", 0x4002001c, 4}, {"DMA.CH[1].CNT", 0x40020020, 2},
};

std::vector<RegisterSpan> Spans() {
    std::vector<RegisterSpan> spans;
    for (std::size_t i = 0; i < std::size(kMap); ++i) spans.push_back({kMap[i].address, kMap[i].bytes, i});
    return spans;
}

std::optional<RegisterSpan> Find(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kMap); ++i) {
        if (name == kMap[i].name) return RegisterSpan{kMap[i].address, kMap[i].bytes, i};
    }
    return std::nullopt;
}

struct Outcome {
    std::map<std::string, std::uint64_t> given;
    std::vector<std::string> told;      // the lines about gaps and partly given registers
    std::vector<std::string> problems;
    std::vector<ProblemCode> codes;  // of the problems, as found
};

Outcome Decode(const std::string& text, ByteOrder order = ByteOrder::Little) {
    const RegisterLayout layout(Spans());
    const ValuesApplier applier(layout, order);
    ValuesText read = ReadValuesText(text, [](std::string_view w) { return Find(w).has_value(); });
    MemoryImage image;
    applier.Lay(image, read.addressed, read.problems);
    AppliedValues applied = applier.Apply(image);
    applier.ApplyNamed(read.named, Find, applied, read.problems);
    Outcome outcome;
    for (const GivenValue& v : applied.given) outcome.given[kMap[v.id].name] = v.value;
    if (auto off = OffMapMessage(applied.offMap)) outcome.told.push_back(*off);
    for (const std::size_t id : applied.partlyGiven) outcome.told.push_back(PartlyGivenMessage(kMap[id].name));
    outcome.problems = ValuesProblemLines(read.problems);
    for (const Problem& problem : read.problems.Kept()) outcome.codes.push_back(problem.code);
    return outcome;
}

using Given = std::map<std::string, std::uint64_t>;
using Lines = std::vector<std::string>;

TEST(ValuesApplier, DumpOverGapsAndPartlyGivenRegisters) {
    struct Case {
        const char* text;
        Given given;
        Lines told;
    };
    const Case cases[] = {
        // words over RCC: 0x4002100c..0x4002100f and 0x40021014.. lie on no register,
        // and the CIR half-word's other half too
        {"0x40021000 <RCC>:\t0x00000083\t0x00000001\t0x0000ffff\t0x00000000\n"
         "0x40021010 <RCC+16>:\t0x00000005\t0x00000006\t0x00000007",
         {{"RCC.CR", 0x83}, {"RCC.CFGR", 1}, {"RCC.CIR", 0xffff}, {"RCC.APB", 5}},
         {"3 values fall on no register, the first at 0x4002100c"}},
        // half of CFGR, and one value far away
        {"0x40021000: 00000083 0001\n0x50000000 = 0x00000001",
         {{"RCC.CR", 0x83}},
         {"1 value falls on no register, at 0x50000000", "RCC.CFGR is only partly given"}},
        // a dump over the arrayed cluster in bytes and half-words
        {"0x40020008: 01 00 00 80 0x1234\n0x4002001c: 0x0002 0x0000 0xbeef",
         {{"DMA.CH[0].CTRL", 0x80000001}, {"DMA.CH[0].CNT", 0x1234}, {"DMA.CH[1].CTRL", 2},
          {"DMA.CH[1].CNT", 0xbeef}},
         {}},
        // lone values of no unit take the size of the register at their address
        // (leading zeros count: "0x083" has no unit, "0x83" is a byte)
        {"0x40021008 = 0x3ff\n0x40021010 = 0x083\n0x40021002 = 0x7\n0x40021004 = 0x83",
         {{"RCC.CIR", 0x3ff}, {"RCC.APB", 0x83}},
         {"RCC.CR is only partly given", "RCC.CFGR is only partly given"}},
        // a 64-bit address is written with 16 digits
        {"0x100000000: 00000001 00000002",
         {},
         {"2 values fall on no register, the first at 0x0000000100000000"}},
        // by name, over a partly given register, and an arrayed name
        {"0x40021004: 0001\nRCC.CFGR = 0x00000301\nDMA.CH[1].CNT = 0x0002\nRCC.CR = 0x1\nRCC.CR = 0x2",
         {{"RCC.CFGR", 0x301}, {"DMA.CH[1].CNT", 2}, {"RCC.CR", 2}},
         {}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Decode(c.text);
        EXPECT_TRUE(outcome.problems.empty()) << c.text << "\n" << testing::PrintToString(outcome.problems);
        EXPECT_EQ(outcome.given, c.given) << c.text;
        EXPECT_EQ(outcome.told, c.told) << c.text;
    }
}

TEST(ValuesApplier, BigEndianDevice) {
    const Outcome outcome = Decode("0x40021000: 12 34 56 78\n0x40021008: 0x1234\n0x40021010 = 0x012", ByteOrder::Big);
    EXPECT_EQ(outcome.given, (Given{{"RCC.CR", 0x12345678}, {"RCC.CIR", 0x1234}, {"RCC.APB", 0x12}}));
}

TEST(ValuesApplier, ProblemsOfTheMapAtTheirLines) {
    const Outcome outcome = Decode(
        "RCC.CR = 0x1\n"
        "UART9.CR1 = 0x00000001\n"
        "RCC.CIR = 0x00010000\n"
        "0x40021008 = 0x10000\n"
        "0x40021010 = 0x12345\n");
    EXPECT_EQ(outcome.given, (Given{{"RCC.CR", 1}, {"RCC.APB", 0x12345}}));
    EXPECT_EQ(outcome.problems, (Lines{"line 2: no register UART9.CR1 in the map",
                                       "line 3: 0x10000 is wider than the 16-bit register RCC.CIR",
                                       "line 4: 0x10000 is wider than the 16-bit register at 0x40021008"}));
    // Found as laid (the addressed line 4) and then as named (lines 2 and 3).
    EXPECT_EQ(outcome.codes, (std::vector<ProblemCode>{ProblemCode::kValueTooWide, ProblemCode::kUnknownName,
                                                       ProblemCode::kValueTooWide}));
}

TEST(ValuesApplier, RawImageCountsEachByteOffTheMap) {
    const RegisterLayout layout(Spans());
    const ValuesApplier applier(layout, ByteOrder::Little);
    MemoryImage image;
    image.AddRaw(0x40020000, std::string(0x20, '\x01'));  // up to 0x4002001f: CH[1].CTRL is whole
    const AppliedValues applied = applier.Apply(image);
    ASSERT_EQ(applied.given.size(), 3u);
    EXPECT_EQ(applied.given[2].value, 0x01010101u);
    EXPECT_TRUE(applied.partlyGiven.empty());
    // 0x20 bytes, less 4 + 2 + 4 on registers; the first is the image's first byte.
    EXPECT_EQ(OffMapMessage(applied.offMap), "22 values fall on no register, the first at 0x40020000");
}

TEST(RegisterLayout, UnsortedAndOverlappingRegisters) {
    const RegisterLayout layout({{0x18, 4, 2}, {0x10, 4, 0}, {0x10, 2, 1}, {0x12, 4, 3}, {0x30, 0, 4}});
    EXPECT_EQ(layout.StartingAt(0x10)->id, 0u);  // the first of equals in the caller's order
    EXPECT_EQ(layout.StartingAt(0x14), nullptr);
    struct Case {
        std::uint64_t first, last, bytes, firstOff;
    };
    const Case cases[] = {
        {0x10, 0x1b, 2, 0x16}, {0x00, 0x0f, 16, 0x00}, {0x0e, 0x11, 2, 0x0e}, {0x1c, 0x40, 37, 0x1c},
        {0x11, 0x15, 0, 0},
    };
    for (const Case& c : cases) {
        const RegisterLayout::OffRegisters off = layout.BytesOnNoRegister(c.first, c.last);
        EXPECT_EQ(off.bytes, c.bytes) << std::hex << c.first;
        if (c.bytes) {
            EXPECT_EQ(off.first, c.firstOff) << std::hex << c.first;
        }
    }
}

}  // namespace
