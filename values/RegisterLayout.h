// SPDX-License-Identifier: MIT
#pragma once
// Where a map's registers lie, without knowing the map: each register's
// address, size and the caller's id for it, sorted by address. Answers which
// register starts at an address and how many bytes of a range lie on none.
#include <cstddef>
#include <cstdint>
#include <vector>

struct RegisterSpan {
    std::uint64_t address = 0;
    int bytes = 0;       // 1 to 8; registers of other sizes take no values
    std::size_t id = 0;  // the caller's, handed back with the register's value
};

class RegisterLayout {
public:
    // `registers` in any order (sorted here unless already sorted by
    // address); registers may overlap, as alternate registers do.
    explicit RegisterLayout(std::vector<RegisterSpan> registers);

    const std::vector<RegisterSpan>& Registers() const { return m_registers; }
    // The first register (in the caller's order among equals) starting at `address`, or null.
    const RegisterSpan* StartingAt(std::uint64_t address) const;
    // The bytes of address .. last (inclusive) that lie on no register.
    struct OffRegisters {
        std::uint64_t bytes = 0;
        std::uint64_t first = 0;  // the lowest of them, when bytes > 0
    };
    OffRegisters BytesOnNoRegister(std::uint64_t address, std::uint64_t last) const;

private:
    struct Cover {
        std::uint64_t first = 0;
        std::uint64_t last = 0;
    };

    std::vector<RegisterSpan> m_registers;
    std::vector<Cover> m_covers;  // the bytes registers cover, merged into disjoint ranges, sorted
};
