// SPDX-License-Identifier: MIT
#pragma once
// --device NAME[:PROCESSOR] and --list-devices [TEXT]: the devices of the
// installed packs (ui/InstalledPacks.h), found through the index, or of one
// .pack file named as the MAP (`tavlin FILE.pack --device NAME`).
#include <optional>
#include <ostream>
#include <string>

#include "packs/DeviceCatalog.h"

// The device `name` names, or the exit code after telling `err` why there is
// none: 2 when it names several devices or several processors (a usage
// message listing them), 1 when no installed pack describes it (the closest
// names and the folders searched), it has no such processor, or its pack
// lacks the SVD file it names.
std::optional<int> ResolveDevice(const std::string& name, std::optional<DeviceChoice>& device, std::ostream& err);

// Prints one DeviceListLine for each device and processor whose name, vendor,
// family or core holds `text` (every one for an empty text); nothing when none
// does. Returns the exit code: 0.
int ListDevices(const std::string& text, std::ostream& out);

// The device `name` names among those of the one pack `packFile` (a .pack
// archive or a .pdsc), with the same exit codes; an empty `name` takes the
// pack's one device, and of a pack of several is a usage message listing them.
std::optional<int> ResolvePackDevice(const std::string& packFile, const std::string& name,
                                     std::optional<DeviceChoice>& device, std::ostream& err);
