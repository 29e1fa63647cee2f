// SPDX-License-Identifier: MIT
#pragma once
// The Arm Cortex-M processor's own registers (SCB, NVIC, SysTick, ...) that
// vendor SVD files leave out: one map per architecture profile, carried by
// the program (cores/*.svd), added to a loaded map after its own sets. An
// SVD file's <cpu><name> adds them by itself; --core and the window's "Add
// core registers" add them to any map.
#include <span>
#include <string>
#include <string_view>

#include "defs/CoreInfo.h"
#include "defs/LoadReport.h"

class CRegisterMap;

// The cores --core takes, in the order they are listed to the user.
std::span<const CoreInfo> KnownCores();
// "CM0, CM0PLUS, ...": every name of KnownCores, for messages.
std::string KnownCoreNames();
// The core a <cpu><name> or --core names (case does not matter; "CM0+" is
// CM0PLUS); null for one tavlin has no map for.
const CoreInfo* FindCore(std::string_view name);

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
