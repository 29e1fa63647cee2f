// SPDX-License-Identifier: MIT
#pragma once
// A .pack file opened in the window (File > Open, a drop, `tavlin FILE.pack`):
// the devices its pdsc describes, for the chooser.
#include <string>

#include "packs/DeviceCatalog.h"
#include "problem/Result.h"

// Whether `path` names a pack: a .pack file, or a lone .pdsc whose pack is
// its folder (by the extension, ignoring case).
bool IsPackFile(const std::string& path);

// The devices of the one pack `packFile` holds, read in place.
Result<DeviceCatalog> DevicesOfPackFile(const std::string& packFile);
