// SPDX-License-Identifier: MIT
#include "tree/PropTreeFilter.h"

#include <algorithm>

#include "bits/TextChars.h"

#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeItem.h"
#include "tree/PropTreeItemCombo.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `text` contains `needle` (already lower case), ASCII case ignored.
// Most rows fail on the first character, so that is looked for in both cases
// without lowering each character of the text.
bool Contains(const char* text, const std::string& needle) {
    if (needle.empty()) return true;
    const char first = needle[0];
    const char firstUpper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
    for (; *text; ++text) {
        if (*text != first && *text != firstUpper) continue;
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
    for (int i = 0; i < sets; ++i)
        if (Visit(*root.GetChildAt(i), false)) m_visiting.push_back(root.GetChildAt(i));
    KeepShownChildren(root, 0);
    m_visiting = {};
}

void CPropTreeFilter::KeepShownChildren(const CPropTreeItem& row, std::size_t from) {
    const std::size_t count = m_visiting.size() - from;
    if (count != static_cast<std::size_t>(row.GetChildCount())) {
        m_someChildren.emplace(&row, ShownChildren{static_cast<std::uint32_t>(m_someShown.size()),
                                                   static_cast<std::uint32_t>(count)});
        m_someShown.insert(m_someShown.end(), m_visiting.begin() + static_cast<std::ptrdiff_t>(from), m_visiting.end());
    }
    m_visiting.resize(from);
}

const CPropTreeFilter::ShownChildren* CPropTreeFilter::SomeChildrenOf(const CPropTreeItem& parent) const {
    const auto some = m_someChildren.find(&parent);
    return some != m_someChildren.end() ? &some->second : nullptr;
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
    const std::size_t from = m_visiting.size();
    const size_t ancestorPlace = m_ancestors.size();
    for (int i = 0; i < count; ++i)
        if (Visit(*row.GetChildAt(i), keepAll)) m_visiting.push_back(row.GetChildAt(i));
    if (m_visiting.size() == from) return matches;
    m_ancestors.insert(m_ancestors.begin() + static_cast<std::ptrdiff_t>(ancestorPlace), &row);
    KeepShownChildren(row, from);
    return true;
}

int CPropTreeFilter::ChildCount(const CPropTreeItem& parent) const {
    const ShownChildren* some = SomeChildrenOf(parent);
    return some ? static_cast<int>(some->count) : parent.GetChildCount();
}

CPropTreeItem* CPropTreeFilter::ChildAt(const CPropTreeItem& parent, int row) const {
    const ShownChildren* some = SomeChildrenOf(parent);
    const int count = some ? static_cast<int>(some->count) : parent.GetChildCount();
    if (row < 0 || row >= count) return nullptr;
    return some ? m_someShown[some->first + static_cast<std::uint32_t>(row)] : parent.GetChildAt(row);
}

int CPropTreeFilter::RowOf(const CPropTreeItem& item) const {
    const CPropTreeItem* parent = item.GetParent();
    if (!parent) return -1;
    if (parent != m_root && RowOf(*parent) < 0) return -1;
    const ShownChildren* some = SomeChildrenOf(*parent);
    if (!some) return item.GetIndexInParent();
    // Shown children keep the tree's order, so the row is found by its place among all.
    const auto first = m_someShown.begin() + some->first;
    const auto last = first + some->count;
    const auto at = std::lower_bound(first, last, item.GetIndexInParent(), [](const CPropTreeItem* shown, int index) {
        return shown->GetIndexInParent() < index;
    });
    return at != last && *at == &item ? static_cast<int>(at - first) : -1;
}
