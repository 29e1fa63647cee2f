// SPDX-License-Identifier: MIT
// Find in the tree on screen, driven by the keyboard on the example file.
#include <gtest/gtest.h>

#include <QApplication>
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
