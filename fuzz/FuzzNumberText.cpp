// SPDX-License-Identifier: MIT
// Fuzzes number text: reading any text, and writing every register and field
// value in every form the calculator writes. Whatever is written must read
// back as the value (the field's bits, for field rows), and reading must agree
// with a plain model of the decimal and hexadecimal rules.
//
// Input layout: byte 0 picks the register width, bytes 1-2 the field span,
// bytes 3-10 a value, the rest (up to its first NUL) is the text to read.
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "bits/BitArithmetic.h"
#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr std::uint64_t kAllBits = ~std::uint64_t{0};

int RegisterBitsFrom(std::uint8_t b) {
    static constexpr int kWidths[] = {64, 32, 16, 8, 0, 12, 1, 63, 65, -1, INT_MIN, INT_MAX};
    return b < 2 * std::size(kWidths) ? kWidths[b % std::size(kWidths)] : static_cast<std::int8_t>(b);
}

// Bit positions as a definitions file may hold them: mostly 0..63, also
// beyond and below, and the ends of the int range.
int BitFrom(std::uint8_t b) {
    if (b == 0xFF) return INT_MAX;
    if (b == 0xFE) return INT_MIN;
    return static_cast<int>(b) - 64;  // -64 .. 189
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Hexadecimal: after an optional 0x/0X, the run of hex digits; only its last 16 count.
std::uint64_t ModelHex(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    size_t run = 0;
    while (run < text.size() && IsHexDigit(text[run])) ++run;
    std::string_view digits = text.substr(0, run);
    if (digits.size() > 16) digits.remove_prefix(digits.size() - 16);
    std::uint64_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return value;
}

// Decimal: blanks, a sign, the run of digits; saturating at -2^63 and 2^64-1.
std::uint64_t ModelDecimal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    std::uint64_t magnitude = 0;
    if (end > i && std::from_chars(text.data() + i, text.data() + end, magnitude).ec == std::errc::result_out_of_range) {
        magnitude = kAllBits;
    }
    if (!negative) return magnitude;
    if (magnitude > (std::uint64_t{1} << 63)) return std::uint64_t{1} << 63;
    return 0 - magnitude;  // two's complement
}

void CheckReading(std::string_view text) {
    FUZZ_CHECK(ParseHex(text) == ModelHex(text));
    FUZZ_CHECK(ParseDecimal64(text) == ModelDecimal(text));
    const bool hex = text.size() >= 2 && text[0] == '0' && text[1] == 'x';
    FUZZ_CHECK(ParseNumberText(text) == (hex ? ModelHex(text) : ModelDecimal(text)));
}

void CheckRegisterForms(std::uint64_t value, int bits) {
    const std::string hex = FormatRegisterHex(value, bits);
    FUZZ_CHECK(ParseNumberText(hex) == value);
    const int minimum = bits == 64 ? 16 : bits == 32 ? 8 : bits == 16 ? 4 : bits == 8 ? 2 : 1;
    char expected[32];
    std::snprintf(expected, sizeof expected, "0x%0*llx", minimum, static_cast<unsigned long long>(value));
    FUZZ_CHECK(hex == expected);

    const std::string decimal = FormatRegisterDecimal(value);
    FUZZ_CHECK(ParseNumberText(decimal) == value);
    FUZZ_CHECK(decimal == std::to_string(value));
}

void CheckFieldForms(std::uint64_t value, int lowBit, int highBit, std::string_view typed) {
    const std::uint64_t mask = FieldMask(lowBit, highBit);
    const std::uint64_t field = ShiftRight64(value, lowBit) & mask;
    for (const std::string_view current : {std::string_view("0x0"), std::string_view("7"), std::string_view("-1"),
                                           std::string_view("0X3"), typed}) {
        const std::string text = FormatFieldValue(field, current, mask);
        if (current.empty()) {
            FUZZ_CHECK(text == "0x0");
            continue;
        }
        FUZZ_CHECK((ParseNumberText(text) & mask) == field);
        const bool hexNotation = current.size() >= 2 && current[0] == '0' && current[1] == 'x';
        FUZZ_CHECK((text.rfind("0x", 0) == 0) == hexNotation);
        FUZZ_CHECK(text.size() <= 21);
    }
    // Shifting the field back puts its bits where they came from.
    FUZZ_CHECK(ShiftLeft64(field, lowBit) == (value & FieldPlacement(lowBit, highBit)));
}

void CheckShifts(std::uint64_t value, int count) {
    const bool inRange = count >= 0 && count <= 63;
    FUZZ_CHECK(ShiftLeft64(value, count) == (inRange ? value << count : 0));
    FUZZ_CHECK(ShiftRight64(value, count) == (inRange ? value >> count : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 11) return 0;
    const int bits = RegisterBitsFrom(data[0]);
    const int lowBit = BitFrom(data[1]);
    const int highBit = BitFrom(data[2]);
    std::uint64_t raw = 0;
    std::memcpy(&raw, data + 3, sizeof raw);
    std::string_view text(reinterpret_cast<const char*>(data + 11), size - 11);
    CheckReading(text);  // bytes after a NUL too: the readers take a length
    text = text.substr(0, text.find('\0'));
    CheckReading(text);

    const std::uint64_t parsed = ParseNumberText(text);
    for (const std::uint64_t value : {raw, parsed, ~raw, std::uint64_t{0}, kAllBits}) {
        CheckRegisterForms(value, bits);
        CheckFieldForms(value, lowBit, highBit, text);
        CheckShifts(value, lowBit);
        CheckShifts(value, highBit);
    }
    return 0;
}
