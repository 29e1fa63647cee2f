// SPDX-License-Identifier: MIT
#include "packs/PackFiles.h"

std::string PackRelativeName(std::string_view relativePath) {
    std::string name(relativePath);
    for (char& c : name)
        if (c == '\\') c = '/';
    if (name.empty() || name.front() == '/') return {};
    if (name.size() >= 2 && name[1] == ':') return {};  // "C:..."
    std::string out;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        if (slash == std::string::npos) slash = name.size();
        const std::string_view part = std::string_view(name).substr(start, slash - start);
        if (part == "..") return {};
        if (!part.empty() && part != ".") {
            if (!out.empty()) out += '/';
            out += part;
        }
        start = slash + 1;
    }
    return out;
}
