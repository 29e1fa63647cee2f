// SPDX-License-Identifier: MIT
#include "ui/RecentEntry.h"

namespace {
constexpr std::string_view kDevicePrefix = "device:";
}  // namespace

std::string RecentDeviceEntry(const DeviceChoice& choice) {
    std::string entry = std::string(kDevicePrefix) + choice.device.name;
    if (!choice.processor.name.empty()) entry += ":" + choice.processor.name;
    return entry;
}

std::optional<std::string> DeviceOfRecentEntry(const std::string& entry) {
    if (entry.size() <= kDevicePrefix.size() || entry.compare(0, kDevicePrefix.size(), kDevicePrefix) != 0)
        return std::nullopt;
    return entry.substr(kDevicePrefix.size());
}

std::string RecentEntryText(const std::string& entry) {
    const std::optional<std::string> device = DeviceOfRecentEntry(entry);
    return device ? *device + " (device)" : entry;
}
