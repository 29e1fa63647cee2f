// SPDX-License-Identifier: MIT
// The main window under load, headless: one keystroke in the hex box with a
// field of the widest register focused (in trees of 20 000 and 2 000 000
// fields, to show it does not grow with the tree), expanding and scrolling
// the whole tree of 200 000 fields, and a keystroke in its find field.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "app/RegisterApp.h"
#include "bench/BenchData.h"
#include "bench/UiBenchHarness.h"
#include "bits/NumberFormatting.h"
#include "calc/ValuesInput.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeFindIndex.h"
#include "tree/PropTreeModel.h"
#include "tree/PropTreeView.h"
#include "ui/RegisterDlg.h"

namespace {

CPropTreeView* ViewOf(CRegisterDlg& dlg) { return qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd)->View(); }

// Runs the benchmarks registered for one dialog (those --benchmark_filter
// picks, all by default) and forgets them, so the next dialog runs only its
// own; each run gets a reporter of its own, since the library's default one
// serves a single run.
void RunRegistered() {
    benchmark::ConsoleReporter reporter(benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter, benchmark::GetBenchmarkFilter());
    benchmark::ClearRegisteredBenchmarks();
}

void RunKeystroke(CRegisterDlg& dlg, std::int64_t fields) {
    CPropTreeItem* reg = WidestRegister(dlg.Tree());
    CPropTreeModel* model = qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd)->Model();
    ViewOf(dlg)->expand(model->IndexFromItem(reg));
    dlg.Tree().UserSelectItem(reg->GetChild());
    auto* hex = qobject_cast<QLineEdit*>(dlg.HexEdit().m_hWnd);
    const int fieldRows = reg->GetChildCount();
    const QString values[2] = {QStringLiteral("0x5a5a5a5a5a5a5a5a"), QStringLiteral("0xa5a5a5a5a5a5a5a5")};

    const std::string suffix = "/fields:" + std::to_string(fields);
    benchmark::RegisterBenchmark(("BM_Keystroke" + suffix).c_str(), [=](benchmark::State& state) {
        std::size_t i = 0;
        for (auto _ : state) hex->setText(values[i++ & 1]);
        state.counters["field_rows"] = fieldRows;
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_KeystrokeAndRepaint" + suffix).c_str(), [=](benchmark::State& state) {
        std::size_t i = 0;
        for (auto _ : state) {
            hex->setText(values[i++ & 1]);
            QApplication::processEvents();
        }
        state.counters["field_rows"] = fieldRows;
    })->Unit(benchmark::kMicrosecond);
    RunRegistered();
}

void RunExpandAndScroll(CRegisterDlg& dlg, std::int64_t fields) {
    CPropTreeView* view = ViewOf(dlg);
    const std::string suffix = "/fields:" + std::to_string(fields);
    benchmark::RegisterBenchmark(("BM_ExpandAll" + suffix).c_str(), [=](benchmark::State& state) {
        for (auto _ : state) {
            view->expandAll();
            QApplication::processEvents();
            state.PauseTiming();
            view->collapseAll();
            QApplication::processEvents();
            state.ResumeTiming();
        }
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_ScrollTopToBottom" + suffix).c_str(), [=](benchmark::State& state) {
        view->expandAll();
        QScrollBar* bar = view->verticalScrollBar();
        std::int64_t pages = 0;
        for (auto _ : state) {
            for (int value = bar->minimum(); value <= bar->maximum(); value += bar->pageStep()) {
                bar->setValue(value);
                QApplication::processEvents();
                ++pages;
            }
            bar->setValue(bar->minimum());
        }
        state.counters["rows"] = bar->maximum() + bar->pageStep();
        state.counters["pages"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kAvgIterations);
        state.counters["page_time"] =
            benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        view->collapseAll();
    })->Unit(benchmark::kMillisecond);
    RunRegistered();
}

