// SPDX-License-Identifier: MIT
// Find in the tree on screen, driven by the keyboard on the example file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "tests/ExampleFiles.h"
#include "tests/RowPath.h"
#include "tree/PropTree.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"

namespace {

struct FindWindow {
    FindWindow() : window(tree, nullptr) {
        LoadDefinitionsText(map, ReadExampleFile("tavlin.xml"), "tavlin.xml");
        window.resize(300, 500);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.View()->setFocus();
    }
    CPropTreeItem* Row(const std::vector<std::string>& path) { return FindRow(tree, path); }
    QModelIndex Index(const std::vector<std::string>& path) { return window.Model()->IndexFromItem(Row(path)); }
    void Type(const char* text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QApplication::processEvents();
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QApplication::processEvents();
    }
    int Shown() {  // every row the view can show, expanded or not
        std::vector<QModelIndex> pending{QModelIndex()};
        int count = 0;
        while (!pending.empty()) {
            const QModelIndex parent = pending.back();
            pending.pop_back();
            for (int row = 0; row < window.Model()->rowCount(parent); ++row) {
                ++count;
                pending.push_back(window.Model()->index(row, 0, parent));
            }
        }
        return count;
    }

    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CFieldTable& table = map.Fields();
    CPropTreeWindow window;
};

TEST(TreeFind, ShowsTheMatchesExpandedAndFocusesTheFirstAsTheUserTypes) {
    FindWindow w;
    const int all = w.Shown();
    w.Press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), w.window.Find()->Field());
    w.Type("odd");  // a named value of UART1 / CR1 / PARITY
    EXPECT_EQ(w.Shown(), 3);
    EXPECT_TRUE(w.window.View()->isExpanded(w.Index({"UART1"})));
    EXPECT_TRUE(w.window.View()->isExpanded(w.Index({"UART1", "CR1"})));
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"UART1", "CR1", "PARITY"}));
    EXPECT_EQ(QApplication::focusWidget(), w.window.Find()->Field()) << "typing goes on in the field";
    w.Press(Qt::Key_Backspace);
    w.Press(Qt::Key_Backspace);
    w.Press(Qt::Key_Backspace);
    EXPECT_EQ(w.Shown(), all) << "an empty field shows every row";
}

TEST(TreeFind, EnterAndDownStepThroughTheMatchesRoundAndRound) {
    FindWindow w;
    w.Press(Qt::Key_F, Qt::ControlModifier);
    w.Type("cr1");
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"TIM2", "CR1"}));
    w.Press(Qt::Key_Return);
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"UART1", "CR1"}));
    w.Press(Qt::Key_Down);
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"TIM2", "CR1"}));
    w.Press(Qt::Key_Up);
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"UART1", "CR1"}));
    EXPECT_TRUE(w.window.isVisible()) << "Enter belongs to the find, not to the window";
}

TEST(TreeFind, EscapeRestoresTheTreeKeepsTheFocusedRowAndGivesTheKeyboardBack) {
    FindWindow w;
    w.window.View()->expand(w.Index({"RCC"}));
    const int all = w.Shown();
    w.Press(Qt::Key_F, Qt::ControlModifier);
    w.Type("parity");
    CPropTreeItem* found = w.tree.GetFocusedItem();
    ASSERT_NE(found, nullptr);
    w.Press(Qt::Key_Escape);
    EXPECT_EQ(w.Shown(), all);
    EXPECT_FALSE(w.window.Find()->IsOpen());
    EXPECT_EQ(QApplication::focusWidget(), w.window.View());
    EXPECT_EQ(w.tree.GetFocusedItem(), found);
    EXPECT_EQ(w.window.View()->currentIndex(), w.window.Model()->IndexFromItem(found));
    EXPECT_TRUE(w.window.View()->isExpanded(w.Index({"RCC"}))) << "as it was before Ctrl+F";
    EXPECT_FALSE(w.window.View()->isExpanded(w.Index({"TIM2"})));
    EXPECT_TRUE(w.window.View()->isExpanded(w.window.Model()->IndexFromItem(found->GetParent()))) << "the row in view";
}

TEST(TreeFind, NoMatchShowsNothingAndLeavesTheFocusedRow) {
    FindWindow w;
    w.tree.UserSelectItem(w.Row({"RCC", "CR"}));
    w.Press(Qt::Key_F, Qt::ControlModifier);
    w.Type("#");  // in no label and no named value
    EXPECT_EQ(w.Shown(), 0);
    EXPECT_EQ(w.tree.GetFocusedItem(), w.Row({"RCC", "CR"}));
}

// Several words, typed with spaces or dots, find the rows along whose path
// they stand in their order; the first such row is focused. Where none
// does, the row the text before the last keystroke focused stays.
TEST(TreeFind, FindsRowsByTheWordsAlongTheirPath) {
    const struct {
        const char* typed;
        int shown;
        std::vector<std::string> focused;
    } cases[] = {
        {"uart1 cr1 parity", 3, {"UART1", "CR1", "PARITY"}},
        {"Uart1 CR1 Parity", 3, {"UART1", "CR1", "PARITY"}},
        {"UART1.CR1", 14, {"UART1", "CR1"}},  // the register and its 12 fields
        {"uart1 odd", 3, {"UART1", "CR1", "PARITY"}},  // a named value counts for its field
        {"uart1 cr1 parity odd", 3, {"UART1", "CR1", "PARITY"}},
        {"tim2 cr1 en", 4, {"TIM2", "CR1", "EN"}},  // and CMS by "Centre-aligned"
        {"odd", 3, {"UART1", "CR1", "PARITY"}},  // one word as ever
        {"cr1 uart1", 0, {}},
        {"uart1 cr1 odd parity", 0, {}},
        {"uart1 tim2", 0, {}},
    };
    for (const auto& c : cases) {
        FindWindow w;
        w.Press(Qt::Key_F, Qt::ControlModifier);
        const std::string typed = c.typed;
        w.Type(typed.substr(0, typed.size() - 1).c_str());
        const CPropTreeItem* before = w.tree.GetFocusedItem();
        w.Type(typed.substr(typed.size() - 1).c_str());
        EXPECT_EQ(w.Shown(), c.shown) << c.typed;
        EXPECT_EQ(w.tree.GetFocusedItem(), c.focused.empty() ? before : w.Row(c.focused)) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), w.window.Find()->Field()) << c.typed;
    }
}

