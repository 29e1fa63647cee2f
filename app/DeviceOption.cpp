// SPDX-License-Identifier: MIT
#include "app/DeviceOption.h"

#include "ui/AppSettings.h"
#include "ui/InstalledPacks.h"

namespace {

DeviceCatalog Installed() {
    // Without a cancel, the scan cannot fail.
    Result<DeviceCatalog> catalog = InstalledDevices(CAppSettings());
    return catalog ? std::move(catalog.Value()) : DeviceCatalog();
}

}  // namespace

std::optional<int> ResolveDevice(const std::string& name, std::optional<DeviceChoice>& device, std::ostream& err) {
    const Result<DeviceChoice> found = Installed().Find(name);
    if (found) {
        device = found.Value();
        return std::nullopt;
    }
    err << "tavlin: " << found.Error().detail << '\n';
    return found.Failed(ProblemCode::kSeveralDevices) || found.Failed(ProblemCode::kSeveralProcessors) ? 2 : 1;
}

int ListDevices(const std::string& text, std::ostream& out) {
    for (const DeviceChoice& choice : Installed().Matching(text)) out << DeviceListLine(choice) << '\n';
    return 0;
}
