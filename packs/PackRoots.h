// SPDX-License-Identifier: MIT
#pragma once
// The folders packs are looked for in, in order: the user's own, then
// $CMSIS_PACK_ROOT, then where the tools that install packs keep them
// (cmsis-toolbox and Keil Studio, Keil MDK, pyOCD's cmsis-pack-manager).
#include <string>
#include <vector>

enum class PackHostSystem { kLinux, kMacOs, kWindows };

// What the roots depend on, given in so tests can set it: variables that
// are not set are empty.
struct PackEnvironment {
    PackHostSystem system = PackHostSystem::kLinux;
    std::string home;           // HOME (USERPROFILE on Windows)
    std::string localAppData;   // LOCALAPPDATA (Windows)
    std::string cmsisPackRoot;  // CMSIS_PACK_ROOT
    std::string xdgDataHome;    // XDG_DATA_HOME (Linux)
};

// This process's environment, read through platform's EnvironmentUtf8.
PackEnvironment PackEnvironmentOfThisSystem();

struct PackRoot {
    std::string folder;  // as UTF-8, the system's separators
    std::string origin;  // who names it: "user", "CMSIS_PACK_ROOT", "cmsis-toolbox", "Keil MDK", "pyOCD"

    bool operator==(const PackRoot&) const = default;
};

// The roots, in order, each once (the first naming wins; names compared as
// written, ignoring case and a trailing separator on Windows).
std::vector<PackRoot> PackRootsFor(const std::vector<std::string>& userFolders, const PackEnvironment& environment);
