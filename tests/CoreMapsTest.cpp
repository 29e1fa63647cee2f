// SPDX-License-Identifier: MIT
// The core register maps tavlin ships: every register at the address the
// architecture gives it, the fault status split into its bits, no two
// registers on one byte, and the registers a tool must not read marked.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ExampleFiles.h"

namespace {

const char* const kCoreMaps[] = {"armv6m.svd", "armv7m.svd", "armv8m-base.svd", "armv8m-main.svd"};

void LoadCoreMap(CRegisterMap& map, const std::string& file) {
    const LoadReport report = LoadSvdText(map, ReadWholeFile(SourceTreePath() / "cores" / file), file);
    ASSERT_TRUE(report.Ok()) << file << ": " << report.Message().value_or("");
}

std::map<std::string, std::uint64_t> AddressesOf(const CRegisterMap& map) {
    std::map<std::string, std::uint64_t> addresses;
    for (const CRegisterItem* reg : map.Registers()) {
        const auto address = map.AddressOf(*reg);
        addresses[RegisterPath(*reg)] = address ? *address : ~std::uint64_t{0};
    }
    return addresses;
}

// A register, or with '%' in its name an array of `count` of them `step`
// bytes apart, '%' standing for the index ("NVIC.ISER[%]", "DWT.COMP%").
struct Reg {
    const char* name;
    std::uint64_t address;
    int count = 1;
    int step = 0;
    int firstIndex = 0;
};
using Regs = std::vector<Reg>;

// The address blocks, as the System Address Map chapters of the Armv6-M,
// Armv7-M and Armv8-M Architecture Reference Manuals place them.
const Regs kSysTick = {{"SysTick.CTRL", 0xE000E010}, {"SysTick.LOAD", 0xE000E014}, {"SysTick.VAL", 0xE000E018},
                       {"SysTick.CALIB", 0xE000E01C}};
const Regs kScbCommon = {{"SCB.CPUID", 0xE000ED00}, {"SCB.ICSR", 0xE000ED04}, {"SCB.AIRCR", 0xE000ED0C},
                         {"SCB.SCR", 0xE000ED10},   {"SCB.CCR", 0xE000ED14},  {"SCB.SHCSR", 0xE000ED24}};
const Regs kScbMain = {{"SCB.VTOR", 0xE000ED08}, {"SCB.CFSR", 0xE000ED28},  {"SCB.HFSR", 0xE000ED2C},
                       {"SCB.DFSR", 0xE000ED30}, {"SCB.MMFAR", 0xE000ED34}, {"SCB.BFAR", 0xE000ED38},
                       {"SCB.AFSR", 0xE000ED3C}, {"SCB.CPACR", 0xE000ED88}};
const Regs kNvicV8 = {{"NVIC.ISER[%]", 0xE000E100, 16, 4}, {"NVIC.ICER[%]", 0xE000E180, 16, 4},
                      {"NVIC.ISPR[%]", 0xE000E200, 16, 4}, {"NVIC.ICPR[%]", 0xE000E280, 16, 4},
                      {"NVIC.IABR[%]", 0xE000E300, 16, 4}, {"NVIC.ITNS[%]", 0xE000E380, 16, 4}};
const Regs kMpuCommon = {{"MPU.TYPE", 0xE000ED90}, {"MPU.CTRL", 0xE000ED94}, {"MPU.RNR", 0xE000ED98},
                         {"MPU.RBAR", 0xE000ED9C}};
const Regs kMpuV8 = {{"MPU.RLAR", 0xE000EDA0}, {"MPU.MAIR0", 0xE000EDC0}, {"MPU.MAIR1", 0xE000EDC4}};
const Regs kFpu = {{"FPU.FPCCR", 0xE000EF34}, {"FPU.FPCAR", 0xE000EF38}, {"FPU.FPDSCR", 0xE000EF3C},
                   {"FPU.MVFR0", 0xE000EF40}, {"FPU.MVFR1", 0xE000EF44}, {"FPU.MVFR2", 0xE000EF48}};
const Regs kCoreDebug = {{"CoreDebug.DHCSR", 0xE000EDF0}, {"CoreDebug.DCRSR", 0xE000EDF4},
                         {"CoreDebug.DCRDR", 0xE000EDF8}, {"CoreDebug.DEMCR", 0xE000EDFC}};
const Regs kDwtCounters = {{"DWT.CYCCNT", 0xE0001004},   {"DWT.CPICNT", 0xE0001008}, {"DWT.EXCCNT", 0xE000100C},
                           {"DWT.SLEEPCNT", 0xE0001010}, {"DWT.LSUCNT", 0xE0001014}, {"DWT.FOLDCNT", 0xE0001018}};
const Regs kDwtV8 = {{"DWT.CTRL", 0xE0001000},
                     {"DWT.PCSR", 0xE000101C},
                     {"DWT.COMP%", 0xE0001020, 16, 16},
                     {"DWT.FUNCTION%", 0xE0001028, 16, 16}};
const Regs kItm = {{"ITM.PORT[%]", 0xE0000000, 32, 4}, {"ITM.TER", 0xE0000E00}, {"ITM.TPR", 0xE0000E40},
                   {"ITM.TCR", 0xE0000E80},           {"ITM.LAR", 0xE0000FB0}, {"ITM.LSR", 0xE0000FB4}};

// Exactly these registers, at these addresses: none unchecked, none missing.
TEST(CoreMaps, EveryRegisterIsAtItsArchitecturalAddress) {
    const struct {
        const char* file;
        std::vector<Regs> blocks;
    } maps[] = {
        {"armv6m.svd",
         {kSysTick,
          kScbCommon,
          {{"NVIC.ISER[%]", 0xE000E100, 1, 4}, {"NVIC.ICER[%]", 0xE000E180, 1, 4}, {"NVIC.ISPR[%]", 0xE000E200, 1, 4},
           {"NVIC.ICPR[%]", 0xE000E280, 1, 4}, {"NVIC.IP[%]", 0xE000E400, 8, 4}, {"SCB.SHP[%]", 0xE000ED1C, 2, 4}}}},
        {"armv7m.svd",
         {kSysTick,
          kScbCommon,
          kScbMain,
          kMpuCommon,
          kFpu,
          kCoreDebug,
          kDwtCounters,
          kItm,
          {{"SCnSCB.ICTR", 0xE000E004}, {"SCnSCB.ACTLR", 0xE000E008}, {"NVIC.ISER[%]", 0xE000E100, 8, 4},
           {"NVIC.ICER[%]", 0xE000E180, 8, 4}, {"NVIC.ISPR[%]", 0xE000E200, 8, 4}, {"NVIC.ICPR[%]", 0xE000E280, 8, 4},
           {"NVIC.IABR[%]", 0xE000E300, 8, 4}, {"NVIC.IP[%]", 0xE000E400, 240, 1}, {"NVIC.STIR", 0xE000EF00},
           {"SCB.SHP[%]", 0xE000ED18, 12, 1}, {"SCB.PFR[%]", 0xE000ED40, 2, 4}, {"SCB.DFR", 0xE000ED48},
           {"SCB.ADR", 0xE000ED4C}, {"SCB.MMFR[%]", 0xE000ED50, 4, 4}, {"SCB.ISAR[%]", 0xE000ED60, 5, 4},
           {"MPU.RASR", 0xE000EDA0}, {"MPU.RBAR_A%", 0xE000EDA4, 3, 8, 1}, {"MPU.RASR_A%", 0xE000EDA8, 3, 8, 1},
           {"DWT.CTRL", 0xE0001000}, {"DWT.PCSR", 0xE000101C}, {"DWT.COMP%", 0xE0001020, 4, 16},
           {"DWT.MASK%", 0xE0001024, 4, 16}, {"DWT.FUNCTION%", 0xE0001028, 4, 16}}}},
        {"armv8m-base.svd",
         {kSysTick,
          kScbCommon,
          kNvicV8,
          kMpuCommon,
          kMpuV8,
          kCoreDebug,
          kDwtV8,
          {{"NVIC.IPR[%]", 0xE000E400, 124, 4}, {"SCB.VTOR", 0xE000ED08}, {"SCB.SHPR[%]", 0xE000ED1C, 2, 4},
           {"CoreDebug.DSCSR", 0xE000EE08}}}},
        {"armv8m-main.svd",
         {kSysTick,
          kScbCommon,
          kScbMain,
          kNvicV8,
          kMpuCommon,
          kMpuV8,
          kFpu,
          kCoreDebug,
          kDwtCounters,
          kDwtV8,
          kItm,
          {{"SCnSCB.ICTR", 0xE000E004}, {"SCnSCB.ACTLR", 0xE000E008}, {"SCnSCB.CPPWR", 0xE000E00C},
           {"NVIC.IPR[%]", 0xE000E400, 496, 1}, {"NVIC.STIR", 0xE000EF00}, {"SCB.SHPR[%]", 0xE000ED18, 12, 1},
           {"SCB.ID_PFR[%]", 0xE000ED40, 2, 4}, {"SCB.ID_DFR", 0xE000ED48}, {"SCB.ID_ADR", 0xE000ED4C},
           {"SCB.ID_MMFR[%]", 0xE000ED50, 4, 4}, {"SCB.ID_ISAR[%]", 0xE000ED60, 6, 4}, {"SCB.NSACR", 0xE000ED8C},
           {"MPU.RBAR_A%", 0xE000EDA4, 3, 8, 1}, {"MPU.RLAR_A%", 0xE000EDA8, 3, 8, 1},
           {"CoreDebug.DSCSR", 0xE000EE08}}}},
    };
    for (const auto& m : maps) {
        CRegisterMap map;
        LoadCoreMap(map, m.file);
        std::map<std::string, std::uint64_t> expected;
        for (const Regs& block : m.blocks)
            for (const Reg& r : block) {
                const std::string name = r.name;
                const auto mark = name.find('%');
                for (int i = 0; i < r.count; ++i) {
                    const std::string path = mark == std::string::npos
                                                 ? name
                                                 : name.substr(0, mark) + std::to_string(r.firstIndex + i) +
                                                       name.substr(mark + 1);
                    EXPECT_TRUE(expected.emplace(path, r.address + static_cast<std::uint64_t>(i * r.step)).second)
                        << m.file << ": " << path << " twice in the table";
                }
            }
        EXPECT_EQ(AddressesOf(map), expected) << m.file;
    }
}

// A fault's status bits each have a row of their own, under the names the
// fault report reads, so a value read from the chip names every fault set.
TEST(CoreMaps, TheFaultStatusIsSplitIntoItsBits) {
    using Bits = std::map<std::string, int>;  // a field and its low bit
    const Bits cfsr = {{"IACCVIOL", 0},    {"DACCVIOL", 1},   {"MUNSTKERR", 3},  {"MSTKERR", 4},  {"MLSPERR", 5},
                       {"MMARVALID", 7},   {"IBUSERR", 8},    {"PRECISERR", 9},  {"IMPRECISERR", 10},
                       {"UNSTKERR", 11},   {"STKERR", 12},    {"LSPERR", 13},    {"BFARVALID", 15},
                       {"UNDEFINSTR", 16}, {"INVSTATE", 17},  {"INVPC", 18},     {"NOCP", 19},    {"UNALIGNED", 24},
                       {"DIVBYZERO", 25}};
    const Bits hfsr = {{"VECTTBL", 1}, {"FORCED", 30}, {"DEBUGEVT", 31}};
    const Bits icsr = {{"VECTACTIVE", 0}, {"RETTOBASE", 11},  {"VECTPENDING", 12}, {"ISRPENDING", 22},
                       {"PENDSTCLR", 25}, {"PENDSTSET", 26},  {"PENDSVCLR", 27},   {"PENDSVSET", 28},
                       {"NMIPENDSET", 31}};
    const Bits addresses = {{"ADDRESS", 0}};
    Bits cfsrV8 = cfsr;
    cfsrV8.emplace("STKOF", 20);
    const struct {
        const char* file;
        std::map<std::string, Bits> registers;
    } maps[] = {
        {"armv7m.svd", {{"CFSR", cfsr}, {"HFSR", hfsr}, {"ICSR", icsr}, {"MMFAR", addresses}, {"BFAR", addresses}}},
        {"armv8m-main.svd",
         {{"CFSR", cfsrV8}, {"HFSR", hfsr}, {"ICSR", icsr}, {"MMFAR", addresses}, {"BFAR", addresses}}},
    };
    for (const auto& m : maps) {
        CRegisterMap map;
        LoadCoreMap(map, m.file);
        for (const auto& [reg, bits] : m.registers) {
            const CRegisterItem* found = nullptr;
            for (const CRegisterItem* r : map.Registers())
                if (RegisterPath(*r) == "SCB." + reg) found = r;
            ASSERT_NE(found, nullptr) << m.file << ": " << reg;
            Bits fields;
            for (const CPropTreeItem* row = found->GetChild(); row; row = row->GetSibling())
                if (const FieldSpan* span = map.Fields().Find(row)) fields[row->GetLabelText()] = span->nLowBit;
            if (reg == "CFSR" || reg == "HFSR") {
                EXPECT_EQ(fields, bits) << m.file << ": " << reg;  // every bit, no more
            }
            for (const auto& [name, low] : bits) {
                ASSERT_TRUE(fields.count(name)) << m.file << ": " << reg << "." << name;
                EXPECT_EQ(fields[name], low) << m.file << ": " << reg << "." << name;
            }
        }
    }
}

// No two registers share a byte, and no two fields of a register share a
// bit, unless one is only read and the other only written (DHCSR's key).
TEST(CoreMaps, NothingOverlaps) {
    for (const char* file : kCoreMaps) {
        CRegisterMap map;
        LoadCoreMap(map, file);
        std::map<std::uint64_t, std::string> owner;  // byte address -> register
        for (const CRegisterItem* reg : map.Registers()) {
            const std::string path = RegisterPath(*reg);
            const auto address = map.AddressOf(*reg);
            ASSERT_TRUE(address) << file << ": " << path;
            for (int i = 0; i < reg->m_nBits / 8; ++i) {
                const auto [at, fresh] = owner.emplace(*address + static_cast<std::uint64_t>(i), path);
                EXPECT_TRUE(fresh) << file << ": " << path << " on " << at->second << "'s byte";
            }
            std::vector<const FieldSpan*> spans;
            for (const CPropTreeItem* row = reg->GetChild(); row; row = row->GetSibling())
                if (const FieldSpan* span = map.Fields().Find(row)) spans.push_back(span);
            for (size_t a = 0; a < spans.size(); ++a)
                for (size_t b = a + 1; b < spans.size(); ++b) {
                    const bool share = spans[a]->nLowBit <= spans[b]->nHighBit && spans[b]->nLowBit <= spans[a]->nHighBit;
                    const bool readAndWrite = (spans[a]->access == RowAccess::ReadOnly) !=
                                              (spans[b]->access == RowAccess::ReadOnly) &&
                                              spans[a]->access != RowAccess::ReadWrite &&
                                              spans[b]->access != RowAccess::ReadWrite;
                    EXPECT_TRUE(!share || readAndWrite) << file << ": " << path << " fields " << a << " and " << b;
                }
        }
    }
}

// Set reads pass over the registers a read changes, so those are marked,
// and only those; write-only registers are marked so.
TEST(CoreMaps, ReadHazardsAreMarked) {
    const std::set<std::string> readChanges = {"SysTick.CTRL", "CoreDebug.DHCSR"};  // and every DWT.FUNCTIONn
    const std::set<std::string> writeOnly = {"NVIC.STIR", "CoreDebug.DCRSR", "ITM.LAR"};
    for (const char* file : kCoreMaps) {
        CRegisterMap map;
        LoadCoreMap(map, file);
        for (const CRegisterItem* reg : map.Registers()) {
            const std::string path = RegisterPath(*reg);
            EXPECT_EQ(map.ReadChangesIt(*reg), readChanges.count(path) || path.rfind("DWT.FUNCTION", 0) == 0)
                << file << ": " << path;
            EXPECT_EQ(map.AccessOf(*reg) == RowAccess::WriteOnly, writeOnly.count(path) > 0) << file << ": " << path;
        }
    }
}

}  // namespace
