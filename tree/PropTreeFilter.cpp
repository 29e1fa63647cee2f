// SPDX-License-Identifier: MIT
#include "tree/PropTreeFilter.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "bits/NumberReading.h"
#include "bits/TextChars.h"

#include "tree/PropTreeDescriber.h"
#include "tree/PropTreeFindIndex.h"
#include "tree/PropTreeItem.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<std::uint64_t> FindTextAddress(std::string_view text) {
    const bool prefixed = text.size() > 2 && HasHexPrefix(text, HexPrefixCase::kEither);
    if (prefixed) text.remove_prefix(2);
    if (prefixed ? text.size() > 16 : text.size() != 8) return std::nullopt;
    const HexDigits digits = ReadHexDigits(text);
    if (digits.count != text.size()) return std::nullopt;
    return digits.value;
}

std::vector<std::string_view> FindTextWords(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of(" .", at), text.size());
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

CPropTreeFilter::CPropTreeFilter(const CPropTreeFindIndex& index, std::string_view text,
                                 const CPropTreeDescriber* describer, bool changedOnly)
    : m_index(&index), m_describer(describer) {
    Build(text, changedOnly);
}

CPropTreeFilter::CPropTreeFilter(CPropTreeItem& root, std::string_view text, const CPropTreeDescriber* describer,
                                 bool changedOnly)
    : m_ownIndex(std::make_unique<CPropTreeFindIndex>(root)), m_index(m_ownIndex.get()), m_describer(describer) {
    Build(text, changedOnly);
}

CPropTreeFilter::~CPropTreeFilter() = default;

void CPropTreeFilter::Build(std::string_view text, bool changedOnly) {
    m_bChangedOnly = changedOnly && m_describer;
    if (m_describer) m_address = FindTextAddress(text);
    std::string needle;
    needle.reserve(text.size());
    for (const char c : text) needle += Lower(c);
    // Spaces and dots around a single word only part it from words to come.
    const std::vector<std::string_view> words = FindTextWords(needle);
    m_bExpandMatches = words.size() > 1;
    m_index->MatchPath(words, m_matched);
    // Register rows are the static rows: those holding the address match too.
    if (m_address)
        for (std::uint32_t at = 0; at < m_index->Size(); ++at)
            if (!m_matched[at] && m_index->Kind(at) == PropRowKind::Static &&
                m_describer->HoldsAddress(*m_index->Row(at), *m_address))
                m_matched[at] = 1;
    // The top-level rows, as the children of the root.
    std::size_t sets = 0;
    for (std::uint32_t at = 0; at < m_index->Size(); at = m_index->End(at), ++sets)
        if (const int shown = Visit(at, false); shown != kHidden) m_visiting.push_back({at, shown});
    KeepShownChildren(m_index->Root(), sets, 0);
    m_visiting = {};
    m_matched = {};
    MakeFactsTable();
}

void CPropTreeFilter::KeepShownChildren(const CPropTreeItem& row, std::size_t children, std::size_t from) {
    const std::size_t count = m_visiting.size() - from;
    for (std::size_t i = from; i < m_visiting.size(); ++i)
        if (m_visiting[i].ancestor >= 0)
            m_ancestorPlaces[static_cast<std::size_t>(m_visiting[i].ancestor)] = static_cast<int>(i - from);
    if (count != children) {
        m_found.push_back({&row, static_cast<std::uint32_t>(m_someShown.size()), static_cast<std::uint32_t>(count)});
        for (std::size_t i = from; i < m_visiting.size(); ++i) {
            const std::uint32_t at = m_visiting[i].at;
            RowFacts child;
            child.row = m_index->Row(at);
            child.place = static_cast<std::int32_t>(i - from);
            child.hasChildren = m_index->End(at) > at + 1;
            m_found.push_back(child);
            m_someShown.push_back(m_index->Row(at));
            m_someShownLeaf.push_back(child.hasChildren ? 0 : 1);
        }
    }
    m_visiting.resize(from);
}

namespace {

// Rows are at least 8-byte aligned and tens of bytes apart: the bits above
// those, mixed by a multiplication, give the table's place in the top bits.
std::size_t SlotOf(const void* row, unsigned shift) {
    return static_cast<std::size_t>(((reinterpret_cast<std::uintptr_t>(row) >> 3) * 0x9E3779B97F4A7C15ull) >> shift);
}

}  // namespace

void CPropTreeFilter::MakeFactsTable() {
    unsigned bits = 4;
    while ((std::size_t{1} << bits) < m_found.size() * 2) ++bits;
    m_factsShift = 64 - bits;
    m_facts.assign(std::size_t{1} << bits, RowFacts{});
    const std::size_t mask = m_facts.size() - 1;
    for (const RowFacts& found : m_found) {
        std::size_t slot = SlotOf(found.row, m_factsShift);
        while (m_facts[slot].row && m_facts[slot].row != found.row) slot = (slot + 1) & mask;
        RowFacts& facts = m_facts[slot];
        if (!facts.row) {
            facts = found;
            continue;
        }
        // A row that shows some of its children and is one of its parent's shown children.
        if (found.count != kAllShown) {
            facts.first = found.first;
            facts.count = found.count;
        }
        if (found.place >= 0) {
            facts.place = found.place;
            facts.hasChildren = found.hasChildren;
        }
    }
    m_found = {};
}

