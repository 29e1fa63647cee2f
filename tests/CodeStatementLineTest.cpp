// SPDX-License-Identifier: MIT
// Values lines written as C: which lines are C statements, the expressions
// they hold as C works them out, and the problems of those that give nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/ValuesTextReader.h"

namespace {

// The names of a map: two fields' macros.
std::optional<std::uint64_t> Names(std::string_view name) {
    if (name == "U_CR_EN_Pos") return 0;
    if (name == "U_CR_EN_Msk") return 0x1;
    if (name == "U_CR_WLEN_Pos") return 4;
    if (name == "U_CR_WLEN_Msk") return 0x30;
    return std::nullopt;
}

ValuesText Read(const std::string& text) { return ReadValuesText(text, {}, Names); }

TEST(CodeStatementLine, ExpressionsAreWorkedOutAsCWorksThemOut) {
    const struct {
        const char* line;
        std::uint64_t value;
    } cases[] = {
        {"U->CR = U_CR_EN_Msk | (0x2UL << U_CR_WLEN_Pos);", 0x21},
        {"U->CR = 0;", 0},
        {"U->CR = 0UL;", 0},
        {"U->CR = 42;", 42},
        {"U->CR = 017;", 15},  // octal, as in C
        {"U->CR = 0b101u;", 5},
        {"U->CR = 0XffLu;", 0xff},
        {"U->CR = 1ull << 40;", std::uint64_t{1} << 40},
        {"U->CR = 0xFFFFFFFFFFFFFFFFULL;", ~std::uint64_t{0}},
        {"U->CR = 0x300 + 0x10 - 1;", 0x30f},
        {"U->CR = 0xF0 & ~U_CR_WLEN_Msk;", 0xC0},
        {"U->CR = 0x100 >> 4 | 1 << 1;", 0x12},  // shifts bind tighter than |
        {"U->CR = 1 | 2 & 0;", 1},              // & binds tighter than |
        {"U->CR = 1 << 2 + 1;", 8},             // + binds tighter than <<
        {"U->CR = (uint32_t)~U_CR_EN_Msk;", 0xFFFFFFFE},
        {"U->CR = (uint8_t)(0x1234);", 0x34},
        {"U->CR = (unsigned long)(U_CR_EN_Msk);", 1},
        {"U->CR = (U_CR_WLEN_Msk);", 0x30},
        {"U->CR = -1 & 0xFF;", 0xFF},
        {"U->CR=U_CR_EN_Msk;", 1},
        {"  U->CR   =   1 ;  /* set up */ // twice", 1},
        {"U->CR = 3; // the comment", 3},
        {"U->CR = 3; /* one */ /* two */", 3},
    };
    for (const auto& c : cases) {
        const ValuesText read = Read(c.line);
        ASSERT_EQ(read.assigned.size(), 1u) << c.line << ": " << (read.problems.Empty() ? "" : read.problems.Kept()[0].detail);
        EXPECT_EQ(read.assigned[0].name, "U->CR") << c.line;
        EXPECT_EQ(read.assigned[0].value, c.value) << c.line;
        EXPECT_EQ(read.assigned[0].line, 1u) << c.line;
        EXPECT_TRUE(read.problems.Empty()) << c.line;
    }
}

TEST(CodeStatementLine, TheLeftHandSideMayBeALabelPathOrAMembersPath) {
    const ValuesText read = Read("DMA1->CH[2].CTRL = 1;\nUART1.CR1 = 0x301UL;\nNRF_P0->PIN_CNF[31] = 2;\n");
    ASSERT_EQ(read.assigned.size(), 3u);
    EXPECT_EQ(read.assigned[0].name, "DMA1->CH[2].CTRL");
    EXPECT_EQ(read.assigned[1].name, "UART1.CR1");
    EXPECT_EQ(read.assigned[1].value, 0x301u);
    EXPECT_EQ(read.assigned[2].name, "NRF_P0->PIN_CNF[31]");
    EXPECT_EQ(read.assigned[2].line, 3u);
    EXPECT_TRUE(read.named.empty());
}

TEST(CodeStatementLine, ALineThatGivesNothingIsAProblemAtItsLine) {
    const struct {
        const char* line;
        ProblemCode code;
        const char* detail;
    } cases[] = {
        {"U->CR = U_CR_TXE_Msk;", ProblemCode::kUnknownName, "unknown name U_CR_TXE_Msk"},
        {"U->CR |= 1;", ProblemCode::kBadValue, "not a register to assign to: U->CR |"},
        {"U->CR == 1;", ProblemCode::kBadValue, "a comparison, not an assignment"},
        {"U->CR;", ProblemCode::kBadValue, "a C statement without '='"},
        {"= 1;", ProblemCode::kBadValue, "not a register to assign to: "},
        {"U->CR = (1;", ProblemCode::kBadValue, "a '(' without its ')'"},
        {"U->CR = 1 2;", ProblemCode::kBadValue, "unexpected '2' in the expression"},
        {"U->CR = ;", ProblemCode::kBadValue, "the expression ends early"},
        {"U->CR = 1 * 2;", ProblemCode::kBadValue, "unexpected '*' in the expression"},
        {"U->CR = 0x;", ProblemCode::kBadValue, "not a number: 0x"},
        {"U->CR = 09;", ProblemCode::kBadValue, "not a number: 09"},
        {"U->CR = 1LUL;", ProblemCode::kBadValue, "not a number: 1LUL"},
        {"U->CR = 0x10000000000000000;", ProblemCode::kBadValue, "a number over 64 bits: 0x10000000000000000"},
        {"U->CR = 1 << 64;", ProblemCode::kBadValue, "a shift by 64 bits"},
        {"U->CR = 1; /* open", ProblemCode::kBadValue, "a comment without its end"},
        {"U->CR = (int)1;", ProblemCode::kUnknownName, "unknown name int"},
    };
    for (const auto& c : cases) {
        const ValuesText read = Read(std::string("# first\n") + c.line + "\n");
        EXPECT_TRUE(read.assigned.empty()) << c.line;
        ASSERT_EQ(read.problems.Kept().size(), 1u) << c.line;
        EXPECT_EQ(read.problems.Kept()[0].code, c.code) << c.line;
        EXPECT_EQ(read.problems.Kept()[0].detail, c.detail) << c.line;
        EXPECT_EQ(read.problems.Kept()[0].line, 2) << c.line;
    }
}

TEST(CodeStatementLine, WithoutNamesEveryNameIsUnknownAndNestingIsBounded) {
    const ValuesText read = ReadValuesText("U->CR = U_CR_EN_Msk;\n");
    ASSERT_EQ(read.problems.Kept().size(), 1u);
    EXPECT_EQ(read.problems.Kept()[0].code, ProblemCode::kUnknownName);
    const ValuesText deep = Read("U->CR = " + std::string(1000, '(') + "1" + std::string(1000, ')') + ";");
    ASSERT_EQ(deep.problems.Kept().size(), 1u);
    EXPECT_EQ(deep.problems.Kept()[0].detail, "the expression is nested too deep");
}

// Lines of the other forms never end in ';', and read as before beside C lines.
TEST(CodeStatementLine, OtherFormsBesideCLinesReadAsBefore) {
    const ValuesText read = Read("UART1.CR1 = 0x00000301\nU->CR = 1;\n0x40021000: 00000083\n");
    ASSERT_EQ(read.named.size(), 1u);
    EXPECT_EQ(read.named[0].value, 0x301u);
    ASSERT_EQ(read.assigned.size(), 1u);
    ASSERT_EQ(read.addressed.size(), 1u);
    EXPECT_TRUE(read.problems.Empty());
}

}  // namespace
