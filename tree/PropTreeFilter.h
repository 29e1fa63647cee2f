// SPDX-License-Identifier: MIT
#pragma once
// The rows a find shows: those whose label, or one of whose named values,
// contains a text (ASCII letters matched without regard to case; descriptions
// are not searched); for a text of several words, separated by spaces or dots,
// those whose path holds the words in their order, the last in the row's own
// label or named value (see CPropTreeFindIndex::MatchPath; spaces and dots
// around a single word are left out, a text of nothing else shows every row);
// and for a text that is an address (a hex number written with "0x", or eight
// hex digits) the registers whose bytes hold it, with their parents; a matching
// row keeps all the rows below it, and is expanded too when a text of several
// words found it (a register found by its path shows its fields). Computed once a keystroke over the whole
// tree, so it reads the rows as a CPropTreeFindIndex lays them out and is kept
// flat: only parents that show some of their children, not all, get a list.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class CPropTreeDescriber;
class CPropTreeFindIndex;
class CPropTreeItem;

// The address a find text names: "0x" and 1 to 16 hex digits, or exactly
// eight hex digits; nothing for any other text.
std::optional<std::uint64_t> FindTextAddress(std::string_view text);

// The words of a find text: its parts between spaces and dots, none empty.
std::vector<std::string_view> FindTextWords(std::string_view text);

class CPropTreeFilter {
public:
    // `describer` (may be null) tells which registers hold an address and
    // which rows are changed. With `changedOnly`, only changed rows match,
    // and only where they or a row above them match the text (any row, for
    // an empty text); a matching row then keeps only its changed children.
    // The rows are read as `index` lays them out (it must outlive the filter).
    CPropTreeFilter(const CPropTreeFindIndex& index, std::string_view text,
                    const CPropTreeDescriber* describer = nullptr, bool changedOnly = false);
    // The same over the rows below `root`, laid out for this filter alone.
    CPropTreeFilter(CPropTreeItem& root, std::string_view text, const CPropTreeDescriber* describer = nullptr,
                    bool changedOnly = false);
    ~CPropTreeFilter();
    CPropTreeFilter(const CPropTreeFilter&) = delete;
    CPropTreeFilter& operator=(const CPropTreeFilter&) = delete;

    // The shown children of a shown row (the root included), and the place
    // of a row among its parent's shown children (-1 when it is not shown).
    // `leaf`, when given, is set to whether the row has no children in the
    // tree, shown or not; for the shown children of rows that show only some
    // (most rows a find shows) this is known here without reading the row.
    int ChildCount(const CPropTreeItem& parent) const;
    CPropTreeItem* ChildAt(const CPropTreeItem& parent, int row, bool* leaf = nullptr) const;
    int RowOf(const CPropTreeItem& item, bool* leaf = nullptr) const;

    // The rows that match themselves, in the tree's order.
    const std::vector<CPropTreeItem*>& Matches() const { return m_matches; }
    // The rows to expand: those with a match somewhere below them, and
    // those with children that a text of several words matches.
    const std::vector<CPropTreeItem*>& Ancestors() const { return m_ancestors; }
    // The place of each of Ancestors() among its parent's shown children, as
    // RowOf tells it (the view expands them all: this spares a look-up each).
    const std::vector<int>& AncestorPlaces() const { return m_ancestorPlaces; }

private:
    static constexpr std::uint32_t kAllShown = 0xffffffffu;
    // What the filter knows of a row that shows only some of its children,
    // or that is one of those children.
    struct RowFacts {
        const CPropTreeItem* row = nullptr;
        // Where in m_someShown the row's shown children are, and how many;
        // kAllShown when it shows all of them.
        std::uint32_t first = 0;
        std::uint32_t count = kAllShown;
        // The row's place among its parent's shown children when its parent
        // shows only some; -1 when not known here.
        std::int32_t place = -1;
        std::uint32_t hasChildren = 0;  // in the tree, shown or not
    };
    // A shown child of a row being visited: its place in the index, and its
    // place in m_ancestors when it is one (-1 when not).
    struct Visited {
        std::uint32_t at;
        std::int32_t ancestor;
    };
    static constexpr int kHidden = -2;  // Visit: the row does not show
    static constexpr int kShown = -1;   // Visit: the row shows and is no ancestor

    void Build(std::string_view text, bool changedOnly);
    int Visit(std::uint32_t at, bool keepAll);
    // Takes m_visiting[from...] as the shown children of `row`, which has
    // `children` in all: gives the ancestors among them their places, and
    // keeps them when they are not all of the row's children.
    void KeepShownChildren(const CPropTreeItem& row, std::size_t children, std::size_t from);
    // Puts m_found into m_facts, an open table probed from the row's hash.
    void MakeFactsTable();
    const RowFacts* FactsOf(const CPropTreeItem& row) const;
    // Whether a row from `first` up to `end` matches.
    bool MatchBetween(std::uint32_t first, std::uint32_t end) const;
    bool IsChanged(const CPropTreeItem& row) const;

    std::unique_ptr<CPropTreeFindIndex> m_ownIndex;  // when made for this filter alone
    const CPropTreeFindIndex* m_index;
    std::optional<std::uint64_t> m_address;
    const CPropTreeDescriber* m_describer;
    bool m_bChangedOnly = false;
    bool m_bExpandMatches = false;  // a text of several words
    // Per row of the index, 1 when it matches: its label or one of its
    // named values holds the text, or it is a register holding the address.
    std::vector<std::uint8_t> m_matched;
    // The facts as they were found, a row possibly twice (as a parent and as a child).
    std::vector<RowFacts> m_found;
    // The same by row: a power of two in size, at most half full.
    std::vector<RowFacts> m_facts;
    unsigned m_factsShift = 64;
    // The shown children of the rows that show only some, each row's in the
    // tree's order, and whether each has no children in the tree.
    std::vector<CPropTreeItem*> m_someShown;
    std::vector<std::uint8_t> m_someShownLeaf;
    // The shown children of the rows being visited, innermost last.
    std::vector<Visited> m_visiting;
    std::vector<CPropTreeItem*> m_matches;
    std::vector<CPropTreeItem*> m_ancestors;
    std::vector<int> m_ancestorPlaces;
};
