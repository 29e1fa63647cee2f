// SPDX-License-Identifier: MIT
// A field that names what a read gives apart from what a write does: the
// value is named by the read names on every path it is shown on (the row,
// the bit grid, --decode), the drop-down offers the write names, and a
// default entry names what no other entry of its set names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tests/CommandLineRun.h"
#include "tests/GuiHarness.h"
#include "tests/TempDir.h"
#include "tree/PropTreeModel.h"
#include "ui/BitGrid.h"

namespace {

// INTENSET as Nordic's maps write it: read Disabled/Enabled, write Set; MODE
// with one set and a default; LEVEL whose read set is derived from another field's.
const char* const kSvd = R"(<?xml version="1.0"?>
<device><name>D</name><width>32</width><size>32</size><resetValue>0</resetValue>
<peripherals><peripheral><name>POWER</name><baseAddress>0x40000000</baseAddress>
<registers><register><name>INTENSET</name><addressOffset>0x304</addressOffset><fields>
  <field><name>POFWARN</name><bitRange>[2:2]</bitRange>
    <enumeratedValues><usage>read</usage>
      <enumeratedValue><name>Disabled</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>Enabled</name><value>1</value></enumeratedValue></enumeratedValues>
    <enumeratedValues><usage>write</usage>
      <enumeratedValue><name>Set</name><value>1</value></enumeratedValue></enumeratedValues></field>
  <field><name>MODE</name><bitRange>[5:4]</bitRange>
    <enumeratedValues><enumeratedValue><name>Off</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>Reserved</name><isDefault>true</isDefault></enumeratedValue></enumeratedValues></field>
  <field><name>BASE</name><bitRange>[8:8]</bitRange>
    <enumeratedValues><name>LevelRead</name><usage>read</usage>
      <enumeratedValue><name>Low</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>High</name><value>1</value></enumeratedValue></enumeratedValues>
    <enumeratedValues><usage>write</usage><enumeratedValue><name>Raise</name><value>1</value></enumeratedValue></enumeratedValues></field>
  <field><name>LEVEL</name><bitRange>[9:9]</bitRange>
    <enumeratedValues derivedFrom="LevelRead"><usage>read</usage></enumeratedValues>
    <enumeratedValues><usage>write</usage><enumeratedValue><name>Raise</name><value>1</value></enumeratedValue></enumeratedValues></field>
</fields></register></registers></peripheral></peripherals></device>
)";

TEST(ReadNames, EveryPathNamesTheValueByItsReadNames) {
    const TempDir folder;
    const std::string map = folder.Write("power.svd", kSvd);
    const std::string values = folder.Write("values.txt", "POWER.INTENSET = 0x00000214\n");
    const Outcome decoded = RunTavlin({"--decode", map, values});
    ASSERT_EQ(decoded.code, 0) << decoded.err;
    EXPECT_EQ(decoded.out,
              "POWER.INTENSET @0x40000304 = 0x00000214\n"
              "  POFWARN [2] = Enabled\n"
              "  MODE [5:4] = Reserved\n"
              "  BASE [8] = Low\n"
              "  LEVEL [9] = High\n");

    RunMainDialog("", [&](CRegisterDlg& dlg) {
        dlg.OpenFile(map.c_str());
        CPropTreeItem* reg = FindRow(dlg.Tree(), {"POWER", "INTENSET"});
        CPropTreeItem* pofwarn = FindRow(dlg.Tree(), {"POWER", "INTENSET", "POFWARN"});
        CPropTreeItem* mode = FindRow(dlg.Tree(), {"POWER", "INTENSET", "MODE"});
        ASSERT_TRUE(reg && pofwarn && mode);
        ClickRow(dlg, reg);
        const struct {
            const char* hex;
            const char* pofwarn;  // the row's text
            const char* mode;
            const char* tip;      // the grid's tooltip of bit 2, its first line
        } cases[] = {
            {"0x4", "Enabled", "Off", "POFWARN (2) = 0x1 Enabled"},
            {"0x0", "Disabled", "Off", "POFWARN (2) = 0x0 Disabled"},
            {"0x30", "Disabled", "Reserved", "POFWARN (2) = 0x0 Disabled"},
        };
        for (const auto& c : cases) {
            HexBox(dlg)->setText(c.hex);
            QApplication::processEvents();
            EXPECT_EQ(ShownValue(dlg, pofwarn), c.pofwarn) << c.hex;
            EXPECT_EQ(ShownValue(dlg, mode), c.mode) << c.hex;
            const QString tip = dlg.Commands().Grid()->ToolTipOf(2);
            EXPECT_EQ(tip.section('\n', 0, 0).toStdString(), c.tip) << c.hex;
        }
        const std::string description =
            TreeWindow(dlg)->Model()->IndexFromItem(pofwarn, CPropTreeModel::LabelColumn).data(Qt::ToolTipRole).toString().toStdString();
        EXPECT_NE(description.find("read: Disabled = 0x0; Enabled = 0x1"), std::string::npos) << description;
        EXPECT_NE(description.find("write: Set = 0x1"), std::string::npos) << description;
    });
}

TEST(ReadNames, TheDropDownOffersTheWriteNamesAndShowsTheReadName) {
    const TempDir folder;
    const std::string map = folder.Write("power.svd", kSvd);
    RunMainDialog("", [&](CRegisterDlg& dlg) {
        dlg.OpenFile(map.c_str());
        CPropTreeItem* pofwarn = FindRow(dlg.Tree(), {"POWER", "INTENSET", "POFWARN"});
        ASSERT_NE(pofwarn, nullptr);
        ClickRow(dlg, pofwarn);
        CPropTreeView* view = TreeWindow(dlg)->View();
        const QModelIndex value = TreeWindow(dlg)->Model()->IndexFromItem(pofwarn, CPropTreeModel::ValueColumn);
        view->setCurrentIndex(value);
        view->edit(value);
        auto* box = qobject_cast<QComboBox*>(view->indexWidget(value));
        ASSERT_NE(box, nullptr);
        box->hidePopup();
        // The value's read name stands first and chosen; then the write names, nothing read.
        std::vector<std::string> items;
        for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
        EXPECT_EQ(items, (std::vector<std::string>{"Disabled", "Set"}));
        EXPECT_EQ(box->currentIndex(), 0);
        // Choosing Set composes the value a write of Set makes: the row then reads Enabled.
        box->setCurrentIndex(1);
        Q_EMIT box->activated(1);
        QApplication::processEvents();
        EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x00000004");
        EXPECT_EQ(ShownValue(dlg, pofwarn), "Enabled");
    });
}

}  // namespace
