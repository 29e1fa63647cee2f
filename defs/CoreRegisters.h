// SPDX-License-Identifier: MIT
#pragma once
// The Arm Cortex-M processor's own registers (SCB, NVIC, SysTick, ...) that
// vendor SVD files leave out: one map per architecture profile, carried by
// the program (cores/*.svd), added to a loaded map after its own sets. An
// SVD file's <cpu><name> adds them by itself; --core and the window's "Add
// core registers" add them to any map.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "defs/LoadReport.h"

class CRegisterMap;

enum class CoreProfile { Armv6M, Armv7M, Armv8MBaseline, Armv8MMainline };

struct CoreInfo {
    std::string_view name;   // as a CMSIS-SVD <cpu><name> writes it: "CM4"
    std::string_view title;  // "Cortex-M4"
    CoreProfile profile;
    bool fpu;                // whether the core can have a floating-point unit
};

// The cores --core takes, in the order they are listed to the user.
std::span<const CoreInfo> KnownCores();
// "CM0, CM0PLUS, ...": every name of KnownCores, for messages.
std::string KnownCoreNames();
// The core a <cpu><name> or --core names (case does not matter; "CM0+" is
// CM0PLUS); null for one tavlin has no map for.
const CoreInfo* FindCore(std::string_view name);

// The profile of the core whose registers the map holds; nothing for a map without.
std::optional<CoreProfile> CoreProfileOf(const CRegisterMap& map);

// Whether the profile keeps the configurable fault status (CFSR, HFSR, MMFAR,
// BFAR): Armv7-M and Armv8-M Mainline do, Armv6-M and Armv8-M Baseline do not.
bool KeepsFaultStatus(CoreProfile profile);

// Which of a core's optional units a device has, as its <cpu> says.
struct CoreUnits {
    bool mpu = true;
    bool fpu = true;
};

// Appends the sets of `core`'s map whose names `map` does not use yet, after
// its own sets, each set's description telling that tavlin added it for the
// core; their rows, registers and fields are counted in `report`. The map
// remembers the core. Returns how many sets were added.
int AddCoreRegisters(CRegisterMap& map, const CoreInfo& core, LoadReport& report, CoreUnits units = {});
