// SPDX-License-Identifier: MIT
#include "packs/PackVersion.h"

#include <algorithm>

namespace {

std::vector<std::string> SplitDots(std::string_view text) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = text.find('.', start);
        parts.emplace_back(text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}

bool AllDigits(const std::string& part) {
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Numbers by their value, however long ("010" is 10); a number below a word;
// words as text.
std::strong_ordering CompareParts(const std::string& a, const std::string& b) {
    const bool aNumber = AllDigits(a), bNumber = AllDigits(b);
    if (aNumber && bNumber) {
        const std::string_view aDigits = std::string_view(a).substr(std::min(a.find_first_not_of('0'), a.size()));
        const std::string_view bDigits = std::string_view(b).substr(std::min(b.find_first_not_of('0'), b.size()));
        if (aDigits.size() != bDigits.size()) return aDigits.size() <=> bDigits.size();
        return aDigits.compare(bDigits) <=> 0;
    }
    if (aNumber != bNumber) return aNumber ? std::strong_ordering::less : std::strong_ordering::greater;
    return a.compare(b) <=> 0;
}

bool IsZero(const std::string& part) { return AllDigits(part) && part.find_first_not_of('0') == std::string::npos; }

}  // namespace

PackVersion::PackVersion(std::string_view text) : m_text(text) {
    const std::size_t plus = text.find('+');
    if (plus != std::string_view::npos) text = text.substr(0, plus);
    const std::size_t dash = text.find('-');
    if (dash != std::string_view::npos) {
        m_preRelease = SplitDots(text.substr(dash + 1));
        if (m_preRelease.empty()) m_preRelease.emplace_back();  // "1.0-" is still below "1.0"
        text = text.substr(0, dash);
    }
    m_release = SplitDots(text);
}

std::strong_ordering PackVersion::operator<=>(const PackVersion& other) const {
    // The release parts, a missing one counting as 0 ("3.9" is "3.9.0").
    const std::size_t parts = std::max(m_release.size(), other.m_release.size());
    for (std::size_t i = 0; i < parts; ++i) {
        const bool mine = i < m_release.size(), theirs = i < other.m_release.size();
        if (mine && theirs) {
            const auto order = CompareParts(m_release[i], other.m_release[i]);
            if (order != 0) return order;
        } else if (mine) {
            if (!IsZero(m_release[i])) return std::strong_ordering::greater;
        } else if (!IsZero(other.m_release[i])) {
            return std::strong_ordering::less;
        }
    }
    // A pre-release below its release; between pre-releases part by part, fewer parts first.
    if (m_preRelease.empty() != other.m_preRelease.empty())
        return m_preRelease.empty() ? std::strong_ordering::greater : std::strong_ordering::less;
    const std::size_t common = std::min(m_preRelease.size(), other.m_preRelease.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto order = CompareParts(m_preRelease[i], other.m_preRelease[i]);
        if (order != 0) return order;
    }
    return m_preRelease.size() <=> other.m_preRelease.size();
}

PackVersion NewestVersion(const std::vector<std::string>& versions) {
    PackVersion newest;
    for (const std::string& text : versions) {
        PackVersion version(text);
        if (newest.Empty() || version > newest) newest = std::move(version);
    }
    return newest;
}
