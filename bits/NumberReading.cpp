// SPDX-License-Identifier: MIT
#include "bits/NumberReading.h"

#include <limits>

#include "bits/TextChars.h"


HexDigits ReadHexDigits(std::string_view text) {
    HexDigits digits;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) break;
        digits.value = (digits.value << 4) | static_cast<std::uint64_t>(digit);
        ++digits.count;
    }
    return digits;
}

std::uint64_t ParseHex(std::string_view text) { return ReadHexDigits(WithoutHexPrefix(text)).value; }

std::uint64_t ParseDecimal64(std::string_view text) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    constexpr std::uint64_t kMaxNegativeMagnitude = std::uint64_t{1} << 63;

    std::size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        // Saturate rather than wrap, and keep scanning the remaining digits.
        magnitude = magnitude > (kMax - digit) / 10 ? kMax : magnitude * 10 + digit;
    }
    if (!negative) return magnitude;
    if (magnitude > kMaxNegativeMagnitude) magnitude = kMaxNegativeMagnitude;
    return ~magnitude + 1;  // two's complement, done in unsigned arithmetic
}

std::uint64_t ParseNumberText(std::string_view text) {
    return HasHexPrefix(text) ? ParseHex(text) : ParseDecimal64(text);
}
