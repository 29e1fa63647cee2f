// SPDX-License-Identifier: MIT
// The rows laid out flat for the find: their order, where the rows below
// each one end, and which rows hold a text, checked against reading the
// rows themselves.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "defs/DefinitionsLoader.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tests/ExampleFiles.h"
#include "tests/FindTree.h"
#include "tree/PropTree.h"
#include "tree/PropTreeFindIndex.h"
#include "tree/PropTreeItemCombo.h"

namespace {

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The find's rule read plainly: the label or a named value holds the text,
// ASCII letters in either case.
bool HoldsText(const CPropTreeItem& row, std::string_view needle) {
    const std::string lower = AsciiLower(needle);
    if (AsciiLower(row.GetLabelText()).find(lower) != std::string::npos) return true;
    if (row.GetKind() != PropRowKind::Combo) return false;
    for (const auto& entry : static_cast<const CPropTreeItemCombo&>(row).GetAllEntries())
        if (AsciiLower(entry.label.c_str()).find(lower) != std::string::npos) return true;
    return false;
}

// Whether words[word...] stand in `elements` one after another, from
// `position` of elements[element] on, the last in an element from `lastFrom` on.
bool WordsStand(const std::vector<std::string>& elements, std::size_t element, std::size_t position,
                const std::vector<std::string>& words, std::size_t word, std::size_t lastFrom) {
    if (word == words.size()) return true;
    for (std::size_t e = element; e < elements.size(); ++e) {
        if (word + 1 == words.size() && e < lastFrom) continue;
        for (std::size_t at = elements[e].find(words[word], e == element ? position : 0); at != std::string::npos;
             at = elements[e].find(words[word], at + 1))
            if (WordsStand(elements, e, at + words[word].size(), words, word + 1, lastFrom)) return true;
    }
    return false;
}

// The path rule read plainly: the words stand one after another along the
// labels above the row, its own label and one of its named values (or none),
// the last word in the row's own label or named value; in either case.
bool PathHoldsWords(const CPropTreeItem& row, const std::vector<std::string>& words) {
    std::vector<std::string> elements;
    for (const CPropTreeItem* above = row.GetParent(); above && above->GetParent(); above = above->GetParent())
        elements.insert(elements.begin(), AsciiLower(above->GetLabelText()));
    const std::size_t own = elements.size();
    elements.push_back(AsciiLower(row.GetLabelText()));
    if (WordsStand(elements, 0, 0, words, 0, own)) return true;
    if (row.GetKind() != PropRowKind::Combo) return false;
    for (const auto& entry : static_cast<const CPropTreeItemCombo&>(row).GetAllEntries()) {
        elements.back() = AsciiLower(row.GetLabelText());
        elements.resize(own + 1);
        elements.push_back(AsciiLower(entry.label.c_str()));
        if (WordsStand(elements, 0, 0, words, 0, own)) return true;
    }
    return false;
}

// Every row below `row` in the tree's order, a row before its children.
void RowsInOrder(const CPropTreeItem& row, std::vector<const CPropTreeItem*>& out) {
    for (int i = 0; i < row.GetChildCount(); ++i) {
        out.push_back(row.GetChildAt(i));
        RowsInOrder(*row.GetChildAt(i), out);
    }
}

TEST(PropTreeFindIndex, LaysTheRowsOutInTheTreesOrderWithWhereTheRowsBelowEachEnd) {
    CRegisterMap map;
    ASSERT_TRUE(LoadDefinitionsText(map, kFindTree, "t.xml").Ok());
    const CPropTreeFindIndex index(*map.Tree().GetRootItem());
    const struct {
        const char* label;
        std::uint32_t end;
        PropRowKind kind;
    } rows[] = {
        {"Timers", 6, PropRowKind::Plain}, {"CTRL", 4, PropRowKind::Static}, {"EN", 3, PropRowKind::Edit},
        {"MODE", 4, PropRowKind::Combo},   {"CNT", 6, PropRowKind::Static},  {"COUNT", 6, PropRowKind::Edit},
        {"Uart", 9, PropRowKind::Plain},   {"CTRL", 9, PropRowKind::Static}, {"TXEN", 9, PropRowKind::Edit},
    };
    ASSERT_EQ(index.Size(), std::size(rows));
    for (std::uint32_t at = 0; at < index.Size(); ++at) {
        EXPECT_STREQ(index.Row(at)->GetLabelText(), rows[at].label) << at;
        EXPECT_EQ(index.End(at), rows[at].end) << at;
        EXPECT_EQ(index.Kind(at), rows[at].kind) << at;
    }
    EXPECT_EQ(&index.Root(), map.Tree().GetRootItem());
}

// Loads an example file of either format into `map`; false when it has a problem.
bool LoadExample(CRegisterMap& map, std::string_view file) {
    const std::string text = ReadExampleFile(std::string(file));
    const std::string name(file);
    return file.ends_with(".svd") ? LoadSvdText(map, text, name).Ok()
                                  : LoadDefinitionsText(map, text, name.c_str()).Ok();
}

// Over the example files, every row's place, the end of the rows below it
// (its parent is the nearest row before it whose rows below reach past it),
// and which rows hold each of many texts.
TEST(PropTreeFindIndex, AgreesWithTheRowsOfTheExampleFiles) {
    for (const char* file : {"tavlin.xml", "chip.svd"}) {
        CRegisterMap map;
        ASSERT_TRUE(LoadExample(map, file)) << file;
        const CPropTreeFindIndex index(*map.Tree().GetRootItem());
        std::vector<const CPropTreeItem*> rows;
        RowsInOrder(*map.Tree().GetRootItem(), rows);
        ASSERT_EQ(index.Size(), rows.size()) << file;
        std::vector<std::uint32_t> open;  // the rows whose rows below reach the current one
        for (std::uint32_t at = 0; at < index.Size(); ++at) {
            ASSERT_EQ(index.Row(at), rows[at]) << file << " " << at;
            while (!open.empty() && index.End(open.back()) <= at) open.pop_back();
            const CPropTreeItem* parent = open.empty() ? map.Tree().GetRootItem() : index.Row(open.back());
            EXPECT_EQ(rows[at]->GetParent(), parent) << file << " " << rows[at]->GetLabelText();
            EXPECT_EQ(index.Kind(at), rows[at]->GetKind()) << file << " " << at;
            open.push_back(at);
        }

        std::vector<std::string> needles = {"", "e", "EN", "cr1", "fAsT", "odd", "x", "0x", "_", "[", "zzz",
                                            // across a label and its first named value: no row
                                            "parityNone", "modeslow",
                                            // a NUL ends every text
                                            std::string("e\0n", 3)};
        // Each row's own label, whole and its end.
        for (std::size_t i = 0; i < rows.size(); i += 3) {
            const std::string label = rows[i]->GetLabelText();
            needles.push_back(label);
            if (label.size() > 2) needles.push_back(label.substr(label.size() - 2));
        }
        std::vector<std::uint8_t> matched;
        for (const std::string& needle : needles) {
            index.MatchTexts(AsciiLower(needle), matched);
            ASSERT_EQ(matched.size(), rows.size());
            for (std::uint32_t at = 0; at < index.Size(); ++at)
                ASSERT_EQ(matched[at] != 0, HoldsText(*rows[at], needle))
                    << file << ": \"" << needle << "\" in " << rows[at]->GetLabelText();
        }
    }
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text + " ") {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(AsciiLower(word));
            word.clear();
        }
    }
    return words;
}

