// SPDX-License-Identifier: MIT
#pragma once
// Numbers as CMSIS-SVD files write them, and as vendor files bend them:
// decimal, "0x"/"0X" hex, "#" or "0b"/"0B" binary, an optional "+", white
// space around, and a k/K, m/M, g/G or t/T suffix scaling by powers of 1024.
#include <cstdint>
#include <optional>
#include <string_view>

#include "bits/TextChars.h"

// The value of `text`, or nothing when it is not such a number or does not
// fit in 64 bits.
std::optional<std::uint64_t> ParseSvdNumber(std::string_view text);

// An enumeratedValue's value: as ParseSvdNumber, except that binary digits
// may be "x" or "X" (bits that do not matter), which read as 0; no suffix.
std::optional<std::uint64_t> ParseSvdEnumValue(std::string_view text);

// A bitRange "[msb:lsb]".
struct SvdBitRange {
    int msb = 0;
    int lsb = 0;
};
std::optional<SvdBitRange> ParseSvdBitRange(std::string_view text);

// The white space of SVD texts: XML's, and the form feed and vertical tab
// some vendor tools leave in.

// `text` without white space at either end.
std::string_view TrimSvdText(std::string_view text);
