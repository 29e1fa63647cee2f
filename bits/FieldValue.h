// SPDX-License-Identifier: MIT
#pragma once
// How a drop-down row holds a field value: a field of up to 32 bits as a
// signed 32-bit number (so an entry carrying -1 in a 32-bit field is chosen
// again), a wider field whole. Loaders and the calculator both write drop-down
// values through this one rule.
#include <cstdint>

inline std::int64_t DropDownItemValue(std::uint64_t fieldValue, std::uint64_t fieldMask) {
    fieldValue &= fieldMask;
    if (fieldMask <= 0xFFFFFFFFu) return std::int32_t{static_cast<std::int32_t>(static_cast<std::uint32_t>(fieldValue))};
    return static_cast<std::int64_t>(fieldValue);
}
