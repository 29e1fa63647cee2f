// SPDX-License-Identifier: MIT
#include "target/FaultReport.h"

#include <array>

#include "bits/ByteOrder.h"
#include "bits/NumberFormatting.h"
#include "defs/RegisterMap.h"
#include "remote/GdbClient.h"

namespace {

struct StatusBit {
    int bit;
    const char* name;
    const char* meaning;
};

// CFSR: MemManage (bits 7:0), BusFault (15:8) and UsageFault (31:16) status.
constexpr StatusBit kCfsrBits[] = {
    {0, "IACCVIOL", "instruction access violation: an instruction fetch from a region the MPU forbids, or from execute-never memory"},
    {1, "DACCVIOL", "data access violation: a load or store the MPU forbids"},
    {3, "MUNSTKERR", "memory management fault while unstacking on an exception return"},
    {4, "MSTKERR", "memory management fault while stacking on exception entry"},
    {5, "MLSPERR", "memory management fault during lazy floating-point state preservation"},
    {7, "MMARVALID", "MMFAR holds the address of the memory management fault"},
    {8, "IBUSERR", "instruction bus error: an instruction fetch faulted"},
    {9, "PRECISERR", "precise data bus error"},
    {10, "IMPRECISERR", "imprecise data bus error: a write before the stacked PC faulted, at an address not known"},
    {11, "UNSTKERR", "bus fault while unstacking on an exception return"},
    {12, "STKERR", "bus fault while stacking on exception entry (is the stack pointer valid, or did the stack overflow?)"},
    {13, "LSPERR", "bus fault during lazy floating-point state preservation"},
    {15, "BFARVALID", "BFAR holds the address of the bus fault"},
    {16, "UNDEFINSTR", "undefined instruction"},
    {17, "INVSTATE", "invalid state: an instruction ran with the Thumb bit clear (a branch to an even address?)"},
    {18, "INVPC", "invalid PC load: an exception return with a bad EXC_RETURN or stacked state"},
    {19, "NOCP", "no coprocessor: a floating-point or coprocessor instruction with the unit disabled or absent"},
    {20, "STKOF", "stack overflow: a stack pointer went below its limit"},
    {24, "UNALIGNED", "unaligned access that faults (CCR.UNALIGN_TRP set, or an instruction that never allows one)"},
    {25, "DIVBYZERO", "division by zero with CCR.DIV_0_TRP set"},
};
constexpr StatusBit kHfsrBits[] = {
    {1, "VECTTBL", "bus fault on a vector table read during exception processing"},
    {30, "FORCED", "forced hard fault: a configurable fault escalated, its handler disabled or unable to run"},
    {31, "DEBUGEVT", "debug event with no debugger to take it (a breakpoint or watchpoint)"},
};
constexpr StatusBit kDfsrBits[] = {
    {0, "HALTED", "a halt request or a step"},
    {1, "BKPT", "a breakpoint instruction or a breakpoint unit match"},
    {2, "DWTTRAP", "a data watchpoint match"},
    {3, "VCATCH", "a vector catch"},
    {4, "EXTERNAL", "an external debug request"},
};

constexpr unsigned kDaccviolBit = 1, kMmarvalidBit = 7, kPreciserrBit = 9, kBfarvalidBit = 15;
constexpr unsigned kDebugevtBit = 31, kForcedBit = 30;

bool IsSet(std::uint32_t word, unsigned bit) { return (word >> bit) & 1u; }

// "HardFault (3)", "IRQ 5 (21)", "none, Thread mode (0)".
std::string ExceptionName(std::uint32_t number) {
    static const char* const kNames[16] = {"none, Thread mode", "Reset", "NMI", "HardFault", "MemManage", "BusFault",
                                           "UsageFault", "SecureFault", nullptr, nullptr, nullptr, "SVCall",
                                           "DebugMonitor", nullptr, "PendSV", "SysTick"};
    std::string name = number < 16 ? (kNames[number] ? kNames[number] : "reserved")
                                   : "IRQ " + std::to_string(number - 16);
    return name + " (" + std::to_string(number) + ")";
}

// Which configurable fault handlers SHCSR enables, said in FORCED's line.
std::string EnabledHandlers(std::uint32_t shcsr) {
    std::string enabled;
    const std::pair<unsigned, const char*> handlers[] = {{16, "MemManage"}, {17, "BusFault"}, {18, "UsageFault"}};
    for (const auto& [bit, name] : handlers)
        if (IsSet(shcsr, bit)) enabled += (enabled.empty() ? "" : ", ") + std::string(name);
    return enabled.empty() ? "SHCSR enables no configurable fault handler" : "SHCSR enables " + enabled;
}

bool HasFaultStatus(const FaultRegisters& registers, std::optional<CoreProfile> profile) {
    // CPUID's architecture field: 0xC for Armv6-M and Armv8-M Baseline, 0xF for the others.
    if (registers.cpuid && *registers.cpuid != 0) return ((*registers.cpuid >> 16) & 0xF) == 0xF;
    return !profile || KeepsFaultStatus(*profile);
}

}  // namespace

