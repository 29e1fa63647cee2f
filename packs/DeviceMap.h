// SPDX-License-Identifier: MIT
#pragma once
// A device's register map: the SVD its pack names, read through the pack (a
// folder, or the .pack archive itself, never unpacked to disk), loaded as a
// file opened by path would be, with the core registers its processor's Dcore
// names where the SVD's <cpu> names none.
#include <cstdint>
#include <string>
#include <string_view>

#include "defs/LoadReport.h"
#include "packs/DeviceCatalog.h"

class CRegisterMap;

struct CoreInfo;

// The largest SVD read out of a pack: the biggest vendor files are tens of
// megabytes; a gigabyte entry is refused before it is held.
constexpr std::uint64_t kDeviceSvdLimit = std::uint64_t{256} << 20;

// The name messages give the device's SVD: "PACK VERSION: PATH".
std::string DeviceMapDisplayName(const DeviceChoice& choice);

// The core a pdsc's Dcore ("Cortex-M7", "Cortex-M0+", "SC300") names; null for one
// tavlin has no map for.
const CoreInfo* CoreOfDcore(std::string_view dcore);

// Loads the device's SVD into `map`, which should be empty. A pack that lacks
// the file, or names none, gives a report that was not opened with the
// problem. With `core`, that core's registers are added, as --core asks;
// otherwise the processor's Dcore's when the SVD named no core itself.
LoadReport LoadDeviceMap(CRegisterMap& map, const DeviceChoice& choice, const CoreInfo* core = nullptr,
                         std::uint64_t limit = kDeviceSvdLimit);