// Over the example files, the rows whose path holds several words in their
// order, against reading each row's path plainly; words in the same label,
// in a label and a named value, across set, register and field, in either
// order, and words no row holds.
TEST(PropTreeFindIndex, MatchesWordsAlongThePathsOfTheExampleFiles) {
    for (const char* file : {"tavlin.xml", "chip.svd"}) {
        CRegisterMap map;
        ASSERT_TRUE(LoadExample(map, file)) << file;
        const CPropTreeFindIndex index(*map.Tree().GetRootItem());
        std::vector<const CPropTreeItem*> rows;
        RowsInOrder(*map.Tree().GetRootItem(), rows);
        std::vector<std::string> texts = {"uart1 cr1 parity", "UART1 cr1", "uart cr", "cr1 uart1", "uart1 odd",
                                          "parity odd", "odd parity", "cr1 odd", "uart0 ctrl en", "uart0 en ctrl",
                                          "e e", "e e e e", "r r", "o o o", "ctrl e n", "n e", "a zzz", "zzz a",
                                          "0 1", "hs on", "on hs", "dma ch", "par even", "10 even", "even 10"};
        // Each field's set and register and a part of its own label, in order and the other way round.
        for (std::size_t i = 0; i < rows.size(); i += 5) {
            const CPropTreeItem* row = rows[i];
            if (!row->GetParent()->GetParent() || !row->GetParent()->GetParent()->GetParent()) continue;
            const std::string set = row->GetParent()->GetParent()->GetLabelText();
            const std::string label = row->GetLabelText();
            const std::string part = label.substr(label.size() / 2);
            texts.push_back(set + " " + part);
            texts.push_back(part + " " + set);
            texts.push_back(set.substr(0, 2) + " " + row->GetParent()->GetLabelText() + " " + part);
        }
        std::vector<std::uint8_t> matched;
        for (const std::string& text : texts) {
            const std::vector<std::string> words = Words(text);
            const std::vector<std::string_view> views(words.begin(), words.end());
            index.MatchPath(views, matched);
            ASSERT_EQ(matched.size(), rows.size());
            for (std::uint32_t at = 0; at < index.Size(); ++at)
                ASSERT_EQ(matched[at] != 0, PathHoldsWords(*rows[at], words))
                    << file << ": \"" << text << "\" at " << rows[at]->GetLabelText();
        }
    }
}