std::vector<std::string> FaultReportLines(const FaultRegisters& r, std::optional<CoreProfile> profile) {
    std::vector<std::string> lines;
    const bool keeps = HasFaultStatus(r, profile);
    if (!keeps) {
        lines.emplace_back("no fault status: an Armv6-M or Armv8-M Baseline core keeps none; every fault is a HardFault");
    } else if (!r.cfsr && !r.hfsr) {
        lines.emplace_back("fault status not known: CFSR and HFSR were not given");
    } else {
        const std::uint32_t cfsr = r.cfsr.value_or(0), hfsr = r.hfsr.value_or(0);
        for (const StatusBit& s : kCfsrBits) {
            if (!IsSet(cfsr, static_cast<unsigned>(s.bit))) continue;
            std::string line = std::string(s.name) + ": " + s.meaning;
            const auto bit = static_cast<unsigned>(s.bit);
            if (bit == kDaccviolBit && IsSet(cfsr, kMmarvalidBit) && r.mmfar) line += " at " + FormatAddress(*r.mmfar);
            if (bit == kPreciserrBit && IsSet(cfsr, kBfarvalidBit) && r.bfar) line += " at " + FormatAddress(*r.bfar);
            if (bit == kMmarvalidBit && r.mmfar) line += ", " + FormatAddress(*r.mmfar);
            if (bit == kBfarvalidBit && r.bfar) line += ", " + FormatAddress(*r.bfar);
            lines.push_back(std::move(line));
        }
        for (const StatusBit& s : kHfsrBits) {
            if (!IsSet(hfsr, static_cast<unsigned>(s.bit))) continue;
            std::string line = std::string(s.name) + ": " + s.meaning;
            if (static_cast<unsigned>(s.bit) == kForcedBit && r.shcsr) line += " (" + EnabledHandlers(*r.shcsr) + ")";
            lines.push_back(std::move(line));
        }
        // DFSR says which debug event it was; on its own it only tells how the debugger halted the core.
        if (IsSet(hfsr, kDebugevtBit) && r.dfsr)
            for (const StatusBit& s : kDfsrBits)
                if (IsSet(*r.dfsr, static_cast<unsigned>(s.bit))) lines.push_back(std::string(s.name) + ": " + s.meaning);
        if (lines.empty()) lines.emplace_back("no fault: CFSR and HFSR are clear");
    }
    if (r.icsr) {
        // VECTACTIVE is bits 8:0 (Armv6-M's 5:0, whose upper bits read as zero).
        lines.push_back("active exception: " + ExceptionName(*r.icsr & 0x1FF));
    }
    return lines;
}

Result<FaultRegisters> ReadFaultRegisters(CGdbClient& client, std::optional<CoreProfile> profile) {
    // The system control space is little-endian on every Cortex-M core, whatever the device's data order.
    const auto word = [](const std::vector<std::uint8_t>& bytes, std::size_t at) {
        return static_cast<std::uint32_t>(UnpackValue(std::span(bytes).subspan(at, 4), ByteOrder::Little));
    };
    FaultRegisters r;
    const auto id = client.ReadMemory(kCpuidAddress, 8);
    if (!id) return Result<FaultRegisters>::FailureOf(id);
    r.cpuid = word(id.Value(), 0);
    r.icsr = word(id.Value(), 4);
    // Armv6-M's SCB has nothing from SHCSR's end on: reading there may fault the debug access.
    if (!HasFaultStatus(r, profile)) return Result<FaultRegisters>::Success(r);
    const auto status = client.ReadMemory(kShcsrAddress, static_cast<std::uint32_t>(kBfarAddress + 4 - kShcsrAddress));
    if (!status) return Result<FaultRegisters>::FailureOf(status);
    std::optional<std::uint32_t>* const words[] = {&r.shcsr, &r.cfsr, &r.hfsr, &r.dfsr, &r.mmfar, &r.bfar};
    for (std::size_t i = 0; i < std::size(words); ++i) *words[i] = word(status.Value(), 4 * i);
    return Result<FaultRegisters>::Success(r);
}

FaultRegisters FaultRegistersOf(const CRegisterMap& map) {
    FaultRegisters r;
    const std::pair<std::uint64_t, std::optional<std::uint32_t>*> words[] = {
        {kCpuidAddress, &r.cpuid}, {kIcsrAddress, &r.icsr}, {kShcsrAddress, &r.shcsr}, {kCfsrAddress, &r.cfsr},
        {kHfsrAddress, &r.hfsr},   {kDfsrAddress, &r.dfsr}, {kMmfarAddress, &r.mmfar}, {kBfarAddress, &r.bfar}};
    for (const CRegisterItem* reg : map.Registers()) {
        const auto address = map.AddressOf(*reg);
        const auto value = map.ValueOf(*reg);
        if (!address || !value || value->source == ValueSource::File || reg->m_nBits != 32) continue;
        for (const auto& [at, word] : words)
            if (*address == at) *word = static_cast<std::uint32_t>(value->value);
    }
    return r;
}
