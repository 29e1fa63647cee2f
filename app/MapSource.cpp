// SPDX-License-Identifier: MIT
#include "app/MapSource.h"

#include "defs/RegisterFile.h"
#include "packs/DeviceMap.h"

LoadReport LoadMapSource(CRegisterMap& map, const MapSource& source, const CoreInfo* core) {
    if (source.device) return LoadDeviceMap(map, *source.device, core);
    return LoadRegisterFile(map, source.file.c_str(), source.file.c_str(), core);
}
