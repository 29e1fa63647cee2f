// SPDX-License-Identifier: MIT
#pragma once
// The bit span of every field row. Each field row has its own entry, so
// fields that share a label (EN, MODE, ...) in different registers, or even
// in one register, each keep the span of their own definition.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tree/PropTreeDescriber.h"

class CPropTreeItem;

struct FieldSpan {
    int nLowBit = 0;
    int nHighBit = 0;
    bool bCombo = false;
    RowAccess access = RowAccess::ReadWrite;
};

class CFieldTable {
public:
    // Enters or overwrites the span of `row`.
    void Set(const CPropTreeItem* row, const FieldSpan& span);
    // The span of `row`, or null for a row that is not a field row. The
    // pointer stays valid until the next Set or Clear.
    const FieldSpan* Find(const CPropTreeItem* row) const;
    size_t Size() const;
    void Clear();
    // Gives back the room held for entries to come when it is more than an
    // eighth of the table: loaders call it once they are done, since a table
    // grows by doubling and is then only read.
    void ShrinkToFit();
    // Entries the table has room for, for figures.
    size_t Capacity() const { return m_entries.capacity(); }
    void Swap(CFieldTable& other) noexcept;

private:
    // A table holds a span for every field of a definitions file, millions
    // of them, so entries are kept in one array sorted by row address rather
    // than as hash nodes. Set appends; the array is put in order (the later
    // of two entries for one row wins) when it is next read. A load creates
    // rows at rising addresses, so that is mostly a check that it is sorted.
    // The row address is kept as two halves so an entry takes 20 bytes.
    struct Entry {
        std::uint32_t rowLow;
        std::uint32_t rowHigh;
        FieldSpan span;
    };
    static std::uint64_t Key(const Entry& entry) { return (std::uint64_t{entry.rowHigh} << 32) | entry.rowLow; }
    static Entry MakeEntry(const CPropTreeItem* row, const FieldSpan& span);
    void Normalize() const;

    mutable std::vector<Entry> m_entries;
    mutable size_t m_nSorted = 0;  // entries [0, m_nSorted) are sorted and unique
};
