// SPDX-License-Identifier: MIT
#pragma once
// The rows of a tree laid out flat for the find. A find keystroke looks at
// every row; reading each row's own memory (scattered over the tree's arena,
// its texts over the text pool) costs far more than the comparisons, so the
// find reads these arrays from start to end instead: every row below the
// root in the tree's order (a row before the rows below it), where the rows
// below each one end, each row's kind, and the texts a find looks in (labels
// and the labels of named values), each different text once, lower-cased,
// in one string that a text is looked for in one search.
//
// Made from the rows as they are; the rows, their labels and named values
// must not change while it is in use (the model drops it when they do).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tree/PropTreeItem.h"

class CPropTreeFindIndex {
public:
    explicit CPropTreeFindIndex(const CPropTreeItem& root);
    CPropTreeFindIndex(const CPropTreeFindIndex&) = delete;
    CPropTreeFindIndex& operator=(const CPropTreeFindIndex&) = delete;

    const CPropTreeItem& Root() const { return *m_root; }
    // The number of rows below the root.
    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_rows.size()); }
    CPropTreeItem* Row(std::uint32_t at) const { return m_rows[at]; }
    // One past the last of the rows below row `at`: its first child, if it
    // has any, is at + 1, and each child's next sibling is at that child's End.
    std::uint32_t End(std::uint32_t at) const { return m_end[at]; }
    PropRowKind Kind(std::uint32_t at) const { return static_cast<PropRowKind>(m_kinds[at]); }

    // Sets matched[at] to 1 for every row whose label, or the label of one of
    // whose named values, contains `needle` (lower case: ASCII letters are
    // matched without regard to case), and to 0 for the others. Every row
    // matches an empty needle.
    void MatchTexts(std::string_view needle, std::vector<std::uint8_t>& matched) const;
    // Sets matched[at] to 1 for every row whose path (the labels of the rows
    // above it, then its own label, then one of its named values) holds the
    // `words` (lower case, none empty) one after another: each word in the
    // element that holds the one before it, after that one, or in a later
    // element; the last word in the row's own label or named value. For one
    // word this is MatchTexts; no words match every row.
    void MatchPath(const std::vector<std::string_view>& words, std::vector<std::uint8_t>& matched) const;

    // Bytes held, for figures.
    std::size_t Bytes() const;

private:
    // Calls onText(id) for every text holding `needle` (not empty, no NUL), in order.
    template <class OnText>
    void ForEachTextHolding(std::string_view needle, OnText onText) const;
    std::string_view Text(std::uint32_t id) const;

    const CPropTreeItem* m_root;
    std::vector<CPropTreeItem*> m_rows;
    std::vector<std::uint32_t> m_end;
    std::vector<std::uint8_t> m_kinds;  // PropRowKind
    // The texts of row `at` are m_textIds[m_textsEnd[at - 1] .. m_textsEnd[at]) (from 0 for row 0).
    std::vector<std::uint32_t> m_textsEnd;
    std::vector<std::uint32_t> m_textIds;
    // The different texts, lower-cased, each followed by a NUL (which no
    // needle that can match holds, so no match runs from one into the next);
    // text `id` starts at m_textStarts[id].
    std::string m_texts;
    std::vector<std::uint32_t> m_textStarts;
};
