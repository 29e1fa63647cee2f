// SPDX-License-Identifier: MIT
#include "defs/CoreCNames.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace {

// A register the header names otherwise: `reg` in set `set`, or, when
// `numbered`, `reg` followed by a number (the DWT's FUNCTION0..FUNCTION15).
struct Renamed {
    std::string_view set;
    std::string_view reg;
    bool numbered;
    std::string_view member;  // empty: the register's own name
    std::string_view after;
    std::string_view macro;   // empty: SET_REG
};

struct CoreNames {
    std::span<const Renamed> renamed;
    std::span<const std::string_view> missing;  // field macros the header leaves out
};

// Armv7-M: the MPU's aliases and the DWT's comparators share the macros of
// the first; an ITM port is a union whose word member is u32.
constexpr Renamed kArmv7M[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR"}, {"MPU", "RASR_A", true, {}, {}, "MPU_RASR"},
    {"DWT", "MASK", true, {}, {}, "DWT_MASK"},   {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION"},
    {"ITM", "PORT", false, "PORT", ".u32", {}},
};
// The Cortex-M7 names the SCB's priority and feature registers as Armv8-M does.
constexpr Renamed kCortexM7[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR"}, {"MPU", "RASR_A", true, {}, {}, "MPU_RASR"},
    {"DWT", "MASK", true, {}, {}, "DWT_MASK"},   {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION"},
    {"ITM", "PORT", false, "PORT", ".u32", {}},  {"SCB", "SHP", false, "SHPR", {}, {}},
    {"SCB", "PFR", false, "ID_PFR", {}, {}},     {"SCB", "DFR", false, "ID_DFR", {}, {}},
    {"SCB", "ADR", false, "ID_AFR", {}, {}},     {"SCB", "MMFR", false, "ID_MFR", {}, {}},
    {"SCB", "ISAR", false, "ID_ISAR", {}, {}},
};
constexpr Renamed kArmv8MBaseline[] = {
    {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION"},
};
constexpr Renamed kArmv8MMainline[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR"},
    {"MPU", "RLAR_A", true, {}, {}, "MPU_RLAR"},
    {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION"},
    {"ITM", "PORT", false, "PORT", ".u32", "ITM_STIM"},
};

// Fields of whole registers (the fault addresses), the coprocessor access
// fields and the ITM's port bits have no macros on Armv7-M; the cache
// enables of CCR are the Cortex-M7's, the lazy stacking faults come with the
// Cortex-M4's FPU.
constexpr std::string_view kCortexM3Missing[] = {
    "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA", "SCB_BFAR_ADDRESS", "SCB_CCR_BP",        "SCB_CCR_DC",        "SCB_CCR_IC",
    "SCB_CFSR_LSPERR",    "SCB_CFSR_MLSPERR", "SCB_CPACR_CP10",  "SCB_CPACR_CP11",    "SCB_MMFAR_ADDRESS",
};
constexpr std::string_view kCortexM4Missing[] = {
    "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA", "SCB_BFAR_ADDRESS", "SCB_CCR_BP",        "SCB_CCR_DC",
    "SCB_CCR_IC",         "SCB_CPACR_CP10",  "SCB_CPACR_CP11",   "SCB_MMFAR_ADDRESS",
};
constexpr std::string_view kCortexM7Missing[] = {
    "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA", "SCB_BFAR_ADDRESS", "SCB_CPACR_CP10", "SCB_CPACR_CP11", "SCB_MMFAR_ADDRESS",
};
// Armv8-M Mainline names the media and FP feature fields in its own way;
// they are read-only and written as a number.
constexpr std::string_view kArmv8MMainlineMissing[] = {
    "FPU_MVFR0_A_SIMD_registers",
    "FPU_MVFR0_Divide",
    "FPU_MVFR0_Double_precision",
    "FPU_MVFR0_FP_excep_trapping",
    "FPU_MVFR0_FP_rounding_modes",
    "FPU_MVFR0_Short_vectors",
    "FPU_MVFR0_Single_precision",
    "FPU_MVFR0_Square_root",
    "FPU_MVFR1_D_NaN_mode",
    "FPU_MVFR1_FP_HPFP",
    "FPU_MVFR1_FP_fused_MAC",
    "FPU_MVFR1_FtZ_mode",
    "FPU_MVFR2_VFP_Misc",
    "ITM_TER_STIMENA",
    "SCB_BFAR_ADDRESS",
    "SCB_CPACR_CP10",
    "SCB_CPACR_CP11",
    "SCB_MMFAR_ADDRESS",
};

struct Core {
    std::string_view name;
    CoreNames names;
};
// The Armv6-M cores' headers name every register and field as the map does.
constexpr Core kCores[] = {
    {"CM3", {kArmv7M, kCortexM3Missing}},
    {"SC300", {kArmv7M, kCortexM3Missing}},
    {"CM4", {kArmv7M, kCortexM4Missing}},
    {"CM7", {kCortexM7, kCortexM7Missing}},
    {"CM23", {kArmv8MBaseline, {}}},
    {"CM33", {kArmv8MMainline, kArmv8MMainlineMissing}},
    {"CM35P", {kArmv8MMainline, kArmv8MMainlineMissing}},
    {"CM55", {kArmv8MMainline, kArmv8MMainlineMissing}},
    {"CM85", {kArmv8MMainline, kArmv8MMainlineMissing}},
};

const CoreNames* NamesOf(std::string_view core) {
    for (const Core& c : kCores)
        if (c.name == core) return &c.names;
    return nullptr;
}

bool Matches(const Renamed& r, std::string_view set, std::string_view reg) {
    if (r.set != set) return false;
    if (!r.numbered) return r.reg == reg;
    if (!reg.starts_with(r.reg) || reg.size() == r.reg.size()) return false;
    const std::string_view number = reg.substr(r.reg.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

CoreRegisterCName CoreRegisterCNameOf(std::string_view core, std::string_view set, std::string_view reg) {
    CoreRegisterCName out{std::string(reg), {}, std::string(set).append(1, '_').append(reg)};
    const CoreNames* names = NamesOf(core);
    if (!names) return out;
    for (const Renamed& r : names->renamed) {
        if (!Matches(r, set, reg)) continue;
        if (!r.member.empty()) out.member = r.member;
        out.after = r.after;
        if (!r.macro.empty()) out.macro = r.macro;
        else out.macro = std::string(set).append(1, '_').append(out.member);
        break;
    }
    return out;
}

bool CoreHasFieldMacro(std::string_view core, std::string_view stem) {
    const CoreNames* names = NamesOf(core);
    return !names || !(std::find(names->missing.begin(), names->missing.end(), stem) != names->missing.end());
}
