// SPDX-License-Identifier: MIT
// The core's registers in the window: Add core registers... on a definitions
// file, and Fault report (Ctrl+Shift+F) from values typed in and from QEMU's
// Cortex-M4 after a load from nothing. Every wait has a deadline.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <string>
#include <vector>

#include "defs/RegisterMap.h"
#include "framework/InputBox.h"
#include "tests/FaultFirmware.h"
#include "tests/GuiHarness.h"
#include "tests/MessageRecorder.h"
#include "tests/QemuBoard.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"

namespace {

constexpr int kDeadlineMs = 10000;

const char* const kDefinitions =
    "<tavlin><regset n=\"SYS\" d=\"Ours\"><register n=\"CTRL\" w=\"8\" v=\"0x00\" d=\"Control\">"
    "<field n=\"LOW\" k=\"edit\" d=\"\" l=\"0\" h=\"3\"></field></register></regset></tavlin>";

QAction* MenuCommand(CRegisterDlg& dlg, const std::string& text) {
    for (QAction* title : dlg.GetMenuBar()->actions())
        for (QAction* action : title->menu()->actions())
            if (action->text().remove(QLatin1Char('&')).toStdString() == text) return action;
    return nullptr;
}

// Types `value` into the hex box with `path`'s register in hand.
void Type(CRegisterDlg& dlg, const std::vector<std::string>& path, const char* value) {
    CPropTreeItem* row = FindRow(dlg.Tree(), path);
    ASSERT_NE(row, nullptr) << path.back();
    ClickRow(dlg, row);
    HexBox(dlg)->setText(value);
}

TEST(GuiCore, AddCoreRegistersAddsTheCoresSetsAfterTheMapsOwnAndKeepsItsValues) {
    RunMainDialog(kDefinitions, [&](CRegisterDlg& dlg) {
        MessageRecorder recorder;
        std::vector<std::string> answers = {"CM4", "M9", "cm4"};
        std::vector<std::string> offered;
        const auto previous = AfxSetInputBoxAsker([&](const std::string&, const std::string& text) {
            offered.push_back(text);
            std::string answer = answers.front();
            answers.erase(answers.begin());
            return std::optional<std::string>(answer);
        });
        Type(dlg, {"SYS", "CTRL"}, "0x05");
        QAction* add = MenuCommand(dlg, "Add core registers...");
        ASSERT_NE(add, nullptr);
        ASSERT_TRUE(add->isEnabled());
        add->trigger();
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, "Added 9 register sets for the Cortex-M4: SCnSCB, SysTick, NVIC, SCB, MPU, FPU, "
                                          "CoreDebug, DWT, ITM.");
        ASSERT_NE(FindRow(dlg.Tree(), {"SCB", "CFSR", "DIVBYZERO"}), nullptr);
        const CRegisterItem* ctrl = static_cast<CRegisterItem*>(FindRow(dlg.Tree(), {"SYS", "CTRL"}));
        EXPECT_EQ(dlg.Map().ValueOf(*ctrl)->value, 0x05u);
        // A core tavlin does not know is told; the same core again adds nothing.
        add->trigger();
        add->trigger();
        ASSERT_EQ(recorder.boxes.size(), 3u);
        EXPECT_EQ(recorder.boxes[1].text.substr(0, 44), "tavlin has no registers for the core \"M9\"; i");
        EXPECT_EQ(recorder.boxes[2].text, "The map has every register set of the Cortex-M4 already.");
        // The first time it offers CM4; after that the map's core.
        EXPECT_EQ(offered, (std::vector<std::string>{"CM4", "CM4", "CM4"}));
        AfxSetInputBoxAsker(previous);
    });
}

TEST(GuiCore, TheFaultReportTakesTheValuesShownWithoutAConnection) {
    const TempDir dir;
    const std::string map = dir.Write("board.svd", BoardMapText("CM4"));
    RunMainDialog(
        kDefinitions,
        [&](CRegisterDlg& dlg) {
            MessageRecorder recorder;
            QAction* report = dlg.Target().Action(CTargetCommands::Command::kFault);
            ASSERT_TRUE(report->isEnabled());  // the map has SCB
            Type(dlg, {"SCB", "CFSR"}, "0x00010000");
            Type(dlg, {"SCB", "HFSR"}, "0x40000000");
            Type(dlg, {"SCB", "ICSR"}, "0x00000803");
            QTest::keySequence(dlg.m_hWnd, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
            ASSERT_EQ(recorder.boxes.size(), 1u);
            EXPECT_EQ(recorder.boxes[0].text,
                      "Fault report, from the values shown:\n"
                      "UNDEFINSTR: undefined instruction\n"
                      "FORCED: forced hard fault: a configurable fault escalated, its handler disabled or unable to "
                      "run\n"  // SHCSR was not given
                      "active exception: HardFault (3)");
        },
        map);
    // A map without SCB and no connection: nothing to report from, so the command does not apply.
    RunMainDialog(kDefinitions, [&](CRegisterDlg& dlg) {
        EXPECT_FALSE(dlg.Target().Action(CTargetCommands::Command::kFault)->isEnabled());
    });
}

TEST(GuiCore, TheFaultReportReadsTheTarget) {
    REQUIRE_QEMU();
    const TempDir dir;
    const std::string map = dir.Write("board.svd", BoardMapText("CM4"));
    QemuBoard board(false, "netduinoplus2", BusFaultFirmware());
    ASSERT_EQ(board.Problem(), "");
    ASSERT_TRUE(RunsIntoHardFault(board));
    RunMainDialog(
        kDefinitions,
        [&](CRegisterDlg& dlg) {
            MessageRecorder recorder;
            dlg.Target().Connect(board.Endpoint());
            ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.Target().IsBusy(); }, kDeadlineMs));
            ASSERT_TRUE(dlg.Target().IsConnected());
            QTest::keySequence(dlg.m_hWnd, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.boxes.empty(); }, kDeadlineMs));
            EXPECT_EQ(recorder.boxes[0].text,
                      "Fault report, read from " + board.Endpoint() +
                          ":\n"
                          "PRECISERR: precise data bus error at 0x60000010\n"
                          "BFARVALID: BFAR holds the address of the bus fault, 0x60000010\n"
                          "FORCED: forced hard fault: a configurable fault escalated, its handler disabled or unable "
                          "to run (SHCSR enables no configurable fault handler)\n"
                          "active exception: HardFault (3)");
        },
        map);
}

}  // namespace
