// SPDX-License-Identifier: MIT
#pragma once
// The values a values text gives, as the reader keeps them: by address (dumps
// and address lists) or by a register's label path (values files).
#include <cstddef>
#include <cstdint>
#include <string>

// One value at an address. Several values after one address on a line give
// one record each, at consecutive addresses.
struct AddressedValue {
    std::uint64_t address = 0;
    std::uint64_t value = 0;
    // Bytes the value takes, from its digit count: 2, 4, 8 or 16 hex digits
    // give 1, 2, 4 or 8. 0 for a lone value written with another digit count:
    // it stands for the whole register at `address`, whatever its size.
    int unit = 0;
    int digits = 0;        // hex digits as written, leading zeros counted
    std::size_t line = 0;  // 1-based line of the text
};

// One value for the register whose label path is `name` ("UART1.CR1",
// "DMA.CH[0].CTRL"); the caller resolves the name against its map.
struct NamedValue {
    std::string name;
    std::uint64_t value = 0;
    int unit = 0;    // as for AddressedValue; the register's own size decides
    int digits = 0;
    std::size_t line = 0;
};
