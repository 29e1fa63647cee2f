// SPDX-License-Identifier: MIT
#pragma once
// The devices of the installed packs, as the command line and the window both
// find them: the roots are the user's pack folders (kept with the settings),
// $CMSIS_PACK_ROOT and the folders of the tools that install packs, scanned
// through the index kept in tavlin's cache folder.
#include <atomic>
#include <string>
#include <vector>

#include "packs/DeviceCatalog.h"
#include "packs/PackIndex.h"
#include "packs/PackRoots.h"
#include "problem/Result.h"

class CAppSettings;

// The folder the pack index is kept in: $TAVLIN_CACHE_DIR when it is set (the
// tests keep their runs out of the user's cache so), otherwise the system's
// cache folder for tavlin (QStandardPaths::CacheLocation; the program names
// itself "tavlin" in every mode, so the folder is its own). As UTF-8.
std::string PackCacheFolder();

// The roots searched, in order: the settings' pack folders, then those of this
// system's environment.
std::vector<PackRoot> InstalledPackRoots(const CAppSettings& settings);

// Every device the roots' packs describe, through the index in `cacheFolder`.
// Fails only with kCancelled when `cancel` was raised.
Result<DeviceCatalog> InstalledDevices(const std::vector<PackRoot>& roots, const std::string& cacheFolder,
                                       const PackScanProgress& progress = {},
                                       const std::atomic<bool>* cancel = nullptr);

// Every device of the installed packs: InstalledPackRoots through the index in PackCacheFolder.
Result<DeviceCatalog> InstalledDevices(const CAppSettings& settings, const PackScanProgress& progress = {},
                                       const std::atomic<bool>* cancel = nullptr);
