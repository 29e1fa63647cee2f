// SPDX-License-Identifier: MIT
// Values in the main window: a dump pasted into the tree, values files
// saved, opened and compared, a raw image with its address asked for, and a
// register found by its address.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <fstream>
#include <sstream>
#include <iterator>

#include "app/Decode.h"
#include "framework/FileDialog.h"
#include "framework/InputBox.h"
#include "res/resource.h"
#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tests/MessageRecorder.h"
#include "tests/TempDir.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeModel.h"
#include "ui/BitGrid.h"

namespace {

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";

std::string Text(QLineEdit* box) { return box->text().toStdString(); }

bool Changed(CRegisterDlg& dlg, const std::vector<std::string>& path) {
    CPropTreeItem* row = FindRow(dlg.Tree(), path);
    return row && TreeWindow(dlg)->Model()->IndexFromItem(row).data(CPropTreeModel::ChangedRole).toBool();
}


TEST(GuiValues, APastedDumpGivesRegistersTheirValuesAndMarksWhatChanged) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        ClickRow(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL"}));
        EXPECT_FALSE(Changed(dlg, {"UART1", "CTRL"}));
        // As copied from a terminal running GDB, the command line included.
        QApplication::clipboard()->setText("(gdb) x/2wx 0x40004800\n0x40004800 <UART1>:\t0x0000000d\t0x00000000\n");
        MessageRecorder boxes;
        PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(boxes.boxes.empty()) << "the command line is passed over: " << boxes.boxes[0].text;
        EXPECT_EQ(Text(HexBox(dlg)), "0x0000000d");
        EXPECT_EQ(Text(DecimalBox(dlg)), "13");
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL"})), "0x0000000d");
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL", "TXPAR"})), "Odd");
        EXPECT_TRUE(Changed(dlg, {"UART1", "CTRL"}));
        EXPECT_TRUE(Changed(dlg, {"UART1", "CTRL", "EN"}));
        EXPECT_FALSE(Changed(dlg, {"UART0", "CTRL"}));
        EXPECT_EQ(dlg.Commands().Grid()->ChangedBits(), 0xdu);

        // "Changed only" shows just the changed register and fields, with the find text or without.
        const CPropTreeModel* model = TreeWindow(dlg)->Model();
        PressInTree(dlg, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        ASSERT_EQ(model->rowCount(), 1);
        EXPECT_EQ(model->index(0, 0).data().toString(), "UART1");
        const QModelIndex uart = model->index(0, 0, model->index(0, 0));
        EXPECT_EQ(uart.data().toString(), "CTRL");
        std::vector<std::string> fields;
        for (int row = 0; row < model->rowCount(uart); ++row)
            fields.push_back(model->index(row, 0, uart).data().toString().toStdString());
        EXPECT_EQ(fields, (std::vector<std::string>{"EN", "TXPAR"}));
        QTest::keyClicks(TreeWindow(dlg)->Find()->Field(), "txpar");
        ASSERT_EQ(model->rowCount(), 1);
        EXPECT_EQ(model->rowCount(model->index(0, 0, model->index(0, 0))), 1);
        QTest::keyClick(TreeWindow(dlg)->Find()->Field(), Qt::Key_Escape);
        EXPECT_GT(model->rowCount(), 1);

        // Reset value takes it back.
        PressInTree(dlg, Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(Text(HexBox(dlg)), "0x00000000");
        EXPECT_FALSE(Changed(dlg, {"UART1", "CTRL"}));
        EXPECT_EQ(dlg.Commands().Grid()->ChangedBits(), 0u);
    });
}

// Whether `row` is in the part of the rows the view shows now.
bool InView(CRegisterDlg& dlg, CPropTreeItem* row) {
    const CPropTreeView* view = TreeWindow(dlg)->View();
    const QRect shown = view->visualRect(TreeWindow(dlg)->Model()->IndexFromItem(row));
    return shown.isValid() && view->viewport()->rect().contains(shown);
}

void ExpectSelectedInView(CRegisterDlg& dlg, CPropTreeItem* row, const char* what) {
    ASSERT_NE(row, nullptr) << what;
    EXPECT_EQ(dlg.Tree().GetFocusedItem(), row) << what;
    EXPECT_EQ(TreeWindow(dlg)->View()->currentIndex().siblingAtColumn(0),
              TreeWindow(dlg)->Model()->IndexFromItem(row))
        << what;
    EXPECT_TRUE(InView(dlg, row)) << what;
}

// Hides `register` from view: its parent collapsed and the rows scrolled to the top.
void PutOutOfView(CRegisterDlg& dlg, CPropTreeItem* reg) {
    TreeWindow(dlg)->View()->collapse(TreeWindow(dlg)->Model()->IndexFromItem(reg->GetParent()));
    TreeWindow(dlg)->View()->scrollToTop();
    ASSERT_FALSE(InView(dlg, reg));
}

TEST(GuiValues, ATerminalSessionPastedOrOpenedGivesItsValuesWithoutABoxAndSelectsTheFirstRegister) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string openocd =
        dir.Write("openocd.log", "> mdw 0x40004800 2\r\n0x40004800: 0000000d 00000000 \r\n\r\n> \r\n");
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        ClickRow(dlg, FindRow(dlg.Tree(), {"RCC", "CR"}));
        CPropTreeItem* channel = FindRow(dlg.Tree(), {"DMA", "CH[3].CTRL"});
        PutOutOfView(dlg, channel);

