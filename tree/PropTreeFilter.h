// SPDX-License-Identifier: MIT
#pragma once
// The rows a find shows: those whose label, or one of whose named values,
// contains a text (ASCII letters matched without regard to case; descriptions
// are not searched), and for a text that is an address (a hex number written
// with "0x", or eight hex digits) the registers whose bytes hold it, with their parents; a matching row keeps all the rows
// below it. Computed once a keystroke over the whole tree, so it is kept flat:
// only parents that show some of their children, not all, get a list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CPropTreeDescriber;
class CPropTreeItem;

// The address a find text names: "0x" and 1 to 16 hex digits, or exactly
// eight hex digits; nothing for any other text.
std::optional<std::uint64_t> FindTextAddress(std::string_view text);

class CPropTreeFilter {
public:
    // `describer` (may be null) tells which registers hold an address and
    // which rows are changed. With `changedOnly`, only changed rows match,
    // and only where they or a row above them match the text (any row, for
    // an empty text); a matching row then keeps only its changed children.
    CPropTreeFilter(CPropTreeItem& root, std::string_view text, const CPropTreeDescriber* describer = nullptr,
                    bool changedOnly = false);

    // The shown children of a shown row (the root included), and the place
    // of a row among its parent's shown children (-1 when it is not shown).
    int ChildCount(const CPropTreeItem& parent) const;
    CPropTreeItem* ChildAt(const CPropTreeItem& parent, int row) const;
    int RowOf(const CPropTreeItem& item) const;

    // The rows that match themselves, in the tree's order.
    const std::vector<CPropTreeItem*>& Matches() const { return m_matches; }
    // The rows with a match somewhere below them: the ones to expand.
    const std::vector<CPropTreeItem*>& Ancestors() const { return m_ancestors; }

private:
    // Where in m_someShown the shown children of a row that shows only some of them are.
    struct ShownChildren {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    bool Visit(CPropTreeItem& row, bool keepAll);
    // Keeps m_visiting[from...] as the shown children of `row` when they are not all of them.
    void KeepShownChildren(const CPropTreeItem& row, std::size_t from);
    const ShownChildren* SomeChildrenOf(const CPropTreeItem& parent) const;
    bool Matches(const CPropTreeItem& row) const;
    bool IsChanged(const CPropTreeItem& row) const;

    std::string m_needle;  // lower-case
    const CPropTreeItem* m_root;
    std::optional<std::uint64_t> m_address;
    const CPropTreeDescriber* m_describer;
    bool m_bChangedOnly;
    // The rows that show only some of their children.
    std::unordered_map<const CPropTreeItem*, ShownChildren> m_someChildren;
    // The shown children of those rows, each row's in the tree's order.
    std::vector<CPropTreeItem*> m_someShown;
    // The shown children of the rows being visited, innermost last.
    std::vector<CPropTreeItem*> m_visiting;
    std::vector<CPropTreeItem*> m_matches;
    std::vector<CPropTreeItem*> m_ancestors;
};
