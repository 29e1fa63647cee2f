// SPDX-License-Identifier: MIT
// tavlin --decode ... --as c: the statements instead of the listing, only
// the changed ones with --changed, and what it prints read back as values.
#include <gtest/gtest.h>

#include <string>

#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/TempDir.h"

namespace {

TEST(CommandLineC, DecodeAsCPrintsOneStatementARegisterThatReadsBackTheSame) {
    TempDir dir;
    const std::string map = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string values = dir.Write("values.txt", "UART1.CTRL = 0xd\nRCC.CR = 0x83\nGPIOA.IDR = 0x5\n");
    const Outcome c = RunTavlin({"--decode", map, values, "--as", "c"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.err, "");
    EXPECT_EQ(c.out,
              "RCC->CR = RCC_CR_HSION_Msk | RCC_CR_HSIRDY_Msk | (0x10UL << RCC_CR_HSITRIM_Pos);\n"
              "GPIOA->IDR = 0x5UL; /* read-only */\n"  // a register without fields
              "UART1->CTRL = UART0_CTRL_EN_Msk | (0x3UL << UART0_CTRL_TXPAR_Pos); /* TXPAR = Odd */\n");
    // RCC.CR is at its reset value: --changed leaves it out.
    const Outcome changed = RunTavlin({"--decode", map, values, "--changed", "--as", "c"});
    EXPECT_EQ(changed.out.find("RCC->CR"), std::string::npos) << changed.out;
    EXPECT_NE(changed.out.find("UART1->CTRL"), std::string::npos) << changed.out;

    // The statements are values: decoded again, they give the same listing and the same statements.
    const std::string statements = dir.Write("init.c", c.out);
    EXPECT_EQ(RunTavlin({"--decode", map, statements, "--as", "c"}).out, c.out);
    EXPECT_EQ(RunTavlin({"--decode", map, statements}).out, RunTavlin({"--decode", map, values}).out);
}

TEST(CommandLineC, AsTakesOnlyCAndOnlyWithDecode) {
    TempDir dir;
    const std::string map = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string values = dir.Write("values.txt", "UART1.CTRL = 0xd\n");
    const Outcome rust = RunTavlin({"--decode", map, values, "--as", "rust"});
    EXPECT_EQ(rust.code, 2);
    EXPECT_EQ(rust.err.rfind("tavlin: --as takes c, not \"rust\"\n", 0), 0u) << rust.err;
    EXPECT_EQ(RunTavlin({"--check", map, "--as", "c"}).code, 2);
    EXPECT_EQ(RunTavlin({"--decode", map, values, "--as"}).err.rfind("tavlin: --as needs a format\n", 0), 0u);
}

}  // namespace
