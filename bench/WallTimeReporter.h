// SPDX-License-Identifier: MIT
#pragma once
// The console's report, keeping each benchmark's wall time (the median with
// --benchmark_repetitions, which comes after the repetitions) for the goals a
// benchmark program prints at its end.
#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class WallTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")) continue;
            m_ms[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
    // The benchmark function's time in milliseconds; none when it did not run.
    std::optional<double> Ms(const std::string& function) const {
        const auto found = m_ms.find(function);
        return found == m_ms.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<std::string, double> m_ms;
};

// Runs the benchmarks the command line asks for through a WallTimeReporter,
// then `printGoals` with it.
template <typename PrintGoals>
int RunWithGoals(int argc, char** argv, PrintGoals printGoals) {
    benchmark::Initialize(&argc, argv);
    WallTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printGoals(reporter);
    benchmark::Shutdown();
    return 0;
}
