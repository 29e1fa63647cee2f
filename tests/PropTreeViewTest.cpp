// SPDX-License-Identifier: MIT
// The tree on screen driven by the keyboard: keys that move or cancel never
// change a value, and F2 edits wherever the cursor stands in the row.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "tree/PropTree.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"

namespace {

// One set, one register: an edit field and a drop-down of three entries.
constexpr const char* kTree =
    "<tavlin><regset name=\"S\" info=\"s\"><register name=\"R\" bits=\"8\" value=\"0\" info=\"r\">"
    "<field name=\"E\" kind=\"edit\" info=\"e\" low=\"0\" high=\"3\"></field>"
    "<field name=\"C\" kind=\"combo\" info=\"c\" low=\"4\" high=\"5\">"
    "<select name=\"A\" value=\"0\"/><select name=\"B\" value=\"1\"/><select name=\"D\" value=\"2\"/></field>"
    "</register></regset></tavlin>";

struct Window {
    Window() : window(tree, nullptr) {
        LoadDefinitionsText(map, kTree, "test.xml");
        window.resize(300, 400);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.View()->expandAll();
        window.View()->setFocus();
        window.View()->setCurrentIndex(window.Model()->index(0, 0));
        QApplication::processEvents();
    }
    CPropTreeItem* Row(const char* label) {
        CPropTreeItem* reg = tree.GetRootItem()->GetChild()->GetChild();
        for (CPropTreeItem* row = reg->GetChild(); row; row = row->GetSibling())
            if (std::string(row->GetLabelText()) == label) return row;
        return nullptr;
    }
    // The editor open on `row`'s value, or null.
    QWidget* EditorOf(CPropTreeItem* row) {
        return window.View()->indexWidget(window.Model()->IndexFromItem(row, CPropTreeModel::ValueColumn));
    }
    void Press(Qt::Key key) {
        // Keys go where the keyboard focus is: in an open list, to the list itself.
        QWidget* target = QApplication::focusWidget();
        if (QWidget* popup = QApplication::activePopupWidget()) target = popup->focusWidget() ? popup->focusWidget() : popup;
        QTest::keyClick(target ? target : window.View(), key);
        // Editors open and lists show a moment after the key.
        QTest::qWait(20);
    }

    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CFieldTable& table = map.Fields();
    CPropTreeWindow window;
};

TEST(TreeKeyboard, F2EditsTheValueAfterTheArrowKeysMoved) {
    Window w;
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) w.Press(key);
    ASSERT_EQ(w.tree.GetFocusedItem(), w.Row("E"));
    w.Press(Qt::Key_F2);
    ASSERT_TRUE(w.EditorOf(w.Row("E")));
    EXPECT_EQ(QApplication::focusWidget(), w.EditorOf(w.Row("E")));
}

TEST(TreeKeyboard, EscapeOnAnOpenListClosesItsEditorAndChangesNothing) {
    Window w;
    CPropTreeItem* combo = w.Row("C");
    w.tree.SetFocusedItem(combo);
    QApplication::processEvents();
    w.Press(Qt::Key_F2);
    ASSERT_TRUE(QApplication::activePopupWidget()) << "the list opens with the editor";
    w.Press(Qt::Key_Escape);
    EXPECT_FALSE(QApplication::activePopupWidget());
    EXPECT_FALSE(w.EditorOf(combo));
    EXPECT_EQ(QApplication::focusWidget(), w.window.View());
    // Keys that move go to the tree now, not to a hidden editor.
    w.Press(Qt::Key_Up);
    w.Press(Qt::Key_Down);
    w.Press(Qt::Key_Down);
    EXPECT_EQ(combo->GetItemValue(), 0);
}

TEST(TreeKeyboard, ChoosingAnEntryFromTheOpenListCommitsIt) {
    Window w;
    CPropTreeItem* combo = w.Row("C");
    w.tree.SetFocusedItem(combo);
    QApplication::processEvents();
    w.Press(Qt::Key_F2);
    ASSERT_TRUE(QApplication::activePopupWidget());
    w.Press(Qt::Key_Down);
    w.Press(Qt::Key_Return);
    EXPECT_EQ(combo->GetItemValue(), 1);
    EXPECT_FALSE(w.EditorOf(combo));
}

// The widths the window is given hold through the resets of the rows a find
// makes at every keystroke, and no column passes through another width on
// the way: whoever follows the widths (the window's settings file) hears of
// no change.
TEST(TreeColumns, ResetsOfTheRowsKeepTheWidthsGivenWithoutChangingThem) {
    Window w;
    const struct {
        QList<int> given;
        int label, bits;
    } cases[] = {
        {{140, 70, 90}, 140, 70},
        {{110}, 110, -1},  // the bits column as the window makes it
    };
    for (const auto& c : cases) {
        w.window.SetColumnWidths(c.given);
        w.window.Model()->SetFilter("E");
        w.window.Model()->SetFilter({});
        const int bits = w.window.View()->columnWidth(CPropTreeModel::BitsColumn);
        QSignalSpy resized(w.window.View()->header(), &QHeaderView::sectionResized);
        for (const char* text : {"C", "", "zzz", "E", ""}) w.window.Model()->SetFilter(text);
        EXPECT_EQ(resized.count(), 0) << c.given.size();
        EXPECT_EQ(w.window.View()->columnWidth(CPropTreeModel::LabelColumn), c.label);
        EXPECT_EQ(w.window.View()->columnWidth(CPropTreeModel::BitsColumn), c.bits < 0 ? bits : c.bits);
    }
}

}  // namespace
