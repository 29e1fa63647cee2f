// SPDX-License-Identifier: MIT
#pragma once
// The map a command-line mode loads: a file named as MAP, or an installed
// device named with --device.
#include <optional>
#include <string>

#include "defs/LoadReport.h"
#include "packs/DeviceCatalog.h"

class CRegisterMap;
struct CoreInfo;

struct MapSource {
    std::string file;                    // the file, when no device is named
    std::optional<DeviceChoice> device;  // --device: the device whose pack's SVD is the map
};

// Loads the file (LoadRegisterFile) or the device's map (LoadDeviceMap) into
// `map`, with `core`'s registers as --core asks.
LoadReport LoadMapSource(CRegisterMap& map, const MapSource& source, const CoreInfo* core);
