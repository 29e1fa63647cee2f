// SPDX-License-Identifier: MIT
// A register's value as a line of C: the names each rule of a CMSIS device
// header gives (tests/CNamesSvd.h), the right-hand side that is exactly the
// value, the statements of the changed registers, and every statement read
// back as a values line giving its value again.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/DefinitionsLoader.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/CNamesSvd.h"
#include "values/ValuesProblems.h"

namespace {

// A loaded map and a calculator that gives its registers values as typed.
struct Loaded {
    CRegisterMap map;
    NoValueBox hex, decimal;
    CRegisterCalculator calc{map, hex, decimal};

    explicit Loaded(const std::string& svd) { EXPECT_TRUE(LoadSvdText(map, svd, "cnames.svd").Ok()); }
    Loaded(const std::string& definitions, bool) { EXPECT_TRUE(LoadDefinitionsText(map, definitions, "tavlin.xml").Ok()); }

    std::size_t IndexOf(const std::string& path) const {
        for (std::size_t i = 0; i < map.Registers().size(); ++i)
            if (RegisterPath(*map.Registers()[i]) == path) return i;
        ADD_FAILURE() << "no register " << path;
        return 0;
    }
    // The statement of the register at `path` once it is given `value`.
    std::string Statement(const std::string& path, std::uint64_t value) {
        const std::size_t index = IndexOf(path);
        calc.SetRegisterValue(*map.Registers()[index], value, ValueSource::Typed);
        return CodeStatement(map, index, value);
    }
};

struct StatementCase {
    const char* rule;
    const char* path;
    std::uint64_t value;
    const char* statement;
};

const StatementCase kCases[] = {
    {"headerStructName names the macros", "POWER.INTENSET", 0x4, "POWER->INTENSET = PWR_INTENSET_POFWARN_Msk;"},
    {"a drop-down's named value in a comment", "USART1.CR1", 0x5,
     "USART1->CR1 = USART1_CR1_UE_Msk | (0x1UL << USART1_CR1_PARITY_Pos); /* PARITY = ODD */"},
    {"a read-only register is marked", "USART1.SR", 0x1, "USART1->SR = USART1_SR_UE_Msk; /* read-only */"},
    {"derived without a layout of its own: the base's macros", "USART2.CR1", 0x1, "USART2->CR1 = USART1_CR1_UE_Msk;"},
    {"derived with its own headerStructName", "USART3.CR1", 0x1, "USART3->CR1 = U3_CR1_UE_Msk;"},
    {"derived with its own addressBlock", "USART4.CR1", 0x1, "USART4->CR1 = USART4_CR1_UE_Msk;"},
    {"a cluster array, bits outside fields", "DMA0.CH[2].CTRL", 0x15,
     "DMA0->CH[2].CTRL = DMA0_CH_CTRL_EN_Msk | (0x1UL << DMA0_CH_CTRL_PRIO_Pos) | 0x10UL;"},
    {"an array in a cluster array shares its macros", "DMA0.CH[3].DATA[1]", 0xBEEF,
     "DMA0->CH[3].DATA[1] = (0xBEEFUL << DMA0_CH_DATA_VAL_Pos);"},
    {"a derived cluster array", "DMA1.CH[0].CTRL", 0xC, "DMA1->CH[0].CTRL = (0x3UL << DMA0_CH_CTRL_PRIO_Pos);"},
    {"a cluster's headerStructName that joins the names is dropped", "FICR.INFO.PART", 0x52840,
     "FICR->INFO.PART = (0x52840UL << FICR_INFO_PART_PART_Pos);"},
    {"a cluster's headerStructName joining the peripheral's headerStructName, not its name, is kept", "UARTE0.RXD.PTR",
     0x20000000, "UARTE0->RXD.PTR = (0x20000000UL << UARTE_UARTE_RXD_PTR_PTR_Pos);"},
    {"a cluster's other headerStructName is kept", "FICR.CFG.MODE", 0x2, "FICR->CFG.MODE = (0x2UL << FICR_SETUP_MODE_M_Pos);"},
    {"a cluster list", "FICR.STR1.VAL", 0x7F, "FICR->STR1.VAL = (0x7FUL << FICR_STR_VAL_V_Pos);"},
    {"a cluster's dimName", "FICR.BLK[1].FLAG", 0x1, "FICR->BLK[1].FLAG = FICR_EVTBLK_FLAG_SET_Msk;"},
    {"a register list: each its own macros", "TIMER.CCB", 0x1234, "TIMER->CCB = (0x1234UL << TIMER_CCB_VAL_Pos);"},
    {"an alternateGroup", "TIMER.MODE_PWM", 0x9, "TIMER->MODE_PWM = (0x9UL << TIMER_MODE_PWM_DUTY_Pos);"},
    {"over 32 bits", "TIMER.WIDE", 0x8000'ABCD'0000'0003,
     "TIMER->WIDE = (0xABCDULL << TIMER_WIDE_HI_Pos) | TIMER_WIDE_LO_Msk | 0x8000000000000002ULL;"},
    {"value 0", "TIMER.MODE", 0x0, "TIMER->MODE = 0UL;"},
    {"a register without fields is a number", "TIMER.PLAIN", 0x12, "TIMER->PLAIN = 0x12UL;"},
    {"a field list, characters replaced", "GPIO.OUT", 0x305,
     "GPIO->OUT = GPIO_OUT_PIN0_Msk | GPIO_OUT_PIN2_Msk | (0x3UL << GPIO_OUT_SPEED_FAST_Pos);"},
    {"prependToName and appendToName change the member only", "RADIO.TXD[1]", 0x41,
     "RADIO->R_TXD_X[1] = (0x41UL << RADIO_TXD_BYTE_Pos);"},
};

TEST(CodeStatement, EachRuleOfTheHeadersNamesGivesItsStatement) {
    Loaded loaded(CNamesDevice());
    for (const StatementCase& c : kCases) EXPECT_EQ(loaded.Statement(c.path, c.value), c.statement) << c.rule;
}

TEST(CodeStatement, TheDevicesHeaderDefinitionsPrefixStartsEachInstance) {
    Loaded loaded(CNamesDevice("NRF_"));
    EXPECT_EQ(loaded.Statement("POWER.INTENSET", 0x4), "NRF_POWER->INTENSET = PWR_INTENSET_POFWARN_Msk;");
    EXPECT_EQ(loaded.Statement("DMA1.CH[1].CTRL", 0x1), "NRF_DMA1->CH[1].CTRL = DMA0_CH_CTRL_EN_Msk;");
    // The core registers its <cpu> adds are CMSIS-Core's, which no device prefix names.
    Loaded cored("<device><name>D</name><headerDefinitionsPrefix>NRF_</headerDefinitionsPrefix><cpu><name>CM4</name>"
                 "</cpu><peripherals><peripheral><name>P</name><baseAddress>0x40000000</baseAddress><registers>"
                 "<register><name>R</name><addressOffset>0</addressOffset></register></registers></peripheral>"
                 "</peripherals></device>");
    EXPECT_EQ(cored.Statement("P.R", 0x1), "NRF_P->R = 0x1UL;");
    const std::string ccr = cored.Statement("SCB.CCR", 0x10);
    EXPECT_EQ(ccr, "SCB->CCR = SCB_CCR_DIV_0_TRP_Msk;");
    const ValuesInputReport report = ReadValuesFor(cored.map, ccr + "\n");
    ASSERT_EQ(report.given.size(), 1u);
    EXPECT_EQ(RegisterPath(*report.given[0]), "SCB.CCR");
}

// A device of one register whose <cpu> adds the core's registers.
std::string CoreDevice(const std::string& core) {
    return "<device><name>D</name><cpu><name>" + core +
           "</name></cpu><peripherals><peripheral><name>P</name><baseAddress>0x40000000</baseAddress><registers>"
           "<register><name>R</name><addressOffset>0</addressOffset></register></registers></peripheral>"
           "</peripherals></device>";
}

struct CoreCase {
    const char* core;
    const char* path;
    std::uint64_t value;
    const char* statement;
};

// The core registers named as each core's CMSIS-Core header names them.
const CoreCase kCoreCases[] = {
    // CCR's cache enables are the Cortex-M7's: a number elsewhere
    {"CM4", "SCB.CCR", 0x30010, "SCB->CCR = SCB_CCR_DIV_0_TRP_Msk | 0x30000UL;"},
    {"CM3", "SCB.CCR", 0x30010, "SCB->CCR = SCB_CCR_DIV_0_TRP_Msk | 0x30000UL;"},
    {"CM7", "SCB.CCR", 0x30010, "SCB->CCR = SCB_CCR_DIV_0_TRP_Msk | SCB_CCR_DC_Msk | SCB_CCR_IC_Msk;"},
    // a field that is the whole register has no macro
    {"CM4", "SCB.MMFAR", 0x20001000, "SCB->MMFAR = 0x20001000UL;"},
    {"CM33", "SCB.BFAR", 0x4, "SCB->BFAR = 0x4UL;"},
    {"CM4", "SCB.CPACR", 0xF00000, "SCB->CPACR = 0xF00000UL;"},
    // the priority and feature registers of the Cortex-M7
    {"CM7", "SCB.SHP[0]", 0x40, "SCB->SHPR[0] = 0x40UL;"},
    {"CM4", "SCB.SHP[0]", 0x40, "SCB->SHP[0] = 0x40UL;"},
    {"CM7", "SCB.ADR", 0x0, "SCB->ID_AFR = 0UL; /* read-only */"},
    {"CM7", "SCB.MMFR[1]", 0x0, "SCB->ID_MFR[1] = 0UL; /* read-only */"},
    // the MPU's aliases take the macros of the registers they alias
    {"CM4", "MPU.RBAR_A2", 0x20000011,
     "MPU->RBAR_A2 = (0x1UL << MPU_RBAR_REGION_Pos) | MPU_RBAR_VALID_Msk | (0x1000000UL << MPU_RBAR_ADDR_Pos);"},
    {"CM33", "MPU.RLAR_A1", 0x1, "MPU->RLAR_A1 = MPU_RLAR_EN_Msk;"},
    // the comparators share their macros
    {"CM33", "DWT.FUNCTION3", 0x4, "DWT->FUNCTION3 = (0x4UL << DWT_FUNCTION_MATCH_Pos); /* MATCH = DataAddress */"},
    {"CM4", "DWT.MASK1", 0x3, "DWT->MASK1 = (0x3UL << DWT_MASK_MASK_Pos);"},
    // a stimulus port is a union
    {"CM4", "ITM.PORT[2]", 0x41, "ITM->PORT[2].u32 = 0x41UL;"},
    {"CM33", "ITM.PORT[2]", 0x1, "ITM->PORT[2].u32 = ITM_STIM_FIFOREADY_Msk;"},
    // Armv8-M calls the NMI pend bit PENDNMISET; Armv7-M NMIPENDSET
    {"CM33", "SCB.ICSR", 0x80000000, "SCB->ICSR = SCB_ICSR_PENDNMISET_Msk;"},
    {"CM23", "SCB.ICSR", 0x80000000, "SCB->ICSR = SCB_ICSR_PENDNMISET_Msk;"},
    {"CM7", "SCB.ICSR", 0x80000000, "SCB->ICSR = SCB_ICSR_NMIPENDSET_Msk;"},
    // MVFR2 is a member of the Mainline SCB_Type, of the Cortex-M7's FPU_Type, without field macros in both
    {"CM33", "FPU.MVFR2", 0x40, "SCB->MVFR2 = 0x40UL; /* read-only */"},
    {"CM7", "FPU.MVFR2", 0x40, "FPU->MVFR2 = 0x40UL; /* read-only */"},
    {"CM33", "FPU.MVFR0", 0x20, "FPU->MVFR0 = (0x2UL << FPU_MVFR0_Single_precision_Pos); /* read-only */"},
    // Armv6-M is named as the map names it
    {"CM0", "SCB.SHP[1]", 0x40000000, "SCB->SHP[1] = 0x40000000UL;"},
};

TEST(CodeStatement, TheCoreRegistersAreNamedAsTheirCoresHeaderNamesThemAndReadBack) {
    for (const CoreCase& c : kCoreCases) {
        SCOPED_TRACE(std::string(c.core) + " " + c.path);
        Loaded loaded(CoreDevice(c.core));
        const std::string statement = loaded.Statement(c.path, c.value);
        EXPECT_EQ(statement, c.statement);
        const ValuesInputReport report = ReadValuesFor(loaded.map, statement + "\n");
        EXPECT_TRUE(report.problems.Empty());
        ASSERT_EQ(report.given.size(), 1u);
        EXPECT_EQ(RegisterPath(*report.given[0]), c.path);
        EXPECT_EQ(report.values[0], c.value);
    }
}

// A register the core's header declares no member for (core_cm4.h has no
// MVFR2) gets a line comment in place of a statement, which any compiler takes.
TEST(CodeStatement, ARegisterTheCoresHeaderLacksIsAComment) {
    Loaded loaded(CoreDevice("CM4"));
    EXPECT_EQ(loaded.Statement("FPU.MVFR2", 0x40),
              "// FPU->MVFR2 = (0x4UL << FPU_MVFR2_VFP_Misc_Pos); core_cm4.h declares no such register (read-only)");
    EXPECT_EQ(loaded.Statement("FPU.MVFR1", 0), "FPU->MVFR1 = 0UL; /* read-only */");
}

// Every statement of the table, and the same with the prefix, read back as a
// values line gives exactly its value.
TEST(CodeStatement, EachStatementReadBackAsAValuesLineGivesItsValue) {
    for (const std::string prefix : {"", "NRF_"}) {
        Loaded loaded(CNamesDevice(prefix));
        for (const StatementCase& c : kCases) {
            const std::string line = loaded.Statement(c.path, c.value);
            const ValuesInputReport report = ReadValuesFor(loaded.map, line + "\n");
            EXPECT_TRUE(report.problems.Empty()) << line << ": " << ValuesProblemLines(report.problems).front();
            ASSERT_EQ(report.given.size(), 1u) << line;
            EXPECT_EQ(RegisterPath(*report.given[0]), c.path) << line;
            EXPECT_EQ(report.values[0], c.value) << line;
        }
    }
}

TEST(CodeStatement, ADefinitionsFileNamesSetRegisterAndFieldByTheirLabels) {
    Loaded loaded(R"(<tavlin>
<regset name="CLOCK-CTL" info="clocks">
  <register name="CFG" bits="16" value="0x0000" info="configuration">
    <field name="DIV" kind="edit" info="divider" low="0" high="3"></field>
    <field name="ON" kind="edit" info="on" low="8" high="8"></field>
  </register>
</regset>
</tavlin>
)",
                  true);
    EXPECT_EQ(loaded.Statement("CLOCK-CTL.CFG", 0x103), "CLOCK_CTL->CFG = (0x3UL << CLOCK_CTL_CFG_DIV_Pos) | CLOCK_CTL_CFG_ON_Msk;");
    const ValuesInputReport report = ReadValuesFor(loaded.map, "CLOCK_CTL->CFG = CLOCK_CTL_CFG_ON_Msk | 5;\n");
    ASSERT_EQ(report.values.size(), 1u);
    EXPECT_EQ(report.values[0], 0x105u);
}

