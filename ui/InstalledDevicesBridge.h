// SPDX-License-Identifier: MIT
#pragma once
// Where the window's device commands meet the installed packs: the user's
// pack folders kept in the settings, and the scan of the roots through the
// index in the cache folder. A stand-in until the shared entry point
// (ui/InstalledPacks: InstalledDevices, CAppSettings::PackFolders) is merged;
// then each of these is one call to it.
#include <string>
#include <vector>

#include "ui/DeviceScan.h"

class CAppSettings;

std::vector<std::string> UserPackFolders(const CAppSettings& settings);
void SetUserPackFolders(CAppSettings& settings, const std::vector<std::string>& folders);

// The scan of the installed packs, its roots read now (on the window's thread).
CDeviceScan::Scan InstalledDevicesScan(const CAppSettings& settings);
