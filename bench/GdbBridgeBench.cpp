// SPDX-License-Identifier: MIT
// tavlin inside GDB, against QEMU's emulated STM32F405 on this machine, on a
// map of one set of 50 registers in SRAM: `tavlin show` of the set through a
// GDB session (goal: under 300 ms) beside a direct `tavlin --read` of the
// same registers, and a bridged window's refresh of the 50 registers in view
// after a stop (goal: under 100 ms; the stop is a `stepi` typed into GDB).
// Wall-clock times: each includes the program's start, or GDB's step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/RegisterApp.h"
#include "defs/RegisterMap.h"
#include "remote/GdbClient.h"
#include "tests/GdbSession.h"
#include "tests/QemuBoard.h"
#include "tree/PropTreeView.h"
#include "ui/RegisterDlg.h"
#include "ui/TargetCommands.h"
#include "UiBenchHarness.h"

namespace {

constexpr int kRegisters = 50;
constexpr int kDeadlineMs = 20000;

std::string Folder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / ("tavlin-gdb-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

// One set RAM of 50 registers of one field each, from 0x20000200 on.
std::string MapFile() {
    static const std::string path = [] {
        std::string svd = "<device><name>B</name><peripherals><peripheral><name>RAM</name><baseAddress>0x20000200"
                          "</baseAddress><registers>";
        for (int i = 0; i < kRegisters; ++i)
            svd += "<register><name>R" + std::to_string(i) + "</name><addressOffset>" + std::to_string(i * 4) +
                   "</addressOffset><size>32</size><fields><field><name>V</name><bitRange>[31:0]</bitRange>"
                   "</field></fields></register>";
        svd += "</registers></peripheral></peripherals></device>";
        const std::string file = Folder() + "/ram50.svd";
        std::ofstream(file) << svd;
        return file;
    }();
    return path;
}

// A board running the counter firmware, listening; empty problem when it is.
struct Board {
    QemuBoard board{true, "netduinoplus2", CounterFirmware()};
    std::string problem;
    Board() {
        CGdbClient probe;
        problem = board.Problem().empty() ? board.Connect(probe) : board.Problem();
    }
};

void BM_DirectRead50(benchmark::State& state) {
    Board board;
    if (!board.problem.empty()) return state.SkipWithError(board.problem.c_str());
    for (auto _ : state) {
        const ProcessOutcome read = RunProcess(
            {TavlinProgramPath(), "--gdb", board.board.Endpoint(), "--read", MapFile(), "RAM"}, {},
            std::chrono::seconds(20));
        if (read.code != 0) return state.SkipWithError(("tavlin --read failed: " + read.err).c_str());
    }
    state.counters["registers"] = kRegisters;
}

// GDB attached to its own board, the extension sourced, the map loaded.
struct GdbOnBoard {
    Board board;
    std::unique_ptr<GdbPipeSession> gdb;
    std::string problem = board.problem;
    explicit GdbOnBoard(const std::string& program) {
        if (!problem.empty()) return;
        gdb = std::make_unique<GdbPipeSession>(board.board.Endpoint(),
                                               std::vector<std::string>{"TAVLIN_PROGRAM=" + program});
        gdb->Send("tavlin load " + MapFile());
        gdb->Send("echo ==loaded==\\n");
        if (!gdb->WaitFor("==loaded==")) problem = "GDB did not start: " + gdb->Output();
    }
};

void BM_ShowThroughGdb50(benchmark::State& state) {
    GdbOnBoard session(TavlinProgramPath());
    if (!session.problem.empty()) return state.SkipWithError(session.problem.c_str());
    int round = 0;
    for (auto _ : state) {
        const std::string done = "==shown " + std::to_string(++round) + "==";
        session.gdb->Send("tavlin show RAM");
        session.gdb->Send("echo " + done + "\\n");
        if (!session.gdb->WaitFor("RAM.R49 @") || !session.gdb->WaitFor(done))
            return state.SkipWithError(("tavlin show failed: " + session.gdb->Output()).c_str());
    }
    state.counters["registers"] = kRegisters;
}

// Runs the benchmarks registered so far, then forgets them (a reporter each run, as the window's runs need).
void RunRegistered() {
    benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter, benchmark::GetBenchmarkFilter());
    benchmark::ClearRegisteredBenchmarks();
}

// The window on the 50-register map, bridged to GDB: each round a stepi, then
// the wait until every register in view holds a value read anew.
void RunBridgedRefresh(CRegisterDlg& dlg) {
    GdbOnBoard session(WriteWindowRecorder(Folder()));
    benchmark::RegisterBenchmark("BM_BridgedWindowRefresh50", [&](benchmark::State& state) {
        if (!session.problem.empty()) return state.SkipWithError(session.problem.c_str());
        session.gdb->Send("tavlin window");
        const std::string argsFile = WindowArgumentsFile(Folder());
        if (!QTest::qWaitFor([&] { return std::filesystem::exists(argsFile); }, kDeadlineMs))
            return state.SkipWithError("no window was started");
        std::ifstream args(argsFile);
        std::string option, endpoint;
        std::getline(args, option);
        std::getline(args, endpoint);
        dlg.m_hWnd->resize(900, 2400);  // tall enough for the 50 register rows
        dlg.Target().Connect(endpoint);
        if (!QTest::qWaitFor([&] { return dlg.Target().IsConnected() && !dlg.Target().IsBusy(); }, kDeadlineMs))
            return state.SkipWithError("the window did not connect to the bridge");
        CPropTreeWindow* tree = qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd);
        tree->View()->expandToDepth(0);  // the set open, its registers' fields closed
        QApplication::processEvents();
        std::vector<CRegisterItem*> inView;
        for (CPropTreeItem* row : tree->VisibleRows())
            if (auto* reg = dynamic_cast<CRegisterItem*>(row)) inView.push_back(reg);
        if (inView.size() != kRegisters)
            return state.SkipWithError(("registers in view: " + std::to_string(inView.size())).c_str());
        // The bench marks each value as typed before the stop, so a value from the chip is one read after it.
        auto& map = const_cast<CRegisterMap&>(dlg.Map());
        for (auto _ : state) {
            for (CRegisterItem* reg : inView) map.SetValue(*reg, 0, ValueSource::Typed);
            session.gdb->Send("stepi");
            const bool refreshed = QTest::qWaitFor(
                [&] {
                    for (CRegisterItem* reg : inView)
                        if (dlg.Map().ValueOf(*reg)->source != ValueSource::Target) return false;
                    return !dlg.Target().IsBusy();
                },
                kDeadlineMs);
            if (!refreshed) return state.SkipWithError("the window did not refresh after the stop");
        }
        state.counters["registers"] = static_cast<double>(inView.size());
        session.gdb->Send("tavlin close");
    })->Unit(benchmark::kMillisecond)->Iterations(20);
    RunRegistered();
}

}  // namespace

BENCHMARK(BM_DirectRead50)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ShowThroughGdb50)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    static CRegisterApp app;
    QApplication application(argc, argv);
    RunRegistered();
    RunDialogOnFile(MapFile(), [](CRegisterDlg& dlg) { RunBridgedRefresh(dlg); }, OpenAs::CommandLineFile);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
