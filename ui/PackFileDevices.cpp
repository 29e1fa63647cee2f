// SPDX-License-Identifier: MIT
#include "ui/PackFileDevices.h"

#include <algorithm>
#include <cctype>

#include "packs/PackFileCatalog.h"

bool IsPackFile(const std::string& path) {
    constexpr std::string_view kExtension = ".pack";
    if (path.size() <= kExtension.size()) return false;
    return std::equal(kExtension.begin(), kExtension.end(), path.end() - static_cast<std::ptrdiff_t>(kExtension.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

Result<DeviceCatalog> DevicesOfPackFile(const std::string& packFile) { return CatalogOfPackFile(packFile); }
