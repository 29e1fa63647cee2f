// SPDX-License-Identifier: MIT
#include "archive/ZipEntryName.h"

#include <algorithm>

std::string NormalZipEntryName(std::string_view raw) {
    std::string name(raw);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

bool IsSafeZipEntryName(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) return false;
    if (name.front() == '/') return false;
    if (name.size() >= 2 && name[1] == ':') return false;  // a drive letter, with or without a root
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}
