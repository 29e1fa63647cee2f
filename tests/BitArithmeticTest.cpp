// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "bits/BitArithmetic.h"

namespace {

constexpr std::uint64_t kAll = ~std::uint64_t{0};

struct ShiftCase {
    std::uint64_t value;
    int count;
    std::uint64_t left;
    std::uint64_t right;
};

TEST(BitArithmetic, ShiftsByAnyCount) {
    const ShiftCase cases[] = {
        {1, 0, 1, 1},
        {1, 63, 0x8000000000000000u, 0},
        {0x8000000000000000u, 63, 0, 1},
        {kAll, 4, 0xFFFFFFFFFFFFFFF0u, 0x0FFFFFFFFFFFFFFFu},  // right shift is logical
        {kAll, 64, 0, 0},
        {kAll, 65, 0, 0},
        {kAll, 255, 0, 0},
        {kAll, 256, 0, 0},
        {kAll, INT_MAX, 0, 0},
        {kAll, -1, 0, 0},
        {kAll, INT_MIN, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftLeft64(c.value, c.count), c.left) << c.count;
        EXPECT_EQ(ShiftRight64(c.value, c.count), c.right) << c.count;
    }
}

struct MaskCase {
    int low;
    int high;
    std::uint64_t mask;
    std::uint64_t placement;
};

TEST(BitArithmetic, MasksAndPlacesSpans) {
    const MaskCase cases[] = {
        {0, 0, 1, 1},
        {4, 7, 0xF, 0xF0},
        {0, 31, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {8, 47, 0xFFFFFFFFFFu, 0xFFFFFFFFFF00u},
        {0, 62, 0x7FFFFFFFFFFFFFFFu, 0x7FFFFFFFFFFFFFFFu},
        {0, 63, kAll, kAll},
        {0, 200, kAll, kAll},
        {60, 67, 0xFF, 0xF000000000000000u},          // bits above 63 fall off
        {5, 4, 0, 0},                                 // width 0
        {7, 4, kAll, 0xFFFFFFFFFFFFFF80u},            // high below low: every bit
        {64, 70, 0x7F, 0},                            // starts above the register
        {255, 255, 1, 0},
        {-1, 3, 0x1F, 0},                             // negative low bit holds nothing
        {INT_MIN, INT_MAX, kAll, 0},                  // width beyond int: no overflow
        {INT_MAX, INT_MIN, kAll, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FieldMask(c.low, c.high), c.mask) << c.low << ".." << c.high;
        EXPECT_EQ(FieldPlacement(c.low, c.high), c.placement) << c.low << ".." << c.high;
    }
}

}  // namespace
