// SPDX-License-Identifier: MIT
#pragma once
// What a map knows of the Arm Cortex-M core whose registers it holds: the
// core's name and title, its architecture profile and whether it can have a
// floating-point unit. Plain values; which cores exist and how their
// registers are added is the SVD library's (defs/CoreRegisters.h).
#include <optional>
#include <string_view>

class CRegisterMap;

enum class CoreProfile { Armv6M, Armv7M, Armv8MBaseline, Armv8MMainline };

struct CoreInfo {
    std::string_view name;   // as a CMSIS-SVD <cpu><name> writes it: "CM4"
    std::string_view title;  // "Cortex-M4"
    CoreProfile profile;
    bool fpu;                // whether the core can have a floating-point unit
};

// The profile of the core whose registers the map holds; nothing for a map without.
std::optional<CoreProfile> CoreProfileOf(const CRegisterMap& map);

// Whether the profile keeps the configurable fault status (CFSR, HFSR, MMFAR,
// BFAR): Armv7-M and Armv8-M Mainline do, Armv6-M and Armv8-M Baseline do not.
bool KeepsFaultStatus(CoreProfile profile);