// Opening the find, and one keystroke in the find field: the filter over
// every row, the model reset, the matches' parents expanded, the first
// focused and painted. The texts alternate between a narrow find and a broad one (most registers have
// a field of that name) as the user typing on and back would; in an SVD map
// also the last keystroke of an address, written with "0x" and as eight digits.
// Texts of several words find along the rows' paths: "SET R EN" as broad as
// "EN" (every set and register holds the words before it), "SET1.R7_CNT" narrow.
void RunFind(CRegisterDlg& dlg, const std::string& suffix, std::initializer_list<const char*> texts) {
    CPropTreeFind* find = qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd)->Find();
    const CPropTreeModel* model = qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd)->Model();
    // Ctrl+F, the find field shown and painted; the find is left open for the
    // keystrokes. `index_MB`: the rows laid out for the find while it is open.
    benchmark::RegisterBenchmark(("BM_FindOpen" + suffix).c_str(), [=](benchmark::State& state) {
        for (auto _ : state) {
            find->Open();
            QApplication::processEvents();
            state.PauseTiming();
            find->Close(true);
            QApplication::processEvents();
            state.ResumeTiming();
        }
        find->Open();
        if (const CPropTreeFindIndex* index = model->FindIndex())
            state.counters["index_MB"] = static_cast<double>(index->Bytes()) / 1e6;
    })->Unit(benchmark::kMillisecond);
    find->Open();
    for (const char* text : texts) {
        benchmark::RegisterBenchmark(("BM_FindKeystroke/" + std::string(text) + suffix).c_str(),
                                     [=](benchmark::State& state) {
                                         const QString typed = QString::fromLatin1(text);
                                         const QString before = typed.left(typed.size() - 1);
                                         for (auto _ : state) {
                                             find->Apply(typed);
                                             QApplication::processEvents();
                                             state.PauseTiming();
                                             find->Apply(before);
                                             QApplication::processEvents();
                                             state.ResumeTiming();
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    RunRegistered();
    find->Close(true);
}

// A values file giving every register of the map shown a value, given in the
// window as Open values gives it: every register's rows follow, then the
// window is painted.
void RunApplyValues(CRegisterDlg& dlg, const std::string& suffix) {
    std::string text = "# values for every register\n";
    std::uint32_t seed = 7;
    for (const CRegisterItem* reg : dlg.Map().Registers()) {
        seed = seed * 1103515245u + 12345u;
        const std::uint64_t value = reg->m_nBits < 32 ? seed & ((1u << reg->m_nBits) - 1) : seed;
        text += RegisterPath(*reg) + " = " + FormatRegisterHex(value, reg->m_nBits) + "\n";
    }
    const std::size_t registers = dlg.Map().Registers().size();
    benchmark::RegisterBenchmark(("BM_ApplyValuesInWindow" + suffix).c_str(), [&dlg, text, registers](benchmark::State& state) {
        for (auto _ : state) {
            dlg.Values().ApplyValues(text, "bench");
            QApplication::processEvents();
        }
        state.counters["registers"] = static_cast<double>(registers);
    })->Unit(benchmark::kMillisecond);
    RunRegistered();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    static CRegisterApp app;
    QApplication application(argc, argv);
    for (const std::int64_t fields : {std::int64_t{20000}, std::int64_t{2000000}})
        RunDialogOnFile(BenchDataPath(fields), [fields](CRegisterDlg& dlg) { RunKeystroke(dlg, fields); });
    RunDialogOnFile(BenchDataPath(200000), [](CRegisterDlg& dlg) {
        RunExpandAndScroll(dlg, 200000);
        // "SET R" finds every register by its path: each is shown with its fields.
        RunFind(dlg, "/fields:200000", {"R7_CNT", "EN", "SET R EN", "SET1.R7_CNT", "SET R"});
    });
    RunDialogOnFile(
        BenchSvdPath("svd-200000.svd"),
        [](CRegisterDlg& dlg) { RunFind(dlg, "/svd-200000", {"EN", "0x40011000", "40011000", "PWR EN"}); },
        OpenAs::CommandLineFile);
    RunDialogOnFile(
        BenchSvdPath("svd-vendor.svd"), [](CRegisterDlg& dlg) { RunApplyValues(dlg, "/svd-vendor"); },
        OpenAs::CommandLineFile);
    benchmark::Shutdown();
    return 0;
}
