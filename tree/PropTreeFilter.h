// SPDX-License-Identifier: MIT
#pragma once
// The rows a find shows: those whose label, or one of whose named values,
// contains a text (ASCII letters matched without regard to case; descriptions
// are not searched), with their parents; a matching row keeps all the rows
// below it. Computed once a keystroke over the whole tree, so it is kept flat:
// only parents that show some of their children, not all, get a list.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CPropTreeItem;

class CPropTreeFilter {
public:
    CPropTreeFilter(CPropTreeItem& root, std::string_view text);

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
    bool Visit(CPropTreeItem& row, bool keepAll);
    bool Matches(const CPropTreeItem& row) const;

    std::string m_needle;  // lower-case
    const CPropTreeItem* m_root;
    std::unordered_map<const CPropTreeItem*, std::vector<CPropTreeItem*>> m_someChildren;
    std::unordered_map<const CPropTreeItem*, int> m_rowAmongSome;
    std::vector<CPropTreeItem*> m_matches;
    std::vector<CPropTreeItem*> m_ancestors;
};
