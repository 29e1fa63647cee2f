// SPDX-License-Identifier: MIT
// Which rows a find shows, case by case over one small tree.
#include <gtest/gtest.h>

#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "tests/ExampleFiles.h"
#include "tests/FindTree.h"
#include "tree/PropTree.h"
#include "tree/PropTreeFilter.h"

namespace {

// The shown tree, one label a line, indented by depth; matches marked '*'.
std::string Shown(const CPropTreeFilter& filter, const CPropTreeItem& parent, int depth = 0) {
    std::string text;
    for (int row = 0; row < filter.ChildCount(parent); ++row) {
        const CPropTreeItem* child = filter.ChildAt(parent, row);
        bool match = false;
        for (const CPropTreeItem* m : filter.Matches()) match = match || m == child;
        text += std::string(static_cast<size_t>(depth) * 2, ' ') + child->GetLabelText() + (match ? "*" : "") + "\n";
        if (filter.RowOf(*child) != row) text += "(wrong row)\n";
        text += Shown(filter, *child, depth + 1);
    }
    return text;
}

struct FilterCase {
    const char* text;
    const char* shown;
};

TEST(PropTreeFilter, ShowsMatchesWithTheirParentsAndWhatIsBelowAMatch) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    ASSERT_TRUE(LoadDefinitionsText(map, kFindTree, "t.xml").Ok());
    const FilterCase cases[] = {
        // A field by its label, in either case; its register and set come along.
        {"en", "Timers\n  CTRL\n    EN*\nUart\n  CTRL\n    TXEN*\n"},
        {"TXEN", "Uart\n  CTRL\n    TXEN*\n"},
        // A matching register keeps all its fields.
        {"cnt", "Timers\n  CNT*\n    COUNT\n"},
        // A named value counts as the field's own text.
        {"fast", "Timers\n  CTRL\n    MODE*\n"},
        // A matching set keeps everything below it; matches below are still listed.
        {"uart", "Uart*\n  CTRL\n    TXEN\n"},
        {"ctrl", "Timers\n  CTRL*\n    EN\n    MODE\nUart\n  CTRL*\n    TXEN\n"},
        // Descriptions are not searched.
        {"counter", ""},
        {"zzz", ""},
    };
    for (const FilterCase& c : cases) {
        const CPropTreeFilter filter(*tree.GetRootItem(), c.text);
        EXPECT_EQ(Shown(filter, *tree.GetRootItem()), c.shown) << c.text;
    }
}

TEST(PropTreeFilter, MatchesComeInTheTreesOrderAndAncestorsBeforeTheirChildren) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    LoadDefinitionsText(map, kFindTree, "t.xml");
    const CPropTreeFilter filter(*tree.GetRootItem(), "t");
    std::string matches;
    for (const CPropTreeItem* row : filter.Matches()) matches += std::string(row->GetLabelText()) + " ";
    // MODE by its named value "Fast".
    EXPECT_EQ(matches, "Timers CTRL MODE CNT COUNT Uart CTRL TXEN ");
    const CPropTreeFilter fields(*tree.GetRootItem(), "en");
    std::string ancestors;
    for (const CPropTreeItem* row : fields.Ancestors()) ancestors += std::string(row->GetLabelText()) + " ";
    EXPECT_EQ(ancestors, "Timers CTRL Uart CTRL ");
}

// Walks the shown rows below `parent` and checks what the filter tells of
// each: its place both ways, and whether it has children in the tree.
void CheckShownRows(const CPropTreeFilter& filter, const CPropTreeItem& parent, const std::string& text) {
    for (int row = 0; row < filter.ChildCount(parent); ++row) {
        bool leaf = false;
        const CPropTreeItem* child = filter.ChildAt(parent, row, &leaf);
        ASSERT_NE(child, nullptr) << text;
        EXPECT_EQ(leaf, child->GetChildCount() == 0) << text << ": " << child->GetLabelText();
        bool leafByRow = !leaf;
        EXPECT_EQ(filter.RowOf(*child, &leafByRow), row) << text << ": " << child->GetLabelText();
        EXPECT_EQ(leafByRow, leaf) << text << ": " << child->GetLabelText();
        CheckShownRows(filter, *child, text);
    }
}

// What the view reads of every shown row (its place, whether it has
// children, the places of the rows to expand) agrees however it is asked,
// over the example file: rows with all of their children shown, rows with
// some, rows below a match.
TEST(PropTreeFilter, TellsPlacesAndLeavesOfShownRowsAndAncestorsAlike) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    ASSERT_TRUE(LoadDefinitionsText(map, ReadExampleFile("tavlin.xml"), "tavlin.xml").Ok());
    for (const char* text : {"e", "en", "cr", "uart", "odd", "parity", "_", "x", "zzz"}) {
        const CPropTreeFilter filter(*tree.GetRootItem(), text);
        CheckShownRows(filter, *tree.GetRootItem(), text);
        ASSERT_EQ(filter.AncestorPlaces().size(), filter.Ancestors().size()) << text;
        for (std::size_t i = 0; i < filter.Ancestors().size(); ++i) {
            const CPropTreeItem& ancestor = *filter.Ancestors()[i];
            EXPECT_EQ(filter.AncestorPlaces()[i], filter.RowOf(ancestor)) << text << ": " << ancestor.GetLabelText();
            EXPECT_GT(filter.ChildCount(ancestor), 0) << text << ": " << ancestor.GetLabelText();
        }
    }
}

