// SPDX-License-Identifier: MIT
#include "bits/BitArithmetic.h"

namespace {
constexpr std::uint64_t kAllBits = ~std::uint64_t{0};

bool ShiftsEveryBitOut(int count) { return count < 0 || count > 63; }
}  // namespace

std::uint64_t ShiftLeft64(std::uint64_t value, int count) {
    return ShiftsEveryBitOut(count) ? 0 : value << count;
}

std::uint64_t ShiftRight64(std::uint64_t value, int count) {
    return ShiftsEveryBitOut(count) ? 0 : value >> count;
}

std::int64_t FieldWidth(int lowBit, int highBit) {
    return std::int64_t{highBit} - std::int64_t{lowBit} + 1;
}

std::uint64_t FieldMask(std::int64_t width) {
    if (width < 0 || width >= 64) return kAllBits;
    return (std::uint64_t{1} << width) - 1;
}

std::uint64_t FieldMask(int lowBit, int highBit) { return FieldMask(FieldWidth(lowBit, highBit)); }

std::uint64_t FieldPlacement(int lowBit, int highBit) {
    return ShiftLeft64(FieldMask(lowBit, highBit), lowBit);
}
