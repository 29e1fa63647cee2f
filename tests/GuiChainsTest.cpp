// SPDX-License-Identifier: MIT
// The main dialog driven through its real widgets: what the user does in the
// tree and the two boxes, and what the dialog shows back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "res/resource.h"
#include "tests/GuiHarness.h"
#include "tree/PropTreeItemEdit.h"
#include "tree/PropTreeModel.h"

namespace {

const char* const kDefinitions = R"(<tavlin>
<regset n="Timers" d="Counters">
  <register n="CTRL" w="8" v="0x00" d="Control">
    <field n="LOW" k="edit" d="Low nibble" l="0" h="3"></field>
    <field n="MODE" k="combo" d="Mode" l="4" h="7"><select n="Slow" v="0"/><select n="Fast" v="2"/></field>
  </register>
  <register n="WIDE" w="16" v="0x0000" d="Wide">
    <field n="NIB" k="edit" d="Bits 4 to 7" l="4" h="7"></field>
  </register>
</regset>
<regset n="Other" d="Nothing here"></regset>
</tavlin>
)";

std::string Text(QLineEdit* box) { return box->text().toStdString(); }

std::string RowText(CPropTreeItem* row) { return static_cast<CPropTreeItemEdit*>(row)->GetText(); }

QWidget* OpenEditor(CRegisterDlg& dlg, CPropTreeItem* row) {
    ClickRow(dlg, row);
    CPropTreeView* view = TreeWindow(dlg)->View();
    const QModelIndex value = TreeWindow(dlg)->Model()->IndexFromItem(row, CPropTreeModel::ValueColumn);
    view->setCurrentIndex(value);
    view->edit(value);
    return view->indexWidget(value);
}

TEST(GuiChains, ChoosingADropDownEntryComposesTheRegister) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* mode = FindRow(dlg.Tree(), {"Timers", "CTRL", "MODE"});
        CPropTreeItem* low = FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"});
        ASSERT_TRUE(mode && low);
        EXPECT_EQ(ShownValue(dlg, mode), "Fast") << "the first label in sorted order";
        for (const auto& [label, hex, decimal] : {std::tuple{"Slow", "0x00", "0"}, std::tuple{"Fast", "0x20", "32"}}) {
            auto* box = qobject_cast<QComboBox*>(OpenEditor(dlg, mode));
            ASSERT_NE(box, nullptr);
            const int index = box->findText(label);
            box->hidePopup();
            box->setCurrentIndex(index);
            Q_EMIT box->activated(index);
            QApplication::processEvents();
            EXPECT_EQ(Text(HexBox(dlg)), hex) << label;
            EXPECT_EQ(Text(DecimalBox(dlg)), decimal) << label;
            EXPECT_EQ(ShownValue(dlg, mode), label);
            EXPECT_EQ(RowText(low), "0x0");
            EXPECT_EQ(dlg.Tree().GetFocusedItem(), mode);
        }
    });
}

TEST(GuiChains, CommittingEditRowTextKeepsItsBitsAndEnterStaysInTheTree) {
    const GuiRun run = RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* nib = FindRow(dlg.Tree(), {"Timers", "WIDE", "NIB"});
        auto* editor = qobject_cast<QLineEdit*>(OpenEditor(dlg, nib));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "300");
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Text(HexBox(dlg)), "0x00c0");
        EXPECT_EQ(Text(DecimalBox(dlg)), "192");
        EXPECT_EQ(RowText(nib), "12");
        EXPECT_TRUE(dlg.m_hWnd && dlg.m_hWnd->isVisible()) << "Enter in the editor must not close the dialog";
    });
    EXPECT_EQ(run.result, IDCANCEL);
}

TEST(GuiChains, TypingIntoTheHexBoxRewritesTheFieldsAtEveryKeystroke) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* nib = FindRow(dlg.Tree(), {"Timers", "WIDE", "NIB"});
        ClickRow(dlg, nib);
        QLineEdit* hex = HexBox(dlg);
        hex->setFocus();
        hex->selectAll();
        const struct {
            char key;
            const char* row;
            const char* decimal;
        } steps[] = {{'0', "0x0", "0"}, {'x', "0x0", "0"}, {'1', "0x0", "1"}, {'f', "0x1", "31"}, {'0', "0xf", "496"}};
        std::string typed;
        for (const auto& step : steps) {
            QTest::keyClick(hex, step.key);
            typed += step.key;
            EXPECT_EQ(Text(hex), typed) << "the hex box keeps what was typed";
            EXPECT_EQ(RowText(nib), step.row) << typed;
            EXPECT_EQ(Text(DecimalBox(dlg)), step.decimal) << typed;
        }
    });
}

TEST(GuiChains, RegisterSetFocusedTypingChangesNothingAndSelectingItEmptiesTheBoxes) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* low = FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"});
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL"}));
        EXPECT_EQ(Text(HexBox(dlg)), "0x20");
        ClickRow(dlg, low);
        EXPECT_EQ(Text(HexBox(dlg)), "0x20") << "a field row shows its register's value";

        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers"}));
        EXPECT_EQ(Text(HexBox(dlg)), "");
        EXPECT_EQ(Text(DecimalBox(dlg)), "");
        QTest::keyClicks(HexBox(dlg), "0x55");
        EXPECT_EQ(Text(DecimalBox(dlg)), "") << "nothing changes with a register set focused";
        EXPECT_EQ(RowText(low), "0x0");
    });
}

TEST(GuiChains, TypingIntoTheDecimalBoxChangesNothingElse) {
    RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        CPropTreeItem* low = FindRow(dlg.Tree(), {"Timers", "CTRL", "LOW"});
        ClickRow(dlg, low);
        QTest::keyClicks(DecimalBox(dlg), "123");
        EXPECT_EQ(Text(DecimalBox(dlg)), "32123");
        EXPECT_EQ(Text(HexBox(dlg)), "0x20");
        EXPECT_EQ(RowText(low), "0x0");
    });
}

TEST(GuiStartUp, LoaderMessageThenAboutBoxThenTheMainWindow) {
    const GuiRun bad = RunMainDialog("<tavlin><regset n=\"S\" d=\"s\"></tavlin>", [](CRegisterDlg& dlg) {
        EXPECT_NE(FindRow(dlg.Tree(), {"S"}), nullptr) << "rows before the fault stay";
    });
    EXPECT_EQ(bad.events, (std::vector<std::string>{"message: tavlin.xml: expected </regset> tag!", "about", "main"}));
    const GuiRun good = RunMainDialog(kDefinitions, [](CRegisterDlg&) {});
    EXPECT_EQ(good.events, (std::vector<std::string>{"about", "main"}));
}

TEST(GuiDialog, EnterEndsWithOkAndKeepsTheBoxTextsEscapeCancels) {
    std::string hexKept;
    const GuiRun ok = RunMainDialog(kDefinitions, [&](CRegisterDlg& dlg) {
        ClickRow(dlg, FindRow(dlg.Tree(), {"Timers", "CTRL"}));
        HexBox(dlg)->setFocus();
        QTest::keyClick(HexBox(dlg), Qt::Key_Return);
        hexKept = dlg.HexData().str() + "/" + dlg.DecimalData().str();
    });
    EXPECT_EQ(ok.result, IDOK);
    EXPECT_EQ(hexKept, "0x20/32");
    const GuiRun cancel = RunMainDialog(kDefinitions, [](CRegisterDlg& dlg) {
        QTest::keyClick(HexBox(dlg), Qt::Key_Escape);
        EXPECT_EQ(dlg.HexData().str(), "");
    });
    EXPECT_EQ(cancel.result, IDCANCEL);
}

}  // namespace
