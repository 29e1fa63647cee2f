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
    std::string address;  // "0x40021000" for a register or a set whose file gives one; "" otherwise
    // A register whose value differs from its baseline (its reset value, or
    // a compared values file), or a field whose share of it does.
    bool changed = false;
    // Where a register's value came from when that is worth telling ("read from the chip"); "" otherwise.
    std::string origin;
};

class CPropTreeDescriber {
public:
    virtual ~CPropTreeDescriber() = default;
    virtual RowDetails Describe(const CPropTreeItem& row) const = 0;
    // Whether any row has an address, so that the view shows the column.
    virtual bool HasAddresses() const { return false; }
    // Whether the row's value differs from its baseline, as Describe tells,
    // without making the texts.
    virtual bool IsChanged(const CPropTreeItem& row) const { return Describe(row).changed; }
    // Whether `address` is one of the bytes `row` (a register row) stands for.
    virtual bool HoldsAddress(const CPropTreeItem& row, std::uint64_t address) const {
        (void)row;
        (void)address;
        return false;
    }
};
