// SPDX-License-Identifier: MIT
#pragma once
// Tells the tree's view the bits of register and field rows: "32 bits" for a
// register, "7:4" (or "3" for one bit) and the access for a field, from the
// register's width and the field table.
#include "tree/PropTreeDescriber.h"

class CFieldTable;

class CRegisterRowDescriber : public CPropTreeDescriber {
public:
    explicit CRegisterRowDescriber(const CFieldTable& table) : m_table(table) {}
    RowDetails Describe(const CPropTreeItem& row) const override;

private:
    const CFieldTable& m_table;
};
