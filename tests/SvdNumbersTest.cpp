// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "defs/SvdNumbers.h"

namespace {

struct NumberCase {
    std::string_view text;
    std::optional<std::uint64_t> number;  // ParseSvdNumber
    std::optional<std::uint64_t> enumValue;  // ParseSvdEnumValue
};

constexpr std::optional<std::uint64_t> kNone;

const NumberCase kNumberCases[] = {
    {"0", 0, 0},
    {"42", 42, 42},
    {" 42\n", 42, 42},
    {"+7", 7, 7},
    {"0x1F", 31, 31},
    {"0XabC", 0xABC, 0xABC},
    {"0xFFFFFFFFFFFFFFFF", UINT64_MAX, UINT64_MAX},
    {"0x10000000000000000", kNone, kNone},
    {"18446744073709551616", kNone, kNone},
    // The largest numbers of each base, and one more digit: overflow in the
    // multiplication by the base or in adding the last digit.
    {"18446744073709551615", UINT64_MAX, UINT64_MAX},
    {"18446744073709551620", kNone, kNone},
    {"184467440737095516150", kNone, kNone},
    {"0x0000FFFFFFFFFFFFFFFF", UINT64_MAX, UINT64_MAX},
    {"0xFFFFFFFFFFFFFFFF0", kNone, kNone},
    {"0b1111111111111111111111111111111111111111111111111111111111111111", UINT64_MAX, UINT64_MAX},
    {"0b11111111111111111111111111111111111111111111111111111111111111111", kNone, kNone},
    {"#1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", kNone, std::uint64_t{1} << 63},
    {"#1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", kNone, kNone},
    {"17179869183G", std::uint64_t{17179869183} << 30, kNone},
    {"17179869184G", kNone, kNone},
    {"#101", 5, 5},
    {"0b101", 5, 5},
    {"0B11", 3, 3},
    {"#1x0X", kNone, 8},
    {"0b1xx1", kNone, 9},
    {"#102", kNone, kNone},
    {"4k", 4096, kNone},
    {"2M", 2u << 20, kNone},
    {"1G", 1u << 30, kNone},
    {"1t", std::uint64_t{1} << 40, kNone},
    {"", kNone, kNone},
    {"0x", kNone, kNone},
    {"#", kNone, kNone},
    {"12a", kNone, kNone},
    {"-1", kNone, kNone},
    {"1 2", kNone, kNone},
};

TEST(SvdNumbers, ReadTheNotationsOfTheFormatAndOfVendorFiles) {
    for (const NumberCase& c : kNumberCases) {
        EXPECT_EQ(ParseSvdNumber(c.text), c.number) << '"' << c.text << '"';
        EXPECT_EQ(ParseSvdEnumValue(c.text), c.enumValue) << '"' << c.text << '"';
    }
}

TEST(SvdNumbers, BitRangesAreMsbColonLsbInBrackets) {
    const auto range = ParseSvdBitRange(" [7:4] ");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->msb, 7);
    EXPECT_EQ(range->lsb, 4);
    const auto spaced = ParseSvdBitRange("[ 31 : 0 ]");
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->msb, 31);
    for (std::string_view bad : {"7:4", "[7]", "[a:b]", "[7:]", "[:4]", "", "[99999999999:0]"})
        EXPECT_FALSE(ParseSvdBitRange(bad)) << bad;
}

}  // namespace
