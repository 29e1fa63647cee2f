// SPDX-License-Identifier: MIT
#pragma once
// What the view shows of a row beyond its label and value: the bits it
// spans and what a file says they allow. Rows do not know their bits (the
// application keeps them in its field table), so the view asks a describer
// the application gives the tree.
#include <cstdint>
#include <string>

class CPropTreeItem;

// What a file says a field's bits allow. Fields stay settable either way,
// since decoding a value read from the hardware needs read-only fields too.
enum class RowAccess : std::uint8_t { ReadWrite, ReadOnly, WriteOnly };

struct RowDetails {
    std::string bits;  // "7:4", "3" for one bit, "32 bits" for a register; "" for other rows
    RowAccess access = RowAccess::ReadWrite;
};

class CPropTreeDescriber {
public:
    virtual ~CPropTreeDescriber() = default;
    virtual RowDetails Describe(const CPropTreeItem& row) const = 0;
};
