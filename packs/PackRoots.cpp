// SPDX-License-Identifier: MIT
#include "packs/PackRoots.h"

#include <algorithm>

#include "platform/Environment.h"

namespace {

// `folder` and the parts after it, with the system's separator.
std::string Under(PackHostSystem system, const std::string& folder, std::initializer_list<const char*> parts) {
    const char separator = system == PackHostSystem::kWindows ? '\\' : '/';
    std::string path = folder;
    for (const char* part : parts) {
        if (!path.empty() && path.back() != '/' && path.back() != '\\') path += separator;
        path += part;
    }
    return path;
}

// The name as compared for sameness: a trailing separator dropped, and on
// Windows '/' as '\' and letters in one case.
std::string SamenessKey(PackHostSystem system, std::string folder) {
    if (system == PackHostSystem::kWindows) {
        std::replace(folder.begin(), folder.end(), '/', '\\');
        for (char& c : folder)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    return folder;
}

}  // namespace

PackEnvironment PackEnvironmentOfThisSystem() {
    PackEnvironment environment;
#if defined(_WIN32)
    environment.system = PackHostSystem::kWindows;
    environment.home = EnvironmentUtf8("USERPROFILE").value_or("");
#elif defined(__APPLE__)
    environment.system = PackHostSystem::kMacOs;
    environment.home = EnvironmentUtf8("HOME").value_or("");
#else
    environment.system = PackHostSystem::kLinux;
    environment.home = EnvironmentUtf8("HOME").value_or("");
#endif
    environment.localAppData = EnvironmentUtf8("LOCALAPPDATA").value_or("");
    environment.cmsisPackRoot = EnvironmentUtf8("CMSIS_PACK_ROOT").value_or("");
    environment.xdgDataHome = EnvironmentUtf8("XDG_DATA_HOME").value_or("");
    return environment;
}

std::vector<PackRoot> PackRootsFor(const std::vector<std::string>& userFolders, const PackEnvironment& environment) {
    const PackHostSystem system = environment.system;
    std::vector<PackRoot> roots;
    for (const std::string& folder : userFolders) roots.push_back({folder, "user"});
    if (!environment.cmsisPackRoot.empty()) roots.push_back({environment.cmsisPackRoot, "CMSIS_PACK_ROOT"});

    // pyOCD keeps its packs in cmsis-pack-manager's user data folder (as
    // Python's appdirs names it, the author being the name).
    std::string pyocd;
    if (system == PackHostSystem::kWindows) {
        if (!environment.localAppData.empty()) {
            roots.push_back({Under(system, environment.localAppData, {"Arm", "Packs"}), "cmsis-toolbox"});
            pyocd = Under(system, environment.localAppData, {"cmsis-pack-manager", "cmsis-pack-manager"});
        }
        roots.push_back({"C:\\Keil_v5\\ARM\\PACK", "Keil MDK"});
    } else if (!environment.home.empty()) {
        roots.push_back({Under(system, environment.home, {".cache", "arm", "packs"}), "cmsis-toolbox"});
        if (system == PackHostSystem::kMacOs)
            pyocd = Under(system, environment.home, {"Library", "Application Support", "cmsis-pack-manager"});
    }
    if (system == PackHostSystem::kLinux) {
        if (!environment.xdgDataHome.empty())
            pyocd = Under(system, environment.xdgDataHome, {"cmsis-pack-manager"});
        else if (!environment.home.empty())
            pyocd = Under(system, environment.home, {".local", "share", "cmsis-pack-manager"});
    }
    if (!pyocd.empty()) roots.push_back({pyocd, "pyOCD"});

    std::vector<PackRoot> unique;
    std::vector<std::string> keys;
    for (PackRoot& root : roots) {
        if (root.folder.empty()) continue;
        std::string key = SamenessKey(system, root.folder);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        keys.push_back(std::move(key));
        unique.push_back(std::move(root));
    }
    return unique;
}
