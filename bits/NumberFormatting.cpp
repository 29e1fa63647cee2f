// SPDX-License-Identifier: MIT
#include "bits/NumberFormatting.h"

#include <array>
#include <cstdio>
#include <charconv>

#include "bits/TextChars.h"

namespace {

// Digits of `value` in `base`, lower case, without prefix or padding.
template <typename Integer>
std::string Digits(Integer value, int base) {
    std::array<char, 66> buffer{};  // 64 binary digits and a sign are the most any integer needs
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base);
    return std::string(buffer.data(), result.ptr);
}

std::size_t MinimumHexDigits(int registerBits) {
    switch (registerBits) {
    case 64: return 16;
    case 32: return 8;
    case 16: return 4;
    case 8: return 2;
    default: return 1;
    }
}

}  // namespace

std::string FormatRegisterHex(std::uint64_t value, int registerBits) {
    std::string digits = Digits(value, 16);
    const std::size_t minimum = MinimumHexDigits(registerBits);
    if (digits.size() < minimum) digits.insert(0, minimum - digits.size(), '0');
    return "0x" + digits;
}

std::string FormatRegisterDecimal(std::uint64_t value) { return Digits(value, 10); }

std::string FormatFieldValue(std::uint64_t value, std::string_view currentText, std::uint64_t fieldMask) {
    if (currentText.empty()) return "0x0";
    const bool fitsIn32Bits = fieldMask <= 0xFFFFFFFFu;
    if (HasHexPrefix(currentText)) {
        return "0x" + (fitsIn32Bits ? Digits(static_cast<std::uint32_t>(value), 16) : Digits(value, 16));
    }
    // Conversion to a signed type is modular, so bit 31 (or 63) becomes the sign.
    return fitsIn32Bits ? Digits(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)), 10)
                        : Digits(static_cast<std::int64_t>(value), 10);
}

std::string FormatAddress(std::uint64_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llx", address > 0xFFFFFFFFu ? 16 : 8, static_cast<unsigned long long>(address));
    return text;
}
