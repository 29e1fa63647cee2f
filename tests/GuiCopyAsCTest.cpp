// SPDX-License-Identifier: MIT
// The register composed in the window as a line of C: Copy as C for the
// register in hand, Copy changed as C for what was set up, and C lines pasted
// back as values.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>

#include "tests/ExampleFiles.h"
#include "tests/GuiHarness.h"
#include "tests/MessageRecorder.h"
#include "tests/TempDir.h"

namespace {

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";

std::string Clipboard() { return QApplication::clipboard()->text().toStdString(); }

TEST(GuiCopyAsC, AComposedUartControlRegisterIsCopiedAsCAndPastedBack) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, chip);
        ClickRow(dlg, FindRow(dlg.Tree(), {"UART1", "CTRL"}));
        HexBox(dlg)->setText("0x0000000d");  // on, odd parity for sending
        const std::string line = "UART1->CTRL = UART0_CTRL_EN_Msk | (0x3UL << UART0_CTRL_TXPAR_Pos); /* TXPAR = Odd */";
        PressInTree(dlg, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(Clipboard(), line);

        // The init sequence: only the register changed from its reset value.
        QApplication::clipboard()->clear();
        const MenuCommand changed = FindCommand(dlg, "Copy changed as C");
        ASSERT_NE(changed.action, nullptr);
        changed.action->trigger();
        EXPECT_EQ(Clipboard(), line + "\n");

        // Back to its reset, and the line pasted gives the value again.
        PressInTree(dlg, Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x00000000");
        MessageRecorder boxes;
        PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes[0].text;
        EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x0000000d");

        // A name the map does not define is told with its line.
        QApplication::clipboard()->setText("UART1->CTRL = UART0_CTRL_EN_Msk;\nUART1->CTRL = UART1_CTRL_EN_Msk;\n");
        PressInTree(dlg, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_NE(boxes.boxes[0].text.find("line 2: unknown name UART1_CTRL_EN_Msk"), std::string::npos)
            << boxes.boxes[0].text;
    });
}

}  // namespace