const CPropTreeFilter::RowFacts* CPropTreeFilter::FactsOf(const CPropTreeItem& row) const {
    const std::size_t mask = m_facts.size() - 1;
    for (std::size_t slot = SlotOf(&row, m_factsShift);; slot = (slot + 1) & mask) {
        const RowFacts& facts = m_facts[slot];
        if (facts.row == &row) return &facts;
        if (!facts.row) return nullptr;
    }
}

bool CPropTreeFilter::MatchBetween(std::uint32_t first, std::uint32_t end) const {
    // Most ranges are a field or a register's few: a call only for long ones.
    constexpr std::uint32_t kShort = 32;
    if (end - first > kShort) return std::memchr(m_matched.data() + first, 1, end - first) != nullptr;
    for (std::uint32_t at = first; at < end; ++at)
        if (m_matched[at]) return true;
    return false;
}

bool CPropTreeFilter::IsChanged(const CPropTreeItem& row) const {
    // Sets are never changed themselves; registers and fields are static, edit and drop-down rows.
    return row.GetKind() != PropRowKind::Plain && m_describer->IsChanged(row);
}

// Decides which of the children of the row at `at` show. Returns kHidden
// when the row itself does not show, else kShown or, for a row with shown
// children to expand, its place in m_ancestors. `keepAll`: a row above
// matched, so every row below shows (only the changed ones with changedOnly).
int CPropTreeFilter::Visit(std::uint32_t at, bool keepAll) {
    const std::uint32_t end = m_index->End(at);
    // With no match from here to the end of the rows below (most of a
    // narrow find), nothing here shows unless a row above matched.
    if (!keepAll && !MatchBetween(at, end)) return kHidden;
    CPropTreeItem& row = *m_index->Row(at);
    const bool textMatches = m_matched[at] != 0;
    const bool matches = m_bChangedOnly ? (keepAll || textMatches) && IsChanged(row) : textMatches;
    if (matches) m_matches.push_back(&row);
    if (m_bChangedOnly) keepAll = keepAll || textMatches;
    const bool keepChildren = !m_bChangedOnly && (keepAll || matches);
    if (keepChildren) {
        // Shown whole; matches further down are still steps of the find.
        for (std::uint32_t below = at + 1; below < end; ++below)
            if (m_matched[below]) m_matches.push_back(m_index->Row(below));
        // Found by its path, a register or set shows its rows expanded;
        // a word alone may be in many, and leaves them as they are.
        if (matches && m_bExpandMatches && end > at + 1) {
            m_ancestors.push_back(&row);
            m_ancestorPlaces.push_back(-1);
            return static_cast<int>(m_ancestors.size() - 1);
        }
        return kShown;
    }
    // The row's place among the ancestors, before those below it; given
    // back when no child shows (then no row below took a place after it).
    const std::size_t ancestor = m_ancestors.size();
    m_ancestors.push_back(&row);
    m_ancestorPlaces.push_back(-1);
    const std::size_t from = m_visiting.size();
    std::size_t children = 0;
    for (std::uint32_t child = at + 1; child < end; child = m_index->End(child), ++children)
        if (const int shown = Visit(child, keepAll); shown != kHidden) m_visiting.push_back({child, shown});
    if (m_visiting.size() == from) {
        m_ancestors.pop_back();
        m_ancestorPlaces.pop_back();
        return matches ? kShown : kHidden;
    }
    KeepShownChildren(row, children, from);
    return static_cast<int>(ancestor);
}

int CPropTreeFilter::ChildCount(const CPropTreeItem& parent) const {
    const RowFacts* facts = FactsOf(parent);
    return facts && facts->count != kAllShown ? static_cast<int>(facts->count) : parent.GetChildCount();
}

CPropTreeItem* CPropTreeFilter::ChildAt(const CPropTreeItem& parent, int row, bool* leaf) const {
    const RowFacts* facts = FactsOf(parent);
    const bool some = facts && facts->count != kAllShown;
    const int count = some ? static_cast<int>(facts->count) : parent.GetChildCount();
    if (row < 0 || row >= count) return nullptr;
    if (!some) {
        CPropTreeItem* child = parent.GetChildAt(row);
        if (leaf) *leaf = child->GetChildCount() == 0;
        return child;
    }
    const std::uint32_t at = facts->first + static_cast<std::uint32_t>(row);
    if (leaf) *leaf = m_someShownLeaf[at] != 0;
    return m_someShown[at];
}

int CPropTreeFilter::RowOf(const CPropTreeItem& item, bool* leaf) const {
    // Every shown child of a row that shows only some has its place here.
    if (const RowFacts* facts = FactsOf(item); facts && facts->place >= 0) {
        if (leaf) *leaf = !facts->hasChildren;
        return facts->place;
    }
    if (leaf) *leaf = item.GetChildCount() == 0;
    const CPropTreeItem* parent = item.GetParent();
    if (!parent) return -1;
    if (parent != &m_index->Root() && RowOf(*parent) < 0) return -1;
    const RowFacts* parentFacts = FactsOf(*parent);
    if (parentFacts && parentFacts->count != kAllShown) return -1;  // not one of those it shows
    return item.GetIndexInParent();
}
