// SPDX-License-Identifier: MIT
#include "packs/DeviceNameMatch.h"

#include <algorithm>
#include <vector>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

NameMatch MatchDeviceName(std::string_view deviceName, std::string_view typed) {
    if (typed.empty() || typed.size() > deviceName.size()) return NameMatch::kNone;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char own = deviceName[i];
        if (own == 'x') continue;  // the pack's lowercase 'x': any one character
        if (Lower(own) != Lower(typed[i])) return NameMatch::kNone;
    }
    return typed.size() == deviceName.size() ? NameMatch::kWhole : NameMatch::kPrefix;
}

std::size_t NameDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t change = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, change});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char x, char y) { return Lower(x) == Lower(y); });
    return found != text.end();
}
