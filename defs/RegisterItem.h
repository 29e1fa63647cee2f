// SPDX-License-Identifier: MIT
#pragma once
// The register row: shows the register's value text from the file and knows
// the register's width, which decides how many hex digits its value takes.
// It also carries what the register map knows of the register (its address,
// reset value and current value), read and written through CRegisterMap.
#include <cstdint>

#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeItemStatic.h"

// Where a register's current value came from.
enum class ValueSource : std::uint8_t { File, Typed, ValuesFile, Target };

class CRegisterItem : public CPropTreeItemStatic {
public:
    int m_nBits = 64;

private:
    friend class CRegisterMap;
    enum Fact : std::uint8_t { kAddress = 1, kResetValue = 2, kValue = 4, kBaseline = 8, kReadChangesIt = 16 };

    std::uint8_t m_nFacts = 0;  // which of the values below are known
    ValueSource m_source = ValueSource::File;
    RowAccess m_access = RowAccess::ReadWrite;  // what the file says the chip allows
    std::uint64_t m_nAddress = 0;
    std::uint64_t m_nResetValue = 0;
    std::uint64_t m_nValue = 0;
    std::uint64_t m_nBaseline = 0;  // what a compared values file gave it
};
