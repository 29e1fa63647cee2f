// SPDX-License-Identifier: MIT
#pragma once
// A console reporter that also keeps each benchmark's bytes_per_second and,
// once all have run, prints a table comparing one benchmark family against
// others of the same argument (e.g. the token reader against memchr).
#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

class RatioSummary : public benchmark::ConsoleReporter {
public:
    // What the ratio column compares: the subject's rate over the
    // yardstick's (higher is faster), or the subject's time over the
    // yardstick's (lower is faster; for goals such as "at most twice as long").
    enum class Ratio { Rate, Time };

    // `subject` is compared against each of `yardsticks`; names are the
    // benchmark function names, e.g. "BM_TokenReader". Rows are by argument,
    // and by label when the benchmarks set one (a file name, say).
    RatioSummary(std::string subject, std::vector<std::string> yardsticks, Ratio ratio = Ratio::Rate);

    void ReportRuns(const std::vector<Run>& runs) override;
    // With --benchmark_repetitions each row's rate is the median of the
    // repetitions, and a second ratio compares the best (fastest) of each.
    void PrintTable(std::ostream& out) const;

private:
    std::string m_subject;
    std::vector<std::string> m_yardsticks;
    Ratio m_ratio;
    // Bytes per second of every repetition, by function name, then by
    // argument (and label) text.
    std::map<std::string, std::map<std::string, std::vector<double>>> m_rates;
};
