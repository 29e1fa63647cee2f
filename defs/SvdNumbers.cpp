// SPDX-License-Identifier: MIT
#include "defs/SvdNumbers.h"

#include "bits/TextChars.h"

namespace {

// Digits in `base`; with `dontCare`, "x" and "X" are zero digits.
std::optional<std::uint64_t> ParseDigits(std::string_view digits, unsigned base, bool dontCare) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        int digit = dontCare && (c == 'x' || c == 'X') ? 0 : HexDigitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) return std::nullopt;
        // Overflow found by the arithmetic itself: a division for each digit would cost more than the rest.
        if (__builtin_mul_overflow(value, std::uint64_t{base}, &value) ||
            __builtin_add_overflow(value, static_cast<std::uint64_t>(digit), &value))
            return std::nullopt;
    }
    return value;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::optional<std::uint64_t> ParseNumber(std::string_view text, bool enumValue) {
    text = TrimSvdText(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (HasHexPrefix(text, HexPrefixCase::kEither)) return ParseDigits(text.substr(2), 16, false);
    if (StartsWith(text, "#")) return ParseDigits(text.substr(1), 2, enumValue);
    if (StartsWith(text, "0b") || StartsWith(text, "0B")) return ParseDigits(text.substr(2), 2, enumValue);
    if (enumValue) return ParseDigits(text, 10, false);
    unsigned shift = 0;
    if (!text.empty()) {
        switch (text.back()) {
        case 'k': case 'K': shift = 10; break;
        case 'm': case 'M': shift = 20; break;
        case 'g': case 'G': shift = 30; break;
        case 't': case 'T': shift = 40; break;
        default: break;
        }
        if (shift) text.remove_suffix(1);
    }
    const auto value = ParseDigits(text, 10, false);
    if (!value || (shift && *value > (UINT64_MAX >> shift))) return std::nullopt;
    return *value << shift;
}

}  // namespace

std::string_view TrimSvdText(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<std::uint64_t> ParseSvdNumber(std::string_view text) { return ParseNumber(text, false); }

std::optional<std::uint64_t> ParseSvdEnumValue(std::string_view text) { return ParseNumber(text, true); }

std::optional<SvdBitRange> ParseSvdBitRange(std::string_view text) {
    text = TrimSvdText(text);
    if (text.size() < 5 || text.front() != '[' || text.back() != ']') return std::nullopt;
    text = text.substr(1, text.size() - 2);
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto msb = ParseDigits(TrimSvdText(text.substr(0, colon)), 10, false);
    const auto lsb = ParseDigits(TrimSvdText(text.substr(colon + 1)), 10, false);
    if (!msb || !lsb || *msb > 1'000'000 || *lsb > 1'000'000) return std::nullopt;
    return SvdBitRange{static_cast<int>(*msb), static_cast<int>(*lsb)};
}
