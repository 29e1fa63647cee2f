// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bits/BitArithmetic.h"
#include "bits/ByteOrder.h"
#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "bits/TextChars.h"

namespace {

constexpr std::uint64_t kAll = ~std::uint64_t{0};
const std::uint64_t kMask32 = FieldMask(0, 31);
const std::uint64_t kMask64 = FieldMask(0, 63);

struct ReadCase {
    std::string text;
    std::uint64_t value;
};

TEST(NumberReading, ParseHex) {
    const ReadCase cases[] = {
        {"", 0},
        {"0x", 0},
        {"0X", 0},
        {"0xFF", 255},
        {"0xff", 255},
        {"ff", 255},
        {"FF", 255},
        {"0x1fz3", 0x1F},
        {" 0x10", 0},
        {"0x-1", 0},
        {"0x0x5", 0},
        {"0x1ffffffffffffffff", kAll},   // only the last 16 digits count
        {"0x10000000000000000", 0},
        {"0xDeadBeef", 0xDEADBEEF},
        {"g", 0},
        {std::string("1\0" "2", 3), 1},  // stops at a terminator inside the text
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHex(c.text), c.value) << '"' << c.text << '"';
}

// The one reader of hex digits, which every reader of hex text goes through:
// where the digits stop, how many there are, and the last 16 of them.
TEST(NumberReading, HexDigitsStopAtTheFirstOtherCharacter) {
    const struct {
        std::string text;
        std::uint64_t value;
        std::size_t count;
    } cases[] = {
        {"", 0, 0},
        {"0", 0, 1},
        {"1f", 0x1F, 2},
        {"DeadBeef", 0xDEADBEEF, 8},
        {"0x1f", 0, 1},  // no prefix is taken: the 'x' ends the digits
        {"12 34", 0x12, 2},
        {"ag", 0xA, 1},
        {"0000000000000000001", 1, 19},  // leading zeros are counted
        {"123456789abcdef01", 0x23456789ABCDEF01, 17},  // the first digit shifted out
        {std::string("f\0" "f", 3), 0xF, 1},
    };
    for (const auto& c : cases) {
        const HexDigits digits = ReadHexDigits(c.text);
        EXPECT_EQ(digits.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(digits.count, c.count) << '"' << c.text << '"';
    }
}

// The two hex writers: unpadded digits in either letter case, and "0x" with
// zeros up to a width that never cuts a digit.
TEST(NumberFormatting, HexWritersPadOnlyWhenAskedAndKeepTheLetterCase) {
    const struct {
        std::uint64_t value;
        const char* lower;
        const char* upper;
    } unpadded[] = {
        {0, "0", "0"}, {0xA, "a", "A"}, {0x1F, "1f", "1F"}, {0xDEADBEEF, "deadbeef", "DEADBEEF"},
        {kAll, "ffffffffffffffff", "FFFFFFFFFFFFFFFF"},
    };
    for (const auto& c : unpadded) {
        EXPECT_EQ(HexDigitsText(c.value), c.lower) << c.lower;
        EXPECT_EQ(HexDigitsText(c.value, HexLetters::kUpper), c.upper) << c.upper;
    }
    const struct {
        std::uint64_t value;
        std::size_t minDigits;
        const char* text;
    } padded[] = {
        {0, 0, "0x0"},       {0, 1, "0x0"},          {0x1F, 4, "0x001f"},
        {0x12345, 4, "0x12345"},  // never cut
        {0xAB, 2, "0xab"},   {1, 16, "0x0000000000000001"},
    };
    for (const auto& c : padded) EXPECT_EQ(PaddedHex(c.value, c.minDigits), c.text) << c.text;
    EXPECT_EQ(PaddedHex(0xAB, 4, HexLetters::kUpper), "0x00AB");
}

// The one "0x" rule: number text takes a lower-case x only, the readers of
// dumps, names and SVD numbers either case; "0" alone or "x1" never.
TEST(NumberReading, HexPrefixRule) {
    const struct {
        const char* text;
        bool lowerOnly, either;
        const char* stripped;
    } cases[] = {{"0x1f", true, true, "1f"}, {"0X1F", false, true, "1F"}, {"0x", true, true, ""},
                 {"0", false, false, "0"},   {"x1", false, false, "x1"}, {"10x", false, false, "10x"},
                 {"", false, false, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(HasHexPrefix(c.text), c.lowerOnly) << c.text;
        EXPECT_EQ(HasHexPrefix(c.text, HexPrefixCase::kEither), c.either) << c.text;
        EXPECT_EQ(WithoutHexPrefix(c.text), c.stripped) << c.text;
    }
    // Number text keeps its rule: "0X10" is not hexadecimal there.
    EXPECT_EQ(ParseNumberText("0x10"), 16u);
    EXPECT_NE(ParseNumberText("0X10"), 16u);
}

TEST(NumberReading, ParseNumberText) {
    const ReadCase cases[] = {
        {"0X10", 0},  // only the lower-case prefix means hex
        {"0x10", 16},
        {"0xFFFFFFFFFFFFFFFF", kAll},
        {"-1", kAll},
        {"12abc", 12},
        {"", 0},
        {" 0x10", 0},
        {"abc", 0},
        {"\t\n\v\f\r 42", 42},
        {"+7", 7},
        {"-", 0},
        {"- 5", 0},
        {"--5", 0},
        {"-2147483648", 0xFFFFFFFF80000000u},
        {"4294967295", 0xFFFFFFFFu},
        {"9223372036854775807", 0x7FFFFFFFFFFFFFFFu},
        {"-9223372036854775808", 0x8000000000000000u},
        {"18446744073709551615", kAll},
        // Beyond the 64-bit range the reading saturates at the nearest end.
        {"18446744073709551616", kAll},
        {"99999999999999999999999999", kAll},
        {"-9223372036854775809", 0x8000000000000000u},
        {"-99999999999999999999999999", 0x8000000000000000u},
        {"00000000000000000000000012", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseNumberText(c.text), c.value) << '"' << c.text << '"';
}

struct RegisterHexCase {
    std::uint64_t value;
    int bits;
    std::string text;
};

TEST(NumberFormatting, RegisterHexPadsByWidthAndNeverCuts) {
    const RegisterHexCase cases[] = {
        {0, 64, "0x0000000000000000"},
        {kAll, 64, "0xffffffffffffffff"},
        {0xABC, 32, "0x00000abc"},
        {0x123456789, 32, "0x123456789"},
        {0xC0, 16, "0x00c0"},
        {0x2C, 8, "0x2c"},
        {0x1FF, 8, "0x1ff"},
        {0, 8, "0x00"},
        {5, 12, "0x5"},
        {5, 0, "0x5"},
        {0, 0, "0x0"},
        {0xFFF, -1, "0xfff"},
        {kAll, 7, "0xffffffffffffffff"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatRegisterHex(c.value, c.bits), c.text);
}

// Every message writes an address one way: 8 digits, 16 above 4 GiB.
TEST(NumberFormatting, AddressIsEightDigitsOrSixteen) {
    const struct {
        std::uint64_t address;
        const char* text;
    } cases[] = {{0, "0x00000000"},
                 {0x40021000, "0x40021000"},
                 {0xFFFFFFFF, "0xffffffff"},
                 {0x100000000, "0x0000000100000000"},
                 {~0ull, "0xffffffffffffffff"}};
    for (const auto& c : cases) EXPECT_EQ(FormatAddress(c.address), c.text);
}

// The one packer, for dumps and the chip: a value into bytes in either order and back.
TEST(ByteOrder, BytesOfAValueInEitherOrderAndBack) {
    const struct {
        std::uint64_t value;
        std::uint32_t bytes;
        bool big;
        std::vector<std::uint8_t> expected;
    } cases[] = {
        {0x12345678, 4, false, {0x78, 0x56, 0x34, 0x12}},
        {0x12345678, 4, true, {0x12, 0x34, 0x56, 0x78}},
        {0xBEEF, 2, false, {0xEF, 0xBE}},
        {0xBEEF, 2, true, {0xBE, 0xEF}},
        {0xA5, 1, true, {0xA5}},
        {0x0102030405060708, 8, true, {1, 2, 3, 4, 5, 6, 7, 8}},
        {0x0102030405060708, 8, false, {8, 7, 6, 5, 4, 3, 2, 1}},
        // Wider than a value: zeros above its eight bytes.
        {0x0102030405060708, 10, true, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {0x0102030405060708, 10, false, {8, 7, 6, 5, 4, 3, 2, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> packed(c.bytes);
        PackValue(c.value, packed, ByteOrderOf(c.big));
        EXPECT_EQ(packed, c.expected) << std::hex << c.value << (c.big ? " big" : " little");
        EXPECT_EQ(UnpackValue(c.expected, ByteOrderOf(c.big)), c.value) << std::hex << c.value;
    }
}

TEST(NumberFormatting, RegisterDecimalIsUnsigned) {
    EXPECT_EQ(FormatRegisterDecimal(kAll), "18446744073709551615");
    EXPECT_EQ(FormatRegisterDecimal(0), "0");
    EXPECT_EQ(FormatRegisterDecimal(0x8000000000000000u), "9223372036854775808");
}

struct FieldTextCase {
    std::uint64_t value;
    std::string current;
    std::uint64_t mask;
    std::string text;
};

TEST(NumberFormatting, FieldValueKeepsTheRowsNotation) {
    const FieldTextCase cases[] = {
        {255, "0x0", kMask32, "0xff"},
        {255, "7", kMask32, "255"},
        {255, "", kMask32, "0x0"},
        {10, "0X3", kMask32, "10"},  // upper-case prefix is decimal notation
        {0xFFFFFFFF, "1", kMask32, "-1"},
        {0x80000000, "1", kMask32, "-2147483648"},
        {0xFFFFFFFF, "0x1", kMask32, "0xffffffff"},
        {12, "300", FieldMask(4, 7), "12"},
        {0, "abc", FieldMask(4, 7), "0"},
        {0, "0x", FieldMask(4, 7), "0x0"},
        // Fields of up to 32 bits are written from the low 32 bits.
        {0x1FFFFFFFF, "0x0", kMask32, "0xffffffff"},
        // Wider fields are written whole.
        {0xFFFFFFFFFFu, "0x0", FieldMask(0, 39), "0xffffffffff"},
        {0xFFFFFFFFFFu, "0", FieldMask(0, 39), "1099511627775"},
        {0x100000000u, "0", FieldMask(0, 32), "4294967296"},
        {kAll, "0x0", kMask64, "0xffffffffffffffff"},
        {kAll, "0", kMask64, "-1"},
        {0x8000000000000000u, "0", kMask64, "-9223372036854775808"},
        {kAll, "", kMask64, "0x0"},
        {kAll, "0", FieldMask(7, 4), "-1"},  // high below low: a 64-bit field
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFieldValue(c.value, c.current, c.mask), c.text) << c.value << " in \"" << c.current << '"';
    }
}

}  // namespace