        // A GDB session as copied from its terminal, prompts and command included.
        QApplication::clipboard()->setText("(gdb) x/4wx 0x40020044\n"
                                           "0x40020044 <dma+68>:\t0x00000201\t0x20000000\n"
                                           "0x4002004c <dma+76>:\t0x40004810\t0x00000010\n"
                                           "(gdb) ");
        MessageRecorder boxes;
        PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
        EXPECT_EQ(ShownValue(dlg, channel), "0x00000201");
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"DMA", "CH[3].COUNT"})), "0x00000010");
        ExpectSelectedInView(dlg, channel, "pasted");
        EXPECT_EQ(Text(HexBox(dlg)), "0x00000201");  // the boxes follow the selected register

        // An OpenOCD telnet session opened as a values file.
        CPropTreeItem* uart = FindRow(dlg.Tree(), {"UART1", "CTRL"});
        PutOutOfView(dlg, uart);
        CFileDialog::SetChooser([&openocd](const CFileDialog&) { return openocd; });
        PressInTree(dlg, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
        EXPECT_EQ(ShownValue(dlg, uart), "0x0000000d");
        ExpectSelectedInView(dlg, uart, "opened");

        // What a terminal shows that is no values line still gets its box,
        // and the register given is selected all the same.
        QApplication::clipboard()->setText("(gdb) p/x $r0\n$1 = 0x83\n0x40021000 <RCC>:\t0x00000083\n");
        PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_NE(boxes.boxes[0].text.find("\nline 2: not a values line"), std::string::npos) << boxes.boxes[0].text;
        EXPECT_EQ(boxes.boxes[0].text.find("line 1:"), std::string::npos) << boxes.boxes[0].text;
        ExpectSelectedInView(dlg, FindRow(dlg.Tree(), {"RCC", "CR"}), "pasted with a problem");
    });
}

// The keyboard starts in the hex box: a session pasted there is values too,
// not a line of text the box cannot hold; a number is pasted as typed.
TEST(GuiValues, ASessionPastedIntoTheHexBoxIsValues) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        ClickRow(dlg, FindRow(dlg.Tree(), {"RCC", "CR"}));
        QLineEdit* hex = HexBox(dlg);
        hex->setFocus();
        QApplication::clipboard()->setText("(gdb) x/2wx 0x40004800\n0x40004800 <UART1>:\t0x0000000d\t0x00000000\n(gdb) ");
        MessageRecorder boxes;
        QTest::keyClick(hex, Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL"})), "0x0000000d");
        EXPECT_EQ(Text(HexBox(dlg)).find("gdb"), std::string::npos) << Text(HexBox(dlg));

        ClickRow(dlg, FindRow(dlg.Tree(), {"RCC", "CR"}));
        hex->setFocus();
        hex->clear();
        QApplication::clipboard()->setText("0x83");
        QTest::keyClick(hex, Qt::Key_V, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(Text(HexBox(dlg)), "0x83");
    });
}

TEST(GuiValues, SavedValuesOpenAgainToTheSameValuesAndCompare) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string saved = (dir.Path() / "board.txt").string();
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        ClickRow(dlg, FindRow(dlg.Tree(), {"DMA", "CH[1].CTRL"}));
        QTest::keyClicks(HexBox(dlg), "1");  // 0x000002001
        CFileDialog::SetChooser([&saved](const CFileDialog& dialog) {
            EXPECT_TRUE(dialog.IsSave());
            return saved;
        });
        PressInTree(dlg, Qt::Key_S, Qt::ControlModifier);
        std::ifstream in(saved);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.rfind("# tavlin values for chip.svd\nRCC.CR = 0x00000083\n", 0), 0u) << text;
        EXPECT_NE(text.find("\nDMA.CH[1].CTRL = 0x00002001\n"), std::string::npos) << text;

        // The saved values, opened over a fresh load, give the same value.
        OpenMapFile(dlg, chip);
        EXPECT_FALSE(Changed(dlg, {"DMA", "CH[1].CTRL"}));
        CFileDialog::SetChooser([&saved](const CFileDialog& dialog) {
            EXPECT_FALSE(dialog.IsSave());
            return saved;
        });
        MessageRecorder boxes;
        PressInTree(dlg, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"DMA", "CH[1].CTRL"})), "0x00002001");
        EXPECT_TRUE(Changed(dlg, {"DMA", "CH[1].CTRL"}));
        // Compared with the same file, nothing differs any more.
        PressInTree(dlg, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(Changed(dlg, {"DMA", "CH[1].CTRL"}));
        EXPECT_TRUE(boxes.boxes.empty());
    });
}