// What the user set up, as the lines that set it: each writable register
// whose value differs from its reset value, in the map's order.
TEST(CodeStatement, TheChangedStatementsAreTheWritableRegistersThatDifferFromTheirReset) {
    Loaded loaded(CNamesDevice());
    EXPECT_FALSE(HasChangedCodeStatements(loaded.map));
    EXPECT_EQ(ChangedCodeStatements(loaded.map), "");
    loaded.Statement("TIMER.MODE", 0x2);
    loaded.Statement("USART1.SR", 0x1);  // read-only: a value read, not one to write
    loaded.Statement("POWER.INTENSET", 0x4);
    loaded.Statement("GPIO.OUT", 0x0);   // its reset value
    EXPECT_TRUE(HasChangedCodeStatements(loaded.map));
    EXPECT_EQ(ChangedCodeStatements(loaded.map),
              "POWER->INTENSET = PWR_INTENSET_POFWARN_Msk;\n"
              "TIMER->MODE = (0x2UL << TIMER_MODE_CNT_Pos);\n");
    // Compared with values of its own, a register equal to them is unchanged.
    loaded.map.SetBaseline(*loaded.map.Registers()[loaded.IndexOf("TIMER.MODE")], 0x2);
    EXPECT_EQ(ChangedCodeStatements(loaded.map), "POWER->INTENSET = PWR_INTENSET_POFWARN_Msk;\n");
}

}  // namespace
