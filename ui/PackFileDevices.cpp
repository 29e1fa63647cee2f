// SPDX-License-Identifier: MIT
#include "ui/PackFileDevices.h"

#include <algorithm>
#include <cctype>

#include "packs/PackFileCatalog.h"

namespace {

bool EndsWithIgnoringCase(const std::string& path, std::string_view ending) {
    if (path.size() <= ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), path.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool IsPackFile(const std::string& path) { return EndsWithIgnoringCase(path, ".pack") || EndsWithIgnoringCase(path, ".pdsc"); }

Result<DeviceCatalog> DevicesOfPackFile(const std::string& packFile) { return CatalogOfPackFile(packFile); }
