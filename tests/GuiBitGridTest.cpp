// SPDX-License-Identifier: MIT
// The register at a glance: the bit grid and the row commands, driven
// through the real widgets. A bit toggled must do exactly what typing the
// same value into the hex box does.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "tests/GuiHarness.h"
#include "tree/PropTreeItemEdit.h"
#include "ui/BitGrid.h"

namespace {

const char* const kDefinitions = R"(<tavlin>
<regset n="Timers" d="Counters">
  <register n="CTRL" w="12" v="0x0a5" d="Control">
    <field n="LOW" k="edit" d="Low nibble" l="0" h="3"></field>
    <field n="MODE" k="combo" d="Mode" l="4" h="7"><select n="Slow" v="0"/><select n="Fast" v="2"/></field>
  </register>
  <register n="WIDE" w="64" v="0x0" d="Wide">
    <field n="HIGH" k="edit" d="Upper half" l="32" h="63"></field>
  </register>
</regset>
</tavlin>
)";

std::string Text(QLineEdit* box) { return box->text().toStdString(); }
std::string RowText(CPropTreeItem* row) { return static_cast<CPropTreeItemEdit*>(row)->GetText(); }

struct Shown {
    std::string hex, decimal, low, mode;
};
Shown Take(CRegisterDlg& dlg) {
    return {Text(HexBox(dlg)), Text(DecimalBox(dlg)), RowText(FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"})),
            ShownValue(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "MODE"}))};
}

void ClickBit(CBitGrid* grid, int bit) {
    QApplication::processEvents();  // the grid laid out for the register in hand
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(bit).center());
    QApplication::processEvents();
}

TEST(GuiBitGrid, ClickingOrSpacingABitDoesWhatTypingTheValueDoes) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL"}));
        CBitGrid* grid = dlg.Commands().Grid();
        ASSERT_EQ(grid->Bits(), 12);
        // The list is sorted, so MODE starts at Fast (2): the register is 0x20.
        ASSERT_EQ(Text(HexBox(dlg)), "0x20");
        ClickBit(grid, 5);  // MODE's bit 1: Fast -> Slow
        const Shown clicked = Take(dlg);
        EXPECT_EQ(clicked.hex, "0x0");
        EXPECT_EQ(clicked.mode, "Slow");
        EXPECT_EQ(grid->Value(), 0u);

        HexBox(dlg)->setText("0x20");
        HexBox(dlg)->setText("0x0");  // the same value, typed
        const Shown typed = Take(dlg);
        EXPECT_EQ(typed.hex, clicked.hex);
        EXPECT_EQ(typed.decimal, clicked.decimal);
        EXPECT_EQ(typed.low, clicked.low);
        EXPECT_EQ(typed.mode, clicked.mode);

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End);   // bit 0
        QTest::keyClick(grid, Qt::Key_Left);  // bit 1
        QTest::keyClick(grid, Qt::Key_Space);
        EXPECT_EQ(grid->CurrentBit(), 1);
        EXPECT_EQ(Text(HexBox(dlg)), "0x2");
        EXPECT_EQ(RowText(FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"})), "0x2");
        EXPECT_EQ(Text(DecimalBox(dlg)), "2");
    });
}

TEST(GuiBitGrid, FollowsTheHexBoxAndIsEmptyForASet) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CBitGrid* grid = dlg.Commands().Grid();
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "WIDE"}));
        EXPECT_EQ(grid->Bits(), 64);
        EXPECT_GT(grid->CellRect(40).top(), -1);
        EXPECT_LT(grid->CellRect(63).top(), grid->CellRect(0).top()) << "64 bits take two lines";
        HexBox(dlg)->setText("0x1");
        EXPECT_EQ(grid->Value(), 1u);
        QTest::keyClicks(HexBox(dlg), "f");
        EXPECT_EQ(grid->Value(), 0x1fu) << "live, as the user types";
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers"}));
        EXPECT_EQ(grid->Bits(), 0);
    });
}

TEST(GuiBitGrid, EachBitIsAnAccessibleCheckBoxWithItsNumberAndValue) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL"}));
        QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(dlg.Commands().Grid());
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->childCount(), 12);
        QAccessibleInterface* bit5 = grid->child(12 - 1 - 5);  // highest bit first
        ASSERT_NE(bit5, nullptr);
        EXPECT_EQ(bit5->text(QAccessible::Name).toStdString(), "Bit 5");
        EXPECT_EQ(bit5->text(QAccessible::Value).toStdString(), "1");  // 0x20
        EXPECT_EQ(bit5->text(QAccessible::Description).toStdString(), "MODE");
        EXPECT_EQ(bit5->role(), QAccessible::CheckBox);
        EXPECT_TRUE(bit5->state().checked);
        EXPECT_EQ(grid->indexOfChild(bit5), 6);
    });
}

TEST(GuiBitGrid, ResetValueAndCopyCommands) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* ctrl = FindRow(dlg.Tree(), {"Timers", "CTRL"});
        ClickRow(dlg, ctrl);
        HexBox(dlg)->setText("0x0ff");
        QTest::keyClick(TreeWindow(dlg)->View(), Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(Text(HexBox(dlg)), "0xa5") << "the register's value text, as the hex box writes it";
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "MODE"})), "10");

        QApplication::clipboard()->clear();
        TreeWindow(dlg)->View()->setFocus();
        QTest::keyClick(TreeWindow(dlg)->View(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "0xa5");
        QTest::keyClick(TreeWindow(dlg)->View(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "CTRL = 0xa5\nLOW = 0x5\nMODE = 0xa");
    });
}

// The cells share the grid's width, so a wider window gives names more room,
// and the field in hand is highlighted as the selection moves.
TEST(GuiBitGrid, SpreadsOverItsWidthAndHighlightsTheFieldInHand) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL"}));
        CBitGrid* grid = dlg.Commands().Grid();
        EXPECT_EQ(grid->Highlight(), std::nullopt) << "a register has no field in hand";
        grid->resize(600, grid->height());
        const int narrow = grid->CellRect(0).width();
        grid->resize(1200, grid->height());
        EXPECT_GT(grid->CellRect(0).width(), narrow);
        EXPECT_LT(grid->CellRect(11).left(), 1200 / 2) << "12 bits spread over the width";

        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "MODE"}));
        EXPECT_EQ(grid->Highlight(), (std::optional<std::pair<int, int>>({4, 7})));
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"}));
        EXPECT_EQ(grid->Highlight(), (std::optional<std::pair<int, int>>({0, 3})));
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers"}));
        EXPECT_EQ(grid->Highlight(), std::nullopt);
    });
}

}  // namespace
