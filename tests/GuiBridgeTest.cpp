// SPDX-License-Identifier: MIT
// The window bridged to a GDB session (`tavlin window` in gdb-multiarch,
// attached to QEMU's board running the counter firmware): the real window,
// started with the arguments the extension gives it, follows each stop, reads
// nothing while the target runs, and stays open on its last values when GDB
// quits. Every wait has a deadline; GDB and QEMU end with the test.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "defs/RegisterMap.h"
#include "remote/GdbClient.h"
#include "tests/ExampleFiles.h"
#include "tests/GdbSession.h"
#include "tests/GuiHarness.h"
#include "tests/QemuBoard.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"
#include "tree/PropTreeModel.h"
#include "ui/TargetCommands.h"

namespace {

constexpr int kDeadlineMs = 20000;

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// How many memory reads the window's trace holds so far.
int ReadsIn(const std::string& trace) {
    std::istringstream lines(ReadWholeFile(trace));
    int reads = 0;
    for (std::string line; std::getline(lines, line);) reads += line.find("Sending packet: $m") != std::string::npos;
    return reads;
}

TEST(GuiBridge, TheWindowFollowsEachStopReadsNothingWhileRunningAndOutlivesGdb) {
    REQUIRE_QEMU();
    REQUIRE_GDB();
    TempDir dir;
    const std::string map = dir.Write("netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd"));
    QemuBoard board(true, "netduinoplus2", CounterFirmware());
    ASSERT_EQ(board.Problem(), "");
    {
        CGdbClient probe;  // waits for QEMU to listen
        ASSERT_EQ(board.Connect(probe), "");
    }
    const std::string recorder = WriteWindowRecorder(dir.Path().string());
    GdbPipeSession gdb(board.Endpoint(), {"TAVLIN_PROGRAM=" + recorder});
    gdb.Send("tavlin load " + map);
    gdb.Send("break *" + std::to_string(kCounterBreak));
    gdb.Send("tavlin window");
    ASSERT_TRUE(gdb.WaitFor("tavlin: the window reads the chip through 127.0.0.1:")) << gdb.Output();
    const std::string argsFile = WindowArgumentsFile(dir.Path().string());
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(argsFile); }, kDeadlineMs)) << gdb.Output();
    std::vector<std::string> arguments = ReadLines(argsFile);
    ASSERT_EQ(arguments.size(), 3u);
    EXPECT_EQ(arguments[1].rfind("127.0.0.1:", 0), 0u) << arguments[1];
    EXPECT_EQ(arguments[0], "--gdb");
    EXPECT_EQ(arguments[2], map);
    arguments.insert(arguments.begin(), "tavlin");

    const std::string trace = (dir.Path() / "trace.txt").string();
    qputenv("TAVLIN_TRACE", QByteArray::fromStdString(trace));
    const GuiRun run = StartMainWindow(arguments, [&](CRegisterDlg& dlg) {
        qunsetenv("TAVLIN_TRACE");
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Target().IsConnected() && !dlg.Target().IsBusy(); }, kDeadlineMs));
        CPropTreeItem* word = FindRow(dlg.Tree(), {"SCRATCH", "WORD0"});
        ASSERT_NE(word, nullptr);
        auto* reg = static_cast<CRegisterItem*>(word);

        // The bridge tells the window of the stop the target is at: a set opened now is read at once.
        const QModelIndex scratch = TreeWindow(dlg)->Model()->IndexFromItem(word->GetParent());
        TreeWindow(dlg)->View()->expand(scratch);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const auto held = dlg.Map().ValueOf(*reg);
                return held && held->source == ValueSource::Target && !dlg.Target().IsBusy();
            },
            kDeadlineMs))
            << gdb.Output();
        ClickRow(dlg, word);

        // Each continue that stops gives the counter's row the new count, read through GDB.
        std::uint64_t last = 0;
        for (int stop = 0; stop < 3; ++stop) {
            const int readsBefore = ReadsIn(trace);
            gdb.Send("continue");
            ASSERT_TRUE(gdb.WaitFor("Breakpoint 1, ")) << gdb.Output();
            ASSERT_TRUE(QTest::qWaitFor([&] { return ReadsIn(trace) > readsBefore && !dlg.Target().IsBusy(); },
                                        kDeadlineMs))
                << gdb.Output();
            const auto held = dlg.Map().ValueOf(*reg);
            ASSERT_TRUE(held);
            EXPECT_EQ(held->source, ValueSource::Target);
            if (stop > 0) {
                EXPECT_EQ(held->value, last + 1);
                // The bits that changed since the last stop are marked.
                EXPECT_EQ(dlg.Map().ChangedBits(*reg), (last ^ held->value) & 0xffffffffu);
            }
            last = held->value;
            char shown[16];
            std::snprintf(shown, sizeof shown, "0x%08llx", static_cast<unsigned long long>(last));
            EXPECT_EQ(ShownValue(dlg, word), shown);
            EXPECT_FALSE(dlg.Target().IsTargetRunning());
        }

        // Without the breakpoint the target runs on: the window says so and reads nothing.
        gdb.Send("delete");
        gdb.Send("continue");
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Target().IsTargetRunning(); }, kDeadlineMs)) << gdb.Output();
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_NE(caption.str().find("(target running)"), std::string::npos) << caption.str();
        EXPECT_FALSE(dlg.Target().Applies(CTargetCommands::Command::kRead));
        const int readsWhileRunning = ReadsIn(trace);
        QTest::qWait(500);
        EXPECT_EQ(ReadsIn(trace), readsWhileRunning);

        // An interrupt stops it: read again, a count further on.
        gdb.Interrupt();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.Target().IsTargetRunning() && ReadsIn(trace) > readsWhileRunning &&
                                                  !dlg.Target().IsBusy(); },
                                    kDeadlineMs))
            << gdb.Output();
        EXPECT_GT(dlg.Map().ValueOf(*reg)->value, last);
        const std::uint64_t lastValue = dlg.Map().ValueOf(*reg)->value;

        // GDB quits: the window stays, offline, on its last values.
        gdb.Send("quit");
        EXPECT_EQ(gdb.WaitForExit(), 0) << gdb.Output();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.Target().IsConnected(); }, kDeadlineMs));
        EXPECT_EQ(dlg.Map().ValueOf(*reg)->value, lastValue);
        EXPECT_TRUE(dlg.m_hWnd->isVisible());
    });
    EXPECT_EQ(gdb.Output().find("Traceback"), std::string::npos) << gdb.Output();
    // Not one box: no About box before the window, and a refresh that could
    // not read tells nobody in a box.
    EXPECT_EQ(run.events, std::vector<std::string>{"main"});
}

}  // namespace