// The rows to expand, each with its place among the shown rows beside it
// and how many children it shows: all of them (Uart's one register, whose
// one field matches) or some (Timers' CNT, first of those shown though
// second in the tree).
TEST(PropTreeFilter, AncestorsShowingAllOrSomeOfTheirChildren) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    ASSERT_TRUE(LoadDefinitionsText(map, kFindTree, "t.xml").Ok());
    const struct {
        const char* text;
        const char* ancestors;  // each with its place and its shown children
    } cases[] = {
        {"en", "Timers@0:1 CTRL@0:1 Uart@1:1 CTRL@0:1 "},
        {"co", "Timers@0:1 CNT@0:1 "},
        {"t", ""},  // both sets match: shown whole, nothing to expand
        // Found by its path, a register or set is expanded, all of its rows shown.
        {"timers ctrl", "Timers@0:1 CTRL@0:2 "},
        {"uart.ctrl", "Uart@0:1 CTRL@0:1 "},
        {"er s", "Timers@0:2 "},
        {"uart ctrl txen", "Uart@0:1 CTRL@0:1 "},  // a field: its parents alone
    };
    for (const auto& c : cases) {
        const CPropTreeFilter filter(*tree.GetRootItem(), c.text);
        std::string ancestors;
        for (std::size_t i = 0; i < filter.Ancestors().size(); ++i)
            ancestors += std::string(filter.Ancestors()[i]->GetLabelText()) + "@" +
                         std::to_string(filter.AncestorPlaces()[i]) + ":" +
                         std::to_string(filter.ChildCount(*filter.Ancestors()[i])) + " ";
        EXPECT_EQ(ancestors, c.ancestors) << c.text;
        CheckShownRows(filter, *tree.GetRootItem(), c.text);
    }
}

// Several words, parted by spaces or dots, match the rows whose path holds
// them in their order, the last word in the row's own label or named value;
// what shows around a match is as for one word.
TEST(PropTreeFilter, ShowsRowsWhosePathHoldsTheWordsInTheirOrder) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    ASSERT_TRUE(LoadDefinitionsText(map, kFindTree, "t.xml").Ok());
    const FilterCase cases[] = {
        // A register of one set, with all its fields; spaces, dots, either case.
        {"timers ctrl", "Timers\n  CTRL*\n    EN\n    MODE\n"},
        {"Timers.CTRL", "Timers\n  CTRL*\n    EN\n    MODE\n"},
        {"uart.ctrl", "Uart\n  CTRL*\n    TXEN\n"},
        {"UART ctrl TXEN", "Uart\n  CTRL\n    TXEN*\n"},
        // A field of one set: the other set's field holding the word stays hidden.
        {"tim en", "Timers\n  CTRL\n    EN*\n"},
        {"uart en", "Uart\n  CTRL\n    TXEN*\n"},
        {"tim..ctrl  en", "Timers\n  CTRL\n    EN*\n"},
        // The order counts, along the path and in one label.
        {"ctrl timers", ""},
        {"en ctrl", ""},
        {"er s", "Timers*\n  CTRL\n    EN\n    MODE*\n  CNT\n    COUNT\n"},  // MODE: "Slow" after "Timers"
        {"s er", ""},
        // A named value after its field's label.
        {"mode fast", "Timers\n  CTRL\n    MODE*\n"},
        {"timers fast", "Timers\n  CTRL\n    MODE*\n"},
        {"fast mode", ""},
        // Each word once along the path: one "t" in each set's label, one more below.
        {"t t", "Timers\n  CTRL*\n    EN\n    MODE*\n  CNT*\n    COUNT*\nUart\n  CTRL*\n    TXEN*\n"},
        {"ctrl ctrl", ""},
        // A word in no row.
        {"timers zzz", ""},
        // Spaces and dots around one word leave that word.
        {" txen.", "Uart\n  CTRL\n    TXEN*\n"},
        // Nothing but spaces and dots: every row, as an empty text.
        {" . ", "Timers*\n  CTRL*\n    EN*\n    MODE*\n  CNT*\n    COUNT*\nUart*\n  CTRL*\n    TXEN*\n"},
    };
    for (const FilterCase& c : cases) {
        const CPropTreeFilter filter(*tree.GetRootItem(), c.text);
        EXPECT_EQ(Shown(filter, *tree.GetRootItem()), c.shown) << c.text;
        CheckShownRows(filter, *tree.GetRootItem(), c.text);
    }
}

}  // namespace
