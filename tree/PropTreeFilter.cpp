// SPDX-License-Identifier: MIT
#include "tree/PropTreeFilter.h"

#include "bits/TextChars.h"

#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeItem.h"
#include "tree/PropTreeItemCombo.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text` contains `needle` (already lower case), ASCII case ignored.
bool Contains(const char* text, const std::string& needle) {
    if (needle.empty()) return true;
    const char first = needle[0];
    for (; *text; ++text) {
        if (Lower(*text) != first) continue;
        size_t i = 1;
        while (i < needle.size() && text[i] && Lower(text[i]) == needle[i]) ++i;
        if (i == needle.size()) return true;
    }
    return false;
}

}  // namespace

std::optional<std::uint64_t> FindTextAddress(std::string_view text) {
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (prefixed) text.remove_prefix(2);
    if (prefixed ? text.size() > 16 : text.size() != 8) return std::nullopt;
    std::uint64_t address = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        address = address << 4 | static_cast<std::uint64_t>(digit);
    }
    return address;
}

CPropTreeFilter::CPropTreeFilter(CPropTreeItem& root, std::string_view text, const CPropTreeDescriber* describer,
                                 bool changedOnly)
    : m_root(&root), m_describer(describer), m_bChangedOnly(changedOnly && describer) {
    if (m_describer) m_address = FindTextAddress(text);
    m_needle.reserve(text.size());
    for (const char c : text) m_needle += Lower(c);
    const int sets = root.GetChildCount();
    std::vector<CPropTreeItem*> shown;
    for (int i = 0; i < sets; ++i)
        if (Visit(*root.GetChildAt(i), false)) shown.push_back(root.GetChildAt(i));
    if (static_cast<int>(shown.size()) != sets) {
        for (int i = 0; i < static_cast<int>(shown.size()); ++i) m_rowAmongSome.emplace(shown[i], i);
        m_someChildren.emplace(&root, std::move(shown));
    }
}

bool CPropTreeFilter::Matches(const CPropTreeItem& row) const {
    if (Contains(row.GetLabelText(), m_needle)) return true;
    // Register rows are the static rows.
    if (m_address && row.GetKind() == PropRowKind::Static && m_describer->HoldsAddress(row, *m_address)) return true;
    if (row.GetKind() != PropRowKind::Combo) return false;
    for (const auto& entry : static_cast<const CPropTreeItemCombo&>(row).GetEntries())
        if (Contains(entry.label.c_str(), m_needle)) return true;
    return false;
}

bool CPropTreeFilter::IsChanged(const CPropTreeItem& row) const {
    // Sets are never changed themselves; registers and fields are static, edit and drop-down rows.
    return row.GetKind() != PropRowKind::Plain && m_describer->IsChanged(row);
}

// Decides which of `row`'s children show; true when `row` itself shows.
// `keepAll`: a row above matched, so every row below shows (only the
// changed ones with changedOnly).
bool CPropTreeFilter::Visit(CPropTreeItem& row, bool keepAll) {
    const bool textMatches = Matches(row);
    const bool matches = m_bChangedOnly ? (keepAll || textMatches) && IsChanged(row) : textMatches;
    if (matches) m_matches.push_back(&row);
    if (m_bChangedOnly) keepAll = keepAll || textMatches;
    const bool keepChildren = !m_bChangedOnly && (keepAll || matches);
    const int count = row.GetChildCount();
    if (keepChildren) {
        // Shown whole; matches further down are still steps of the find.
        for (int i = 0; i < count; ++i) Visit(*row.GetChildAt(i), true);
        return true;
    }
    std::vector<CPropTreeItem*> shown;
    const size_t ancestorPlace = m_ancestors.size();
    for (int i = 0; i < count; ++i)
        if (Visit(*row.GetChildAt(i), keepAll)) shown.push_back(row.GetChildAt(i));
    if (shown.empty()) return matches;
    m_ancestors.insert(m_ancestors.begin() + static_cast<std::ptrdiff_t>(ancestorPlace), &row);
    if (static_cast<int>(shown.size()) != count) {
        for (int i = 0; i < static_cast<int>(shown.size()); ++i) m_rowAmongSome.emplace(shown[i], i);
        m_someChildren.emplace(&row, std::move(shown));
    }
    return true;
}

int CPropTreeFilter::ChildCount(const CPropTreeItem& parent) const {
    const auto some = m_someChildren.find(&parent);
    return some != m_someChildren.end() ? static_cast<int>(some->second.size()) : parent.GetChildCount();
}

CPropTreeItem* CPropTreeFilter::ChildAt(const CPropTreeItem& parent, int row) const {
    if (row < 0 || row >= ChildCount(parent)) return nullptr;
    const auto some = m_someChildren.find(&parent);
    return some != m_someChildren.end() ? some->second[static_cast<size_t>(row)] : parent.GetChildAt(row);
}

int CPropTreeFilter::RowOf(const CPropTreeItem& item) const {
    const CPropTreeItem* parent = item.GetParent();
    if (!parent) return -1;
    if (parent != m_root && RowOf(*parent) < 0) return -1;
    if (m_someChildren.count(parent)) {
        const auto row = m_rowAmongSome.find(&item);
        return row == m_rowAmongSome.end() ? -1 : row->second;
    }
    return item.GetIndexInParent();
}