// One word matches as MatchTexts does; more than 64 words (past those the
// find marks texts for at once) are still each looked for.
TEST(PropTreeFindIndex, MatchesOneWordAsATextAndManyWordsEach) {
    CPropTree tree;
    CPropTreeItem* set = tree.NewItem<CPropTreeItem>(nullptr);
    set->SetLabelText(std::string(40, 'x').c_str());
    CPropTreeItem* reg = tree.NewItem<CPropTreeItem>(set);
    reg->SetLabelText((std::string(30, 'x') + "y").c_str());
    const CPropTreeFindIndex index(*tree.GetRootItem());
    const struct {
        std::size_t xs;
        const char* last;
        std::vector<std::uint8_t> matched;  // the set, the register
    } cases[] = {
        {40, "", {1, 1}},  {41, "", {0, 1}},  {70, "", {0, 1}},  {71, "", {0, 0}},
        {70, "y", {0, 1}}, {71, "y", {0, 0}}, {69, "y", {0, 1}}, {0, "y", {0, 1}},
    };
    std::vector<std::uint8_t> matched;
    for (const auto& c : cases) {
        std::vector<std::string_view> words(c.xs, "x");
        if (*c.last) words.emplace_back(c.last);
        index.MatchPath(words, matched);
        EXPECT_EQ(matched, c.matched) << c.xs << " x " << c.last;
    }
    for (const char* word : {"x", "xy", "y", "z"}) {
        std::vector<std::uint8_t> asText;
        index.MatchTexts(word, asText);
        index.MatchPath({word}, matched);
        EXPECT_EQ(matched, asText) << word;
    }
}

// Texts repeated over many rows are kept once, and a label that is another
// one's start or end is still told apart; bytes above ASCII match only
// themselves.
TEST(PropTreeFindIndex, MatchesRowsSharingTextsAndBytesAboveAscii) {
    CPropTree tree;
    CPropTreeItem* set = tree.NewItem<CPropTreeItem>(nullptr);
    set->SetLabelText("Z\xc3\xa4hler");  // "Zähler" in UTF-8
    const char* labels[] = {"EN", "EN", "XEN", "ENX", "EN", "N"};
    for (const char* label : labels) {
        auto* combo = tree.NewItem<CPropTreeItemCombo>(set);
        combo->SetLabelText(label);
        combo->CreateComboBox(0);
        ASSERT_EQ(combo->AddString("On"), 0);
        ASSERT_EQ(combo->AddString("Off"), 1);
    }
    const CPropTreeFindIndex index(*tree.GetRootItem());
    const struct {
        std::string needle;
        std::vector<std::uint8_t> matched;  // the set, then the rows below it
    } cases[] = {
        {"en", {0, 1, 1, 1, 1, 1, 0}},
        {"xen", {0, 0, 0, 1, 0, 0, 0}},
        {"enx", {0, 0, 0, 0, 1, 0, 0}},
        {"n", {0, 1, 1, 1, 1, 1, 1}},
        {"on", {0, 1, 1, 1, 1, 1, 1}},  // by a named value
        {"off", {0, 1, 1, 1, 1, 1, 1}},
        {"\xc3\xa4h", {1, 0, 0, 0, 0, 0, 0}},
        {"\xc3\x84h", {0, 0, 0, 0, 0, 0, 0}},  // "Äh": not folded
        {"z\xc3\xa4hler", {1, 0, 0, 0, 0, 0, 0}},
        {"r", {1, 0, 0, 0, 0, 0, 0}},
    };
    std::vector<std::uint8_t> matched;
    for (const auto& c : cases) {
        index.MatchTexts(c.needle, matched);
        EXPECT_EQ(matched, c.matched) << c.needle;
    }
}

}  // namespace
