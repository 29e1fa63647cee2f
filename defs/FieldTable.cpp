// SPDX-License-Identifier: MIT
#include "defs/FieldTable.h"

#include <algorithm>
#include <utility>

CFieldTable::Entry CFieldTable::MakeEntry(const CPropTreeItem* row, const FieldSpan& span) {
    const auto key = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(row));
    return Entry{static_cast<std::uint32_t>(key), static_cast<std::uint32_t>(key >> 32), span};
}

void CFieldTable::Set(const CPropTreeItem* row, const FieldSpan& span) {
    const Entry entry = MakeEntry(row, span);
    if (m_nSorted == m_entries.size()) {
        // Appending past the largest key keeps the array in order; such a
        // row cannot be in the table yet. This is how a load enters its rows.
        if (m_nSorted == 0 || Key(m_entries.back()) < Key(entry)) {
            m_entries.push_back(entry);
            ++m_nSorted;
            return;
        }
        // Overwriting a row already in order needs no new entry.
        const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), Key(entry),
                                         [](const Entry& e, std::uint64_t key) { return Key(e) < key; });
        if (it != m_entries.end() && Key(*it) == Key(entry)) {
            it->span = span;
            return;
        }
    }
    m_entries.push_back(entry);
}

void CFieldTable::Normalize() const {
    if (m_nSorted == m_entries.size()) return;
    const auto keyLess = [](const Entry& a, const Entry& b) { return Key(a) < Key(b); };
    const auto middle = m_entries.begin() + static_cast<std::ptrdiff_t>(m_nSorted);
    std::stable_sort(middle, m_entries.end(), keyLess);
    std::inplace_merge(m_entries.begin(), middle, m_entries.end(), keyLess);
    // Equal keys now stand in the order they were set: keep the last of each run.
    size_t kept = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (i + 1 < m_entries.size() && Key(m_entries[i + 1]) == Key(m_entries[i])) continue;
        m_entries[kept++] = m_entries[i];
    }
    m_entries.resize(kept);
    m_nSorted = kept;
}

const FieldSpan* CFieldTable::Find(const CPropTreeItem* row) const {
    Normalize();
    const std::uint64_t key = Key(MakeEntry(row, FieldSpan{}));
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                     [](const Entry& e, std::uint64_t k) { return Key(e) < k; });
    return it != m_entries.end() && Key(*it) == key ? &it->span : nullptr;
}

size_t CFieldTable::Size() const {
    Normalize();
    return m_entries.size();
}

void CFieldTable::ShrinkToFit() {
    // Entries not yet in order stay so: they are put in order when first read.
    if (m_entries.capacity() - m_entries.size() > m_entries.size() / 8) m_entries.shrink_to_fit();
}

void CFieldTable::Clear() {
    m_entries.clear();
    m_nSorted = 0;
}

void CFieldTable::Swap(CFieldTable& other) noexcept {
    m_entries.swap(other.m_entries);
    std::swap(m_nSorted, other.m_nSorted);
}
