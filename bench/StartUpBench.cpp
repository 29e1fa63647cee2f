// Start-up: from starting the process until tavlin's main window is shown
// with the tree loaded, headless, for each generated file.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "bench/BenchData.h"

extern char** environ;

namespace {

void BM_StartUp(benchmark::State& state) {
    const std::string path = BenchDataPath(state.range(0));
    const std::string child = TAVLIN_STARTUP_CHILD;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (auto _ : state) {
        std::vector<char*> argv{const_cast<char*>(child.c_str()), const_cast<char*>(path.c_str()), nullptr};
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

BENCHMARK(BM_StartUp)->ArgName("fields")->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
