// SPDX-License-Identifier: MIT
#include "defs/CoreHeaderNames.h"

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
    std::string_view member;    // empty: the register's own name
    std::string_view after;
    std::string_view macro;     // empty: SET_MEMBER
    std::string_view instance;  // empty: the map's set
};

// A field macro the header spells otherwise than SET_REG_FIELD.
struct Respelled {
    std::string_view map;
    std::string_view header;
};

struct CoreNames {
    std::span<const Renamed> renamed;
    std::span<const std::string_view> missing;  // field macros the header leaves out
    std::span<const Respelled> respelled;
    std::span<const std::string_view> lacking;  // "SET.REG" of registers the core does not have
};

// Armv7-M: the MPU's aliases and the DWT's comparators share the macros of
// the first; an ITM port is a union whose word member is u32.
constexpr Renamed kArmv7M[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR", {}}, {"MPU", "RASR_A", true, {}, {}, "MPU_RASR", {}},
    {"DWT", "MASK", true, {}, {}, "DWT_MASK", {}},   {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION", {}},
    {"ITM", "PORT", false, "PORT", ".u32", {}, {}},
};
// The Cortex-M7 names the SCB's priority and feature registers as Armv8-M does.
constexpr Renamed kCortexM7[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR", {}}, {"MPU", "RASR_A", true, {}, {}, "MPU_RASR", {}},
    {"DWT", "MASK", true, {}, {}, "DWT_MASK", {}},   {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION", {}},
    {"ITM", "PORT", false, "PORT", ".u32", {}, {}},  {"SCB", "SHP", false, "SHPR", {}, {}, {}},
    {"SCB", "PFR", false, "ID_PFR", {}, {}, {}},     {"SCB", "DFR", false, "ID_DFR", {}, {}, {}},
    {"SCB", "ADR", false, "ID_AFR", {}, {}, {}},     {"SCB", "MMFR", false, "ID_MFR", {}, {}, {}},
    {"SCB", "ISAR", false, "ID_ISAR", {}, {}, {}},
};
constexpr Renamed kArmv8MBaseline[] = {
    {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION", {}},
};
// Armv8-M Mainline's FPU_Type stops at MVFR1; MVFR2, at the same address,
// is a member of SCB_Type.
constexpr Renamed kArmv8MMainline[] = {
    {"MPU", "RBAR_A", true, {}, {}, "MPU_RBAR", {}},
    {"MPU", "RLAR_A", true, {}, {}, "MPU_RLAR", {}},
    {"DWT", "FUNCTION", true, {}, {}, "DWT_FUNCTION", {}},
    {"ITM", "PORT", false, "PORT", ".u32", "ITM_STIM", {}},
    {"FPU", "MVFR2", false, {}, {}, {}, "SCB"},
};

// Fields of whole registers (the fault addresses), the coprocessor access
// fields and the ITM's port bits have no macros on Armv7-M; the cache
// enables of CCR are the Cortex-M7's, the lazy stacking faults come with the
// Cortex-M4's FPU. The Cortex-M7's MVFR2 has no field macros.
constexpr std::string_view kCortexM3Missing[] = {
    "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA", "SCB_BFAR_ADDRESS", "SCB_CCR_BP",        "SCB_CCR_DC",        "SCB_CCR_IC",
    "SCB_CFSR_LSPERR",    "SCB_CFSR_MLSPERR", "SCB_CPACR_CP10",  "SCB_CPACR_CP11",    "SCB_MMFAR_ADDRESS",
};
constexpr std::string_view kCortexM4Missing[] = {
    "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA", "SCB_BFAR_ADDRESS", "SCB_CCR_BP",        "SCB_CCR_DC",
    "SCB_CCR_IC",         "SCB_CPACR_CP10",  "SCB_CPACR_CP11",   "SCB_MMFAR_ADDRESS",
};
constexpr std::string_view kCortexM7Missing[] = {
    "FPU_MVFR2_VFP_Misc", "ITM_PORT_FIFOREADY", "ITM_TER_STIMENA",   "SCB_BFAR_ADDRESS",
    "SCB_CPACR_CP10",     "SCB_CPACR_CP11",     "SCB_MMFAR_ADDRESS",
};
// Armv8-M Mainline: as Armv7-M, and MVFR2 without field macros. The
// Cortex-M33's MVFR0/MVFR1 macros are the Armv7-M ones; the newer cores'
// headers spell the feature fields otherwise, so there they are a number.
constexpr std::string_view kCortexM33Missing[] = {
    "FPU_MVFR2_VFP_Misc", "ITM_TER_STIMENA",  "SCB_BFAR_ADDRESS",
    "SCB_CPACR_CP10",     "SCB_CPACR_CP11",   "SCB_MMFAR_ADDRESS",
};
constexpr std::string_view kArmv81MMissing[] = {
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

// Armv8-M names ICSR's NMI pend bit PENDNMISET (some releases keep the old
// name beside it, others do not).
constexpr Respelled kArmv8MRespelled[] = {{"SCB_ICSR_NMIPENDSET", "SCB_ICSR_PENDNMISET"}};

// The Cortex-M4's floating-point unit has MVFR0 and MVFR1 only.
constexpr std::string_view kCortexM4Lacking[] = {"FPU.MVFR2"};

struct Core {
    std::string_view name;
    CoreNames names;
};
// The Armv6-M cores' headers name every register and field as the map does.
constexpr Core kCores[] = {
    {"CM3", {kArmv7M, kCortexM3Missing, {}, {}}},
    {"SC300", {kArmv7M, kCortexM3Missing, {}, {}}},
    {"CM4", {kArmv7M, kCortexM4Missing, {}, kCortexM4Lacking}},
    {"CM7", {kCortexM7, kCortexM7Missing, {}, {}}},
    {"CM23", {kArmv8MBaseline, {}, kArmv8MRespelled, {}}},
    {"CM33", {kArmv8MMainline, kCortexM33Missing, kArmv8MRespelled, {}}},
    {"CM35P", {kArmv8MMainline, kCortexM33Missing, kArmv8MRespelled, {}}},
    {"CM55", {kArmv8MMainline, kArmv81MMissing, kArmv8MRespelled, {}}},
    {"CM85", {kArmv8MMainline, kArmv81MMissing, kArmv8MRespelled, {}}},
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

CoreRegisterHeaderName CoreRegisterHeaderNameOf(std::string_view core, std::string_view set, std::string_view reg) {
    CoreRegisterHeaderName out{std::string(set), std::string(reg), {}, std::string(set).append(1, '_').append(reg)};
    const CoreNames* names = NamesOf(core);
    if (!names) return out;
    for (const Renamed& r : names->renamed) {
        if (!Matches(r, set, reg)) continue;
        if (!r.member.empty()) out.member = r.member;
        if (!r.instance.empty()) out.set = r.instance;
        out.after = r.after;
        if (!r.macro.empty()) out.macro = r.macro;
        else out.macro = std::string(set).append(1, '_').append(out.member);
        break;
    }
    return out;
}

std::string CoreFieldMacro(std::string_view core, std::string_view stem) {
    const CoreNames* names = NamesOf(core);
    if (!names) return std::string(stem);
    if (std::find(names->missing.begin(), names->missing.end(), stem) != names->missing.end()) return {};
    for (const Respelled& r : names->respelled)
        if (r.map == stem) return std::string(r.header);
    return std::string(stem);
}

bool CoreLacksRegister(std::string_view core, std::string_view set, std::string_view reg) {
    const CoreNames* names = NamesOf(core);
    if (!names) return false;
    return std::any_of(names->lacking.begin(), names->lacking.end(), [&](std::string_view path) {
        return path.size() == set.size() + 1 + reg.size() && path.starts_with(set) && path[set.size()] == '.' &&
               path.ends_with(reg);
    });
}
