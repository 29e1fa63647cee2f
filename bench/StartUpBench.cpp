// SPDX-License-Identifier: MIT
// Start-up: from starting the process until tavlin's main window is shown
// with the tree loaded, headless: for generated definitions files read as
// tavlin.xml, and for the vendor-sized SVD file named on the command line.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "bench/BenchData.h"

extern char** environ;

namespace {

// Starts the start-up program with `arguments` once an iteration and waits for it.
void TimeStartUps(benchmark::State& state, std::vector<std::string> arguments) {
    const std::string child = TAVLIN_STARTUP_CHILD;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    arguments.insert(arguments.begin(), child);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, child.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start the start-up program");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the start-up program failed");
            return;
        }
    }
}

void BM_StartUp(benchmark::State& state) { TimeStartUps(state, {BenchDataPath(state.range(0))}); }

void BM_StartUpSvd(benchmark::State& state) {
    const std::string name = "svd-vendor.svd";
    state.SetLabel(name);
    TimeStartUps(state, {"--open", BenchSvdPath(name)});
}

BENCHMARK(BM_StartUp)->ArgName("fields")->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartUpSvd)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
