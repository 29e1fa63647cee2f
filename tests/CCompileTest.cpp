// SPDX-License-Identifier: MIT
// The statements tavlin writes are C a compiler takes: those of every
// writable register of tests/CNamesSvd.h, each given a value, are compiled
// with the C compiler against a header written by hand for that file
// (tests/cnames/cnames.h) into a program that runs them and checks the value
// of each register, reached by its member as the header spells it. The
// compiler and the program each run under a deadline.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/CCompiler.h"
#include "tests/CNamesSvd.h"
#include "tests/ExampleFiles.h"
#include "tests/TempDir.h"

namespace {

struct Register {
    const char* path;    // as tavlin names it
    const char* member;  // the register as the hand-written header reaches it
    std::uint64_t value;
};

// Values with fields of one bit and of more, bits outside every field, and 0.
const Register kRegisters[] = {
    {"POWER.INTENSET", "POWER->INTENSET", 0x4},
    {"USART1.CR1", "USART1->CR1", 0x5},
    {"USART2.CR1", "USART2->CR1", 0x8},
    {"USART3.CR1", "USART3->CR1", 0xD},
    {"USART4.CR1", "USART4->CR1", 0xF00001},
    {"DMA0.CH[2].CTRL", "DMA0->CH[2].CTRL", 0x15},
    {"DMA0.CH[3].DATA[1]", "DMA0->CH[3].DATA[1]", 0xBEEF},
    {"DMA1.CH[0].CTRL", "DMA1->CH[0].CTRL", 0xC},
    {"FICR.INFO.PART", "FICR->INFO.PART", 0x52840},
    {"FICR.CFG.MODE", "FICR->CFG.MODE", 0x80000002},
    {"FICR.STR1.VAL", "FICR->STR1.VAL", 0x7F},
    {"FICR.BLK[1].FLAG", "FICR->BLK[1].FLAG", 0x1},
    {"UARTE0.RXD.PTR", "UARTE0->RXD.PTR", 0x20001000},
    {"TIMER.CCA", "TIMER->CCA", 0x0},
    {"TIMER.CCB", "TIMER->CCB", 0x1234},
    {"TIMER.MODE", "TIMER->MODE", 0x3},
    {"TIMER.WIDE", "TIMER->WIDE", 0x8000'ABCD'0000'0003},
    {"TIMER.PLAIN", "TIMER->PLAIN", 0xFFFFFFFF},
    {"GPIO.OUT", "GPIO->OUT", 0x30F},
    {"RADIO.TXD[1]", "RADIO->R_TXD_X[1]", 0x41},
};

TEST(CCompile, TheStatementsCompileAgainstAHandWrittenHeaderAndGiveEachValue) {
    if (!HasCCompiler()) GTEST_SKIP() << "no C compiler (cc)";
    CRegisterMap map;
    ASSERT_TRUE(LoadSvdText(map, CNamesDevice(), "cnames.svd").Ok());
    NoValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);

    std::string statements, checks;
    for (const Register& r : kRegisters) {
        std::size_t index = map.Registers().size();
        for (std::size_t i = 0; i < map.Registers().size(); ++i)
            if (RegisterPath(*map.Registers()[i]) == r.path) index = i;
        ASSERT_LT(index, map.Registers().size()) << r.path;
        calc.SetRegisterValue(*map.Registers()[index], r.value, ValueSource::Typed);
        statements += "    " + CodeStatement(map, index, r.value) + "\n";
        checks += "    CHECK(" + std::string(r.member) + ", " + std::to_string(r.value) + "ULL);\n";
    }
    const TempDir dir;
    const std::string header = (SourceTreePath() / "tests" / "cnames").string();
    const CRun run = CompileAndRun(dir,
        CheckingProgram(
        "#include \"cnames.h\"\n"
        "PWR_Type POWER_object;\n"
        "USART1_Type USART1_object, USART2_object;\n"
        "U3_Type USART3_object;\n"
        "USART4_Type USART4_object;\n"
        "DMA0_Type DMA0_object, DMA1_object;\n"
        "FICR_Type FICR_object;\n"
        "UARTE_Type UARTE0_object;\n"
        "TIMER_Type TIMER_object;\n"
        "GPIO_Type GPIO_object;\n"
        "RADIO_Type RADIO_object;\n",
        statements, checks),
        header);
    ASSERT_TRUE(run.compiled) << run.log << "\n" << statements;
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "every value\n") << statements;
}

}  // namespace
