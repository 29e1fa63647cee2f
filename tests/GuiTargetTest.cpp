// SPDX-License-Identifier: MIT
// The window on the chip, as a new user tries it against QEMU's emulated
// STM32F405: connect, F5 on a register, Shift+F5 on a set, a write read back,
// Watch started and stopped, and a server that dies mid-session. Every wait
// has a deadline.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "defs/RegisterMap.h"
#include "framework/InputBox.h"
#include "framework/MessageBox.h"
#include "remote/GdbClient.h"
#include "tests/ExampleFiles.h"
#include "tests/FakeGdbServer.h"
#include "tests/GuiHarness.h"
#include "tests/QemuBoard.h"
#include "tests/RowPath.h"
#include "tree/PropTreeModel.h"
#include "tests/TempDir.h"
#include "ui/TargetLink.h"

namespace {

constexpr int kDeadlineMs = 10000;

// Waits, with the window running, until no request is under way.
bool Settled(CRegisterDlg& dlg) {
    return QTest::qWaitFor([&] { return !dlg.Target().IsBusy(); }, kDeadlineMs);
}

void Press(CRegisterDlg& dlg, QKeySequence keys) {
    QTest::keySequence(dlg.m_hWnd, keys);
    EXPECT_TRUE(Settled(dlg)) << keys.toString().toStdString();
}

CPropTreeItem* Focus(CRegisterDlg& dlg, const std::vector<std::string>& path) {
    CPropTreeItem* row = FindRow(dlg.Tree(), path);
    EXPECT_NE(row, nullptr);
    if (row) ClickRow(dlg, row);
    return row;
}

TEST(GuiTarget, ReadsWritesAndWatchesTheEmulatedBoard) {
    REQUIRE_QEMU();
    TempDir dir;
    const std::string map = dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
    QemuBoard board;
    ASSERT_EQ(board.Problem(), "");
    CGdbClient probe;  // waits for QEMU to listen
    ASSERT_EQ(board.Connect(probe), "");
    probe.Disconnect();

    std::vector<std::string> boxes;
    const GuiRun run = RunMainDialog(
        "<tavlin></tavlin>",
        [&](CRegisterDlg& dlg) {
            const auto previousBox = AfxSetMessageBoxPresenter([&](const std::string& text, UINT type) {
                boxes.push_back(text);
                return (type & MB_YESNO) ? IDYES : IDOK;
            });
            std::vector<std::string> offered;  // what Connect to target... offers first
            const auto previousAsker = AfxSetInputBoxAsker([&](const std::string&, const std::string& text) {
                offered.push_back(text);
                return board.Endpoint();
            });

            // Connect to target... asks where; the caption says it.
            Press(dlg, QKeySequence(Qt::CTRL | Qt::Key_K));
            ASSERT_TRUE(dlg.Target().IsConnected()) << (boxes.empty() ? "" : boxes.back());
            CString caption;
            dlg.GetWindowText(caption);
            EXPECT_EQ(caption.str(), "netduinoplus2.svd \xE2\x80\x94 " + board.Endpoint() + " \xE2\x80\x94 tavlin");

            // F5: the register in hand from the chip, split into its fields.
            CPropTreeItem* htr = Focus(dlg, {"ADC1", "HTR"});
            HexBox(dlg)->setText("0x00000000");
            Press(dlg, Qt::Key_F5);
            EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x00000fff");
            EXPECT_EQ(ShownValue(dlg, htr->GetChild()), "0xfff");
            const auto held = dlg.Map().ValueOf(*static_cast<CRegisterItem*>(htr));
            ASSERT_TRUE(held);
            EXPECT_EQ(held->source, ValueSource::Target);
            const QModelIndex index = TreeWindow(dlg)->Model()->IndexFromItem(htr);
            EXPECT_TRUE(index.data(Qt::ToolTipRole).toString().startsWith("read from the chip\nWatchdog"));
            const QLabel* pane = TreeWindow(dlg)->InfoPane();
            ASSERT_NE(pane, nullptr);
            EXPECT_TRUE(pane->text().startsWith("read from the chip")) << pane->text().toStdString();

            // Shift+F5: the set in hand, less what a read would change, listed.
            CPropTreeItem* sr = Focus(dlg, {"SPI1", "SR"});
            boxes.clear();
            Press(dlg, QKeySequence(Qt::SHIFT | Qt::Key_F5));
            EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x0000000a");
            EXPECT_EQ(ShownValue(dlg, FindRow(dlg.Tree(), {"SPI1", "CR1"})), "0x00000000");
            EXPECT_EQ(boxes, (std::vector<std::string>{"Read 2 registers of SPI1; passed over:\nSPI1.DR changes when read"}));
            (void)sr;

            // Write to chip: the hex box's value, read back.
            CPropTreeItem* word = Focus(dlg, {"SCRATCH", "WORD0"});
            HexBox(dlg)->setText("0xcafe0123");
            Press(dlg, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
            EXPECT_EQ(ShownValue(dlg, word), "0xcafe0123");
            EXPECT_EQ(dlg.Map().ValueOf(*static_cast<CRegisterItem*>(word))->source, ValueSource::Target);
            // A read-only register is not written.
            Focus(dlg, {"SCB", "CPUID"});
            boxes.clear();
            Press(dlg, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
            EXPECT_EQ(boxes, (std::vector<std::string>{"SCB.CPUID is read-only: not written."}));

            // F5 on a register a read changes asks first.
            Focus(dlg, {"USART1", "DR"});
            boxes.clear();
            Press(dlg, Qt::Key_F5);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes.front(), "USART1.DR changes when read. Read it from the chip all the same?");

            // Watch: the register in hand read again and again until stopped.
            Focus(dlg, {"USART1", "SR"});
            HexBox(dlg)->setText("0x00000000");
            QTest::keySequence(dlg.m_hWnd, QKeySequence(Qt::CTRL | Qt::Key_F5));
            EXPECT_TRUE(dlg.Target().IsWatching());
            EXPECT_TRUE(QTest::qWaitFor([&] { return HexBox(dlg)->text() == "0x000000c0"; }, kDeadlineMs));
            QTest::keySequence(dlg.m_hWnd, QKeySequence(Qt::CTRL | Qt::Key_F5));
            EXPECT_FALSE(dlg.Target().IsWatching());
            EXPECT_TRUE(Settled(dlg));

            // Disconnect detaches, and the caption says so; Connect again takes the last server.
            Press(dlg, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
            EXPECT_FALSE(dlg.Target().IsConnected());
            dlg.GetWindowText(caption);
            EXPECT_EQ(caption.str().find(board.Endpoint()), std::string::npos) << caption.str();
            Press(dlg, QKeySequence(Qt::CTRL | Qt::Key_K));
            ASSERT_TRUE(dlg.Target().IsConnected());
            ASSERT_EQ(offered.size(), 2u);
            EXPECT_EQ(offered.back(), board.Endpoint());

            // A server that dies mid-session: one line, no value changed, the window goes on.
            Focus(dlg, {"ADC1", "HTR"});
            HexBox(dlg)->setText("0x00000123");
            board.Kill();
            boxes.clear();
            Press(dlg, Qt::Key_F5);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes.front().find('\n'), std::string::npos) << boxes.front();
            EXPECT_EQ(HexBox(dlg)->text().toStdString(), "0x00000123");
            EXPECT_FALSE(dlg.Target().IsConnected());
            dlg.GetWindowText(caption);
            EXPECT_EQ(caption.str().find(board.Endpoint()), std::string::npos) << caption.str();

            AfxSetInputBoxAsker(previousAsker);
            AfxSetMessageBoxPresenter(previousBox);
        },
        map);
    EXPECT_EQ(run.result, IDCANCEL);
}

// `tavlin window` in GDB starts `tavlin --gdb HOST:PORT MAP`: the window opens
// on the map with no box before it, in front, the keyboard in the tree, and
// connects. The same map named alone keeps the About box first.
TEST(GuiTarget, AWindowStartedOnAMapWithGdbOpensInFrontWithNoBox) {
    const TempDir folder, config;
    const CurrentDir current(folder.Path());
    const ConfigHome home(config.Path());
    const std::string map = folder.Write("chip.svd", ReadExampleFile("chip.svd"));
    for (const bool bridged : {true, false}) {
        std::optional<FakeGdbServer> server;
        std::vector<std::string> arguments{"tavlin", map};
        if (bridged) {
            server.emplace(FakeGdbServer::Handshake("PacketSize=100"));
            arguments.insert(arguments.begin() + 1, {"--gdb", server->Endpoint()});
        }
        const GuiRun run = StartMainWindow(arguments, [&](CRegisterDlg& dlg) {
            EXPECT_FALSE(dlg.IsMapEmpty());
            std::vector<QWidget*> shown;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->isVisible()) shown.push_back(widget);
            EXPECT_EQ(shown, std::vector<QWidget*>{dlg.m_hWnd}) << "no box over the window";
            if (!bridged) return;
            EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.m_hWnd, kDeadlineMs)) << "in front";
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == TreeWindow(dlg)->View(); },
                                        kDeadlineMs))
                << "the keyboard in the tree";
            EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.Target().IsConnected() && !dlg.Target().IsBusy(); },
                                        kDeadlineMs));
        });
        const std::vector<std::string> events =
            bridged ? std::vector<std::string>{"main"} : std::vector<std::string>{"about", "main"};
        EXPECT_EQ(run.events, events) << (bridged ? "--gdb" : "alone");
        EXPECT_EQ(run.result, 0);
    }
}

TEST(GuiTarget, EscapeCancelsARequestAServerNeverAnswers) {
    // A server that takes the connection and says nothing: the handshake waits
    // for its deadline unless Escape stops it.
    FakeGdbServer silent({});
    std::vector<std::string> boxes;
    RunMainDialog("<tavlin></tavlin>", [&](CRegisterDlg& dlg) {
        const auto previousBox = AfxSetMessageBoxPresenter([&](const std::string& text, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
        dlg.Target().Link().SetTimeout(std::chrono::seconds(30));
        dlg.Target().Connect(silent.Endpoint());
        EXPECT_TRUE(dlg.Target().IsBusy());
        QTest::qWait(100);
        QTest::keyClick(dlg.m_hWnd, Qt::Key_Escape);
        EXPECT_TRUE(Settled(dlg));
        EXPECT_FALSE(dlg.Target().IsConnected());
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes.front().find("cancel"), std::string::npos) << boxes.front();
        EXPECT_TRUE(dlg.m_hWnd->isVisible());  // Escape did not close the window
        AfxSetMessageBoxPresenter(previousBox);
    });
}

}  // namespace
