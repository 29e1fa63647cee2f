// SPDX-License-Identifier: MIT
// Which rows a find shows, case by case over one small tree.
#include <gtest/gtest.h>

#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "tree/PropTree.h"
#include "tree/PropTreeFilter.h"

namespace {

constexpr const char* kTree =
    "<tavlin>"
    "<regset name=\"Timers\" info=\"t\">"
    "<register name=\"CTRL\" bits=\"32\" value=\"0\" info=\"Enable bits\">"
    "<field name=\"EN\" kind=\"edit\" info=\"Counter enable\" low=\"0\" high=\"0\"></field>"
    "<field name=\"MODE\" kind=\"combo\" info=\"m\" low=\"4\" high=\"5\">"
    "<select name=\"Slow\" value=\"0\"/><select name=\"Fast\" value=\"2\"/></field>"
    "</register>"
    "<register name=\"CNT\" bits=\"16\" value=\"0\" info=\"c\">"
    "<field name=\"COUNT\" kind=\"edit\" info=\"c\" low=\"0\" high=\"15\"></field></register>"
    "</regset>"
    "<regset name=\"Uart\" info=\"u\">"
    "<register name=\"CTRL\" bits=\"8\" value=\"0\" info=\"c\">"
    "<field name=\"TXEN\" kind=\"edit\" info=\"t\" low=\"0\" high=\"0\"></field></register>"
    "</regset>"
    "</tavlin>";

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
    ASSERT_TRUE(LoadDefinitionsText(map, kTree, "t.xml").Ok());
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
    LoadDefinitionsText(map, kTree, "t.xml");
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

}  // namespace
