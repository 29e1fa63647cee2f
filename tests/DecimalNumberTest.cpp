// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "defs/DecimalNumber.h"

TEST(ParseDecimalInt32, ReadsLikeTheCLibraryWithinRangeAndSaturatesBeyond) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"32", 32},          {"  \t-7", -7},        {"+5x", 5},           {"0x10", 0},
        {"", 0},             {"abc", 0},            {"- 3", 0},           {"2147483647", 2147483647},
        {"2147483648", 2147483647},                 {"-2147483648", -2147483647 - 1},
        {"-99999999999999999999999", -2147483647 - 1}, {"99999999999999999999999", 2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDecimalInt32(c.text), c.expected) << c.text;
    EXPECT_EQ(ParseDecimalInt32(nullptr), 0);
}
