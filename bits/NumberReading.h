// SPDX-License-Identifier: MIT
#pragma once
// Reading number text typed into field edit rows and into the hex box. Bad
// text is never an error: reading stops at the first character that does not
// belong, and text without digits reads as 0.
#include <cstddef>
#include <cstdint>
#include <string_view>

// The hex digits at the start of a text: how many there are, and the value
// of the last 16 of them (earlier ones are shifted out).
struct HexDigits {
    std::uint64_t value = 0;
    std::size_t count = 0;
};
// The one reader of hex digits: those of either case at the start of `text`,
// up to the first other character. No prefix is taken; the caller decides
// with HasHexPrefix (bits/TextChars.h) which prefix its text may have.
HexDigits ReadHexDigits(std::string_view text);

// Hexadecimal: an optional "0x" or "0X" prefix, then digits of either case up
// to the first other character. Nothing else (sign, white space) is skipped.
// With more than 16 digits only the last 16 count.
std::uint64_t ParseHex(std::string_view text);

// Decimal: optional leading white space, an optional '+' or '-', then digits
// up to the first other character. A negative number gives its two's-complement
// pattern. Beyond the range -2^63 .. 2^64-1 the reading saturates at the
// nearest end, so every signed and every unsigned 64-bit decimal reads back
// exactly.
std::uint64_t ParseDecimal64(std::string_view text);

// The one rule for number text: "0" followed by a lower-case "x" is hex,
// anything else decimal (so "0X1F" reads as decimal 0).
std::uint64_t ParseNumberText(std::string_view text);
