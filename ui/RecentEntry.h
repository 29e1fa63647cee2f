// SPDX-License-Identifier: MIT
#pragma once
// The entries of Open recent and the start panel: a register file's absolute
// path, as ever, or a device opened from its pack, kept by its name (and
// processor), so it reopens through the installed packs whatever version
// of its pack is there then. A device's entry starts "device:", which no
// absolute path does.
#include <optional>
#include <string>

#include "packs/DeviceCatalog.h"

// The entry that reopens `choice`: "device:NAME" or "device:NAME:PROCESSOR".
std::string RecentDeviceEntry(const DeviceChoice& choice);

// The device's "NAME[:PROCESSOR]" of an entry made by RecentDeviceEntry; nothing for a file's.
std::optional<std::string> DeviceOfRecentEntry(const std::string& entry);

// What a menu shows of an entry: a file's path, or "NAME[:PROCESSOR] (device)".
std::string RecentEntryText(const std::string& entry);
