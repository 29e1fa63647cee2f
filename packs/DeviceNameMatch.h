// SPDX-License-Identifier: MIT
#pragma once
// How a typed name meets a pack's device name: ignoring case, a lowercase 'x'
// in the pack's name standing for any one character.
#include <cstddef>
#include <string_view>

enum class NameMatch { kNone, kPrefix, kWhole };

// Whether `typed` is the whole of `deviceName` or a prefix of it.
NameMatch MatchDeviceName(std::string_view deviceName, std::string_view typed);

// The edit distance of two names, ignoring case (for "did you mean").
std::size_t NameDistance(std::string_view a, std::string_view b);

// Whether `text` holds `part`, ignoring case (an empty part is in every text).
bool ContainsIgnoringCase(std::string_view text, std::string_view part);