TEST(GuiValues, ARawImageAsksForItsAddressAndFindFindsARegisterByAddress) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const std::string image = dir.Write("uart1.bin", std::string("\x0d\x00\x00\x00", 4));
    std::string asked;
    AfxSetInputBoxAsker([&asked](const std::string& prompt, const std::string&) {
        asked = prompt;
        return std::optional<std::string>("0x40004800");
    });
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        CFileDialog::SetChooser([&image](const CFileDialog&) { return image; });
        PressInTree(dlg, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_NE(asked.find("uart1.bin"), std::string::npos) << asked;
        EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL"})), "0x0000000d");

        // Ctrl+F and an address inside UART1.CTRL's bytes selects it.
        PressInTree(dlg, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(TreeWindow(dlg)->Find()->Field(), "0x40004802");
        CPropTreeItem* focused = dlg.Tree().GetFocusedItem();
        ASSERT_NE(focused, nullptr);
        EXPECT_STREQ(focused->GetLabelText(), "CTRL");
        EXPECT_STREQ(focused->GetParent()->GetLabelText(), "UART1");
        EXPECT_EQ(Text(HexBox(dlg)), "0x0000000d");
    });
    AfxSetInputBoxAsker({});
}

// What --decode prints for a dump, written from what the window's rows show
// once the same dump is pasted: for each register given a value, its path,
// Address column and value, then each field's label, Bits column (without
// RO/WO) and value, in the tree's order.
std::string RowsAsDecoded(CRegisterDlg& dlg) {
    const CPropTreeModel* model = TreeWindow(dlg)->Model();
    const auto column = [model](CPropTreeItem* row, int column) {
        std::string text = model->IndexFromItem(row, column).data().toString().toStdString();
        for (const char* access : {" RO", " WO"})
            if (text.size() > 3 && text.compare(text.size() - 3, 3, access) == 0) text.resize(text.size() - 3);
        return text;
    };
    std::string text;
    for (CPropTreeItem* set = dlg.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling())
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling()) {
            const auto held = dlg.Map().ValueOf(*static_cast<CRegisterItem*>(reg));
            if (!held || held->source != ValueSource::ValuesFile) continue;
            text += std::string(set->GetLabelText()) + "." + reg->GetLabelText() + " @" +
                    column(reg, CPropTreeModel::AddressColumn) + " = " + ShownValue(dlg, reg) + "\n";
            for (CPropTreeItem* field = reg->GetChild(); field; field = field->GetSibling())
                text += "  " + std::string(field->GetLabelText()) + " [" + column(field, CPropTreeModel::BitsColumn) +
                        "] = " + ShownValue(dlg, field) + "\n";
        }
    return text;
}

TEST(GuiValues, DecodePrintsWhatTheRowsShowForEachFormOfDump) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    const struct {
        const char* form;
        const char* dump;
    } cases[] = {
        {"gdb x/4wx, over a gap", "0x40021000 <RCC>:\t0x03010083\t0x001d0402\t0x00000000\t0x00000000\n"},
        {"gdb x/8xh", "0x40004800 <UART1>:\t0x000d\t0x0000\t0x0301\t0x0000\n"},
        {"gdb x/8xb", "0x40004800:\t0x0d\t0x00\t0x00\t0x00\t0xff\t0x00\t0x00\t0x00\n"},
        {"openocd mdw", "0x40020008: 00000201 00000000 00003112 \n"},
        {"address value", "40021004 00000404\n0x40004800: 0x5\n0x40021000 = 0x1\n"},
        {"name = value", "RCC.CFGR = 0x00000002\nDMA.CH[1].CTRL = 0x00002001\nUART0.CTRL = 0xc\n"},
        {"gdb session", "(gdb) x/4xh 0x40004800\n0x40004800 <UART1>:\t0x000d\t0x0000\t0x0301\t0x0000\n(gdb) \n"},
        {"openocd session", "> mdw 0x40020008 3\r\n0x40020008: 00000201 00000000 00003112 \r\n> \r\n"},
    };
    for (const auto& c : cases) {
        const std::string values = dir.Write("values.txt", c.dump);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunDecode({{chip, std::nullopt}, {values}, std::nullopt, false, ""}, out, err), 0) << c.form << ": " << err.str();
        RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
            OpenMapFile(dlg, chip);
            ClickRow(dlg, FindRow(dlg.Tree(), {"RCC"}));
            QApplication::clipboard()->setText(c.dump);
            MessageRecorder boxes;
            PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
            // What --decode tells on standard error, the window tells in one box after its first line.
            std::string told;
            if (!boxes.boxes.empty()) told = boxes.boxes[0].text.substr(boxes.boxes[0].text.find('\n') + 1) + "\n";
            std::string expected = err.str();
            for (std::size_t at; (at = expected.find(values + ": ")) != std::string::npos;)
                expected.erase(at, values.size() + 2);  // --decode names the file on each line
            EXPECT_EQ(told, expected) << c.form;
            EXPECT_NE(out.str(), "") << c.form;
            EXPECT_EQ(RowsAsDecoded(dlg), out.str()) << c.form;
        });
    }
}

}  // namespace
