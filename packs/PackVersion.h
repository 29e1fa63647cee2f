// SPDX-License-Identifier: MIT
#pragma once
// A pack's version, compared as a semantic version: "4.0.1" > "3.10.2" > "3.9"
// (numbers, not text; a missing part counts as 0), a pre-release ("-dev",
// "-rc1", anything after '-') below its release, "+build" ignored. Any text
// is taken: parts that are not numbers compare as text after the numbers.
#include <compare>
#include <string>
#include <string_view>
#include <vector>

class PackVersion {
public:
    PackVersion() = default;
    explicit PackVersion(std::string_view text);

    // The version as written ("4.0.1-rc1+b7").
    const std::string& Text() const { return m_text; }
    bool Empty() const { return m_text.empty(); }
    bool IsPreRelease() const { return !m_preRelease.empty(); }

    std::strong_ordering operator<=>(const PackVersion& other) const;
    bool operator==(const PackVersion& other) const { return (*this <=> other) == 0; }

private:
    std::string m_text;
    std::vector<std::string> m_release;     // "4", "0", "1"
    std::vector<std::string> m_preRelease;  // "rc1"
};

// The newest of `versions` (a pdsc's <releases>); an empty version for none.
PackVersion NewestVersion(const std::vector<std::string>& versions);
