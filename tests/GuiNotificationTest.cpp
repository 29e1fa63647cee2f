// SPDX-License-Identifier: MIT
// The window on a server that sends notifications, as a GDB session's bridge
// does (a scripted server, no GDB needed): "Running" until "Stop" it reads
// nothing and says the target runs; each "Stop" reads the register in hand
// again, its changed bits marked against the stop before; the server's close
// leaves the window offline on its last value. Every wait has a deadline.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "defs/RegisterMap.h"
#include "framework/MessageBox.h"
#include "tests/FakeGdbServer.h"
#include "tests/GuiHarness.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"
#include "ui/TargetCommands.h"

namespace {

using namespace std::chrono_literals;
using Step = FakeGdbServer::Step;
using After = Step::After;

constexpr int kDeadlineMs = 10000;

int MemoryReads(const FakeGdbServer& server) {
    const std::vector<std::string> packets = server.Packets();
    return static_cast<int>(std::count_if(packets.begin(), packets.end(), [](const std::string& p) { return p[0] == 'm'; }));
}

TEST(GuiNotifications, TheWindowFollowsStopsAndReadsNothingWhileTheTargetRuns) {
    TempDir dir;
    const std::string map = dir.Write(
        "one.svd",
        "<device><name>B</name><peripherals><peripheral><name>ONE</name><baseAddress>0x20000100</baseAddress>"
        "<registers><register><name>R</name><addressOffset>0</addressOffset><size>32</size></register>"
        "</registers></peripheral></peripherals></device>");
    std::vector<Step> script = FakeGdbServer::Handshake("PacketSize=400;QStartNoAckMode+");
    script.insert(script.end(), {{After::kNothing, FakeGdbServer::Notification("Running:1"), 600ms},
                                 {After::kNothing, FakeGdbServer::Notification("Stop:T05"), 600ms},
                                 {After::kNextPacket, FakeGdbServer::Packet("2a000000")},
                                 {After::kNothing, FakeGdbServer::Notification("Running:1"), 100ms},
                                 {After::kNothing, FakeGdbServer::Notification("Stop:T05"), 100ms},
                                 {After::kNextPacket, FakeGdbServer::Packet("2b000000")},
                                 {After::kNothing, "", 300ms, true}});
    FakeGdbServer server(script);
    std::vector<std::string> boxes;
    RunMainDialog(
        "<tavlin></tavlin>",
        [&](CRegisterDlg& dlg) {
            const auto previousBox = AfxSetMessageBoxPresenter([&](const std::string& text, UINT) {
                boxes.push_back(text);
                return IDOK;
            });
            dlg.Target().Connect(server.Endpoint());
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Target().IsConnected(); }, kDeadlineMs));
            CPropTreeItem* row = FindRow(dlg.Tree(), {"ONE", "R"});
            ASSERT_NE(row, nullptr);
            ClickRow(dlg, row);
            auto* reg = static_cast<CRegisterItem*>(row);

            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Target().IsTargetRunning(); }, kDeadlineMs));
            EXPECT_FALSE(dlg.Target().Applies(CTargetCommands::Command::kRead));
            CString caption;
            dlg.GetWindowText(caption);
            EXPECT_NE(caption.str().find(server.Endpoint() + " (target running)"), std::string::npos) << caption.str();
            EXPECT_EQ(MemoryReads(server), 0);

            // The stop: one read of the register in hand, its value from the chip.
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Map().ValueOf(*reg)->value == 0x2a && !dlg.Target().IsBusy(); },
                                        kDeadlineMs));
            EXPECT_FALSE(dlg.Target().IsTargetRunning());
            EXPECT_EQ(dlg.Map().ValueOf(*reg)->source, ValueSource::Target);
            EXPECT_EQ(ShownValue(dlg, row), "0x0000002a");

            // The next stop marks the bit that changed since this one.
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Map().ValueOf(*reg)->value == 0x2b; }, kDeadlineMs));
            EXPECT_EQ(dlg.Map().ChangedBits(*reg), 0x1u);
            EXPECT_EQ(MemoryReads(server), 2);

            // The server closes: the window stays, offline, on its last value.
            ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.Target().IsConnected(); }, kDeadlineMs));
            EXPECT_EQ(dlg.Map().ValueOf(*reg)->value, 0x2bu);
            EXPECT_TRUE(dlg.m_hWnd->isVisible());
            EXPECT_EQ(boxes, std::vector<std::string>{});
            AfxSetMessageBoxPresenter(previousBox);
        },
        map);
    const std::vector<std::string> packets = server.Packets();
    EXPECT_EQ(std::count(packets.begin(), packets.end(), "m20000100,4"), 2) << packets.size();
}

}  // namespace