// A register found by its path (several words) is shown expanded, its
// fields on screen, as a matched field's register is; one word matching a
// register leaves it collapsed, its fields a click away as ever.
TEST(TreeFind, ARegisterFoundByItsPathShowsItsFieldsExpanded) {
    const struct {
        const char* typed;
        std::vector<std::string> reg;
        bool expanded;
    } cases[] = {
        {"UART1.CR1", {"UART1", "CR1"}, true},
        {"uart1 cr1", {"UART1", "CR1"}, true},
        {"tim2 cnt", {"TIM2", "CNT"}, true},
        {"cr1", {"UART1", "CR1"}, false},
        {"cnt", {"TIM2", "CNT"}, false},
    };
    for (const auto& c : cases) {
        FindWindow w;
        w.Press(Qt::Key_F, Qt::ControlModifier);
        w.Type(c.typed);
        const QModelIndex reg = w.Index(c.reg);
        ASSERT_TRUE(reg.isValid()) << c.typed;
        EXPECT_TRUE(w.window.View()->isExpanded(reg.parent())) << c.typed;
        EXPECT_EQ(w.window.View()->isExpanded(reg), c.expanded) << c.typed;
        // The first field is laid out below its register, or not at all.
        const QModelIndex field = w.window.Model()->index(0, 0, reg);
        ASSERT_TRUE(field.isValid()) << c.typed;
        EXPECT_EQ(w.window.View()->visualRect(field).isValid(), c.expanded) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), w.window.Find()->Field()) << c.typed;
    }
}

// "No row matches '...'" over the rows' area while the text typed so far
// shows no row, gone again as soon as it shows some, is cleared or the find
// ends; the find field stays, and the user goes on typing in it.
TEST(TreeFind, SaysWhenNoRowMatchesUntilTheTextChanges) {
    FindWindow w;
    const QLabel* note = w.window.Find()->NoMatchNote();
    w.Press(Qt::Key_F, Qt::ControlModifier);
    const struct {
        Qt::Key key;  // pressed first, unless Qt::Key_unknown
        Qt::KeyboardModifiers modifiers;
        const char* typed;
        const char* note;  // shown; nothing for none
    } steps[] = {
        {Qt::Key_unknown, Qt::NoModifier, "uart1 zz", "No row matches 'uart1 zz'"},
        {Qt::Key_Backspace, Qt::NoModifier, "", "No row matches 'uart1 z'"},
        {Qt::Key_Backspace, Qt::NoModifier, "", nullptr},  // "uart1 ": the set
        {Qt::Key_unknown, Qt::NoModifier, "cr1 uart", "No row matches 'uart1 cr1 uart'"},
        {Qt::Key_A, Qt::ControlModifier, "cr1.odd", nullptr},
        {Qt::Key_unknown, Qt::NoModifier, " parity", "No row matches 'cr1.odd parity'"},
        {Qt::Key_A, Qt::ControlModifier, "", "No row matches 'cr1.odd parity'"},
        {Qt::Key_Delete, Qt::NoModifier, "", nullptr},  // an empty field: every row
        {Qt::Key_unknown, Qt::NoModifier, "#", "No row matches '#'"},
        {Qt::Key_Escape, Qt::NoModifier, "", nullptr},
        {Qt::Key_F, Qt::ControlModifier, "", nullptr},  // opened again, empty
    };
    for (const auto& step : steps) {
        if (step.key != Qt::Key_unknown) w.Press(step.key, step.modifiers);
        w.Type(step.typed);
        const std::string label = w.window.Find()->Field()->text().toStdString();
        EXPECT_EQ(note->isVisible(), step.note != nullptr) << label;
        if (!step.note) continue;
        EXPECT_EQ(note->text().toStdString(), step.note);
        EXPECT_EQ(note->geometry(), w.window.View()->viewport()->geometry()) << "over the rows' area";
        EXPECT_EQ(w.Shown(), 0) << label;
        EXPECT_TRUE(w.window.Find()->Field()->isVisible()) << label;
        EXPECT_EQ(QApplication::focusWidget(), w.window.Find()->Field()) << label;
    }
}

// The rows are laid out for the find when it opens, and that memory is given
// back when it closes.
TEST(TreeFind, LaysTheRowsOutWhileOpenAndGivesThemBackOnEscape) {
    FindWindow w;
    EXPECT_EQ(w.window.Model()->FindIndex(), nullptr);
    w.Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_NE(w.window.Model()->FindIndex(), nullptr);
    w.Type("cr");
    EXPECT_NE(w.window.Model()->FindIndex(), nullptr);
    w.Press(Qt::Key_Escape);
    EXPECT_EQ(w.window.Model()->FindIndex(), nullptr);
    EXPECT_EQ(w.window.Model()->Filter(), nullptr);
}

}  // namespace
