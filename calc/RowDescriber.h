// SPDX-License-Identifier: MIT
#pragma once
// Tells the tree's view the bits of register and field rows: "32 bits" for a
// register, "7:4" (or "3" for one bit) and the access for a field, from the
// register's width and the field table; and the addresses of registers and
// sets the map knows.
#include "tree/PropTreeDescriber.h"

class CRegisterMap;

class CRegisterRowDescriber : public CPropTreeDescriber {
public:
    explicit CRegisterRowDescriber(const CRegisterMap& map) : m_map(map) {}
    RowDetails Describe(const CPropTreeItem& row) const override;
    bool HasAddresses() const override;
    bool IsChanged(const CPropTreeItem& row) const override;
    bool HoldsAddress(const CPropTreeItem& row, std::uint64_t address) const override;

private:
    const CRegisterMap& m_map;
};
