// SPDX-License-Identifier: MIT
#include "packs/DeviceMap.h"

#include "defs/CoreRegisters.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"

std::string DeviceMapDisplayName(const DeviceChoice& choice) {
    return choice.pack.PackName() + " " + choice.packVersion + ": " + choice.processor.svd;
}

const CoreInfo* CoreOfDcore(std::string_view dcore) {
    for (const CoreInfo& core : KnownCores())
        if (dcore == core.title || dcore == core.name) return &core;  // "Cortex-M7", "SC300"
    return nullptr;
}

LoadReport LoadDeviceMap(CRegisterMap& map, const DeviceChoice& choice, const CoreInfo* core, std::uint64_t limit) {
    const std::string displayName = DeviceMapDisplayName(choice);
    const Result<std::string> svd = ReadDeviceSvd(choice, limit);
    if (!svd) {
        LoadReport report;
        report.format = RegisterFileFormat::Svd;
        report.displayName = displayName;
        report.problems.Add(svd.Error());
        return report;
    }
    LoadReport report = LoadSvdText(map, svd.Value(), displayName);
    if (!report.opened) return report;
    if (!core && !map.Core()) core = CoreOfDcore(choice.processor.core);
    if (core) AddCoreRegisters(map, *core, report);
    return report;
}
