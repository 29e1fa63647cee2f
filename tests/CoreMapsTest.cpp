// SPDX-License-Identifier: MIT
// The core register maps tavlin ships: every register at the address the
// architecture gives it, and the fault status split into its bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ExampleFiles.h"

namespace {

std::map<std::string, std::uint64_t> AddressesOf(const CRegisterMap& map) {
    std::map<std::string, std::uint64_t> addresses;
    for (const CRegisterItem* reg : map.Registers()) {
        const auto address = map.AddressOf(*reg);
        addresses[RegisterPath(*reg)] = address ? *address : ~std::uint64_t{0};
    }
    return addresses;
}

// Each profile's system control space, register by register (the System
// Address Map chapters of the Armv6-M and Armv7-M Architecture Reference
// Manuals); arrays by their first address and step. Exactly these registers:
// none unchecked, none missing.
TEST(CoreMaps, EveryRegisterIsAtItsArchitecturalAddress) {
    struct Array {
        const char* name;
        std::uint64_t first;
        int count;
        int step;
    };
    const struct {
        const char* file;
        std::map<std::string, std::uint64_t> single;
        std::vector<Array> arrays;
    } maps[] = {
        {"armv7m.svd",
         {{"SCnSCB.ICTR", 0xE000E004}, {"SCnSCB.ACTLR", 0xE000E008}, {"SysTick.CTRL", 0xE000E010},
          {"SysTick.LOAD", 0xE000E014}, {"SysTick.VAL", 0xE000E018}, {"SysTick.CALIB", 0xE000E01C},
          {"NVIC.STIR", 0xE000EF00},    {"SCB.CPUID", 0xE000ED00},   {"SCB.ICSR", 0xE000ED04},
          {"SCB.VTOR", 0xE000ED08},     {"SCB.AIRCR", 0xE000ED0C},   {"SCB.SCR", 0xE000ED10},
          {"SCB.CCR", 0xE000ED14},      {"SCB.SHCSR", 0xE000ED24},   {"SCB.CFSR", 0xE000ED28},
          {"SCB.HFSR", 0xE000ED2C},     {"SCB.DFSR", 0xE000ED30},    {"SCB.MMFAR", 0xE000ED34},
          {"SCB.BFAR", 0xE000ED38},     {"SCB.AFSR", 0xE000ED3C},    {"SCB.CPACR", 0xE000ED88}},
         {{"NVIC.ISER", 0xE000E100, 8, 4}, {"NVIC.ICER", 0xE000E180, 8, 4}, {"NVIC.ISPR", 0xE000E200, 8, 4},
          {"NVIC.ICPR", 0xE000E280, 8, 4}, {"NVIC.IABR", 0xE000E300, 8, 4}, {"NVIC.IP", 0xE000E400, 240, 1}}},
        {"armv6m.svd",
         {{"SysTick.CTRL", 0xE000E010}, {"SysTick.LOAD", 0xE000E014}, {"SysTick.VAL", 0xE000E018},
          {"SysTick.CALIB", 0xE000E01C}, {"SCB.CPUID", 0xE000ED00}, {"SCB.ICSR", 0xE000ED04},
          {"SCB.AIRCR", 0xE000ED0C}, {"SCB.SCR", 0xE000ED10}, {"SCB.CCR", 0xE000ED14}, {"SCB.SHCSR", 0xE000ED24}},
         {{"NVIC.ISER", 0xE000E100, 1, 4}, {"NVIC.ICER", 0xE000E180, 1, 4}, {"NVIC.ISPR", 0xE000E200, 1, 4},
          {"NVIC.ICPR", 0xE000E280, 1, 4}, {"NVIC.IP", 0xE000E400, 8, 4}, {"SCB.SHP", 0xE000ED1C, 2, 4}}},
    };
    for (const auto& m : maps) {
        CRegisterMap map;
        const LoadReport report = LoadSvdText(map, ReadWholeFile(SourceTreePath() / "cores" / m.file), m.file);
        ASSERT_TRUE(report.Ok()) << report.Message();
        std::map<std::string, std::uint64_t> expected = m.single;
        for (const Array& a : m.arrays)
            for (int i = 0; i < a.count; ++i)
                expected[std::string(a.name) + "[" + std::to_string(i) + "]"] =
                    a.first + static_cast<std::uint64_t>(i * a.step);
        EXPECT_EQ(AddressesOf(map), expected) << m.file;
    }
}

// A fault's status bits each have a row of their own, so a value read from
// the chip names every fault that is set.
TEST(CoreMaps, TheFaultStatusIsSplitIntoItsBits) {
    CRegisterMap map;
    ASSERT_TRUE(LoadSvdText(map, ReadWholeFile(SourceTreePath() / "cores" / "armv7m.svd"), "armv7m.svd").Ok());
    const struct {
        const char* reg;
        std::map<std::string, int> bits;  // a field and its low bit
    } cases[] = {
        {"CFSR", {{"IACCVIOL", 0}, {"DACCVIOL", 1}, {"MMARVALID", 7}, {"IBUSERR", 8}, {"PRECISERR", 9},
                  {"IMPRECISERR", 10}, {"BFARVALID", 15}, {"UNDEFINSTR", 16}, {"INVSTATE", 17}, {"NOCP", 19},
                  {"UNALIGNED", 24}, {"DIVBYZERO", 25}}},
        {"HFSR", {{"VECTTBL", 1}, {"FORCED", 30}, {"DEBUGEVT", 31}}},
        {"ICSR", {{"VECTACTIVE", 0}, {"VECTPENDING", 12}, {"PENDSVSET", 28}, {"NMIPENDSET", 31}}},
    };
    for (const auto& c : cases) {
        const CRegisterItem* found = nullptr;
        for (const CRegisterItem* reg : map.Registers())
            if (RegisterPath(*reg) == std::string("SCB.") + c.reg) found = reg;
        ASSERT_NE(found, nullptr) << c.reg;
        for (const auto& [name, low] : c.bits) {
            const CPropTreeItem* row = found->GetChild();
            while (row && name != row->GetLabelText()) row = row->GetSibling();
            ASSERT_NE(row, nullptr) << c.reg << "." << name;
            const FieldSpan* span = map.Fields().Find(row);
            ASSERT_NE(span, nullptr) << c.reg << "." << name;
            EXPECT_EQ(span->nLowBit, low) << c.reg << "." << name;
        }
    }
}

}  // namespace
