// SPDX-License-Identifier: MIT
#include "bits/NumberFormatting.h"

#include <array>
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

std::string HexDigitsText(std::uint64_t value, HexLetters letters) {
    std::string digits = Digits(value, 16);
    if (letters == HexLetters::kUpper)
        for (char& c : digits) c = c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
    return digits;
}

std::string PaddedHex(std::uint64_t value, std::size_t minDigits, HexLetters letters) {
    std::string digits = HexDigitsText(value, letters);
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    return "0x" + digits;
}

std::string FormatRegisterHex(std::uint64_t value, int registerBits) {
    return PaddedHex(value, MinimumHexDigits(registerBits));
}

std::string FormatRegisterDecimal(std::uint64_t value) { return Digits(value, 10); }

std::string FormatFieldValue(std::uint64_t value, std::string_view currentText, std::uint64_t fieldMask) {
    if (currentText.empty()) return "0x0";
    const bool fitsIn32Bits = fieldMask <= 0xFFFFFFFFu;
    if (HasHexPrefix(currentText)) return "0x" + HexDigitsText(fitsIn32Bits ? value & 0xFFFFFFFFu : value);
    // Conversion to a signed type is modular, so bit 31 (or 63) becomes the sign.
    return fitsIn32Bits ? Digits(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)), 10)
                        : Digits(static_cast<std::int64_t>(value), 10);
}

std::string FormatAddress(std::uint64_t address) { return PaddedHex(address, address > 0xFFFFFFFFu ? 16 : 8); }
