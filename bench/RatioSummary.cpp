// SPDX-License-Identifier: MIT
#include "bench/RatioSummary.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <utility>

// Colours only on a terminal: a reporter given to the library does not follow
// its --benchmark_color option, and figures piped to a file should be plain.
RatioSummary::RatioSummary(std::string subject, std::vector<std::string> yardsticks, Ratio ratio)
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular),
      m_subject(std::move(subject)),
      m_yardsticks(std::move(yardsticks)),
      m_ratio(ratio) {}

void RatioSummary::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        const auto it = run.counters.find("bytes_per_second");
        if (it == run.counters.end()) continue;
        // Counters reach reporters already finished: a rate is per second here.
        const double rate = it->second.value;
        std::string row = run.run_name.args;
        if (!run.report_label.empty()) row += (row.empty() ? "" : " ") + run.report_label;
        m_rates[run.run_name.function_name][row].push_back(rate);
    }
}

namespace {

double Median(std::vector<double> rates) {
    if (rates.empty()) return 0;
    std::sort(rates.begin(), rates.end());
    const size_t middle = rates.size() / 2;
    return rates.size() % 2 ? rates[middle] : (rates[middle - 1] + rates[middle]) / 2;
}

double Best(const std::vector<double>& rates) { return rates.empty() ? 0 : *std::max_element(rates.begin(), rates.end()); }

}  // namespace

void RatioSummary::PrintTable(std::ostream& out) const {
    const auto subject = m_rates.find(m_subject);
    if (subject == m_rates.end()) return;
    bool repeated = false;
    for (const auto& [name, rows] : m_rates)
        for (const auto& [row, rates] : rows) repeated = repeated || rates.size() > 1;
    int rowWidth = 16;
    for (const auto& [row, rates] : subject->second) rowWidth = std::max(rowWidth, static_cast<int>(row.size()));
    char line[512];
    out << "\nSummary (MB/s, 1 MB = 10^6 bytes; ratio = "
        << (m_ratio == Ratio::Rate ? m_subject + " / yardstick" : "time of " + m_subject + " / time of yardstick")
        << (repeated ? "; rates are medians of the repetitions, \"best\" compares the fastest of each" : "") << ")\n";
    std::snprintf(line, sizeof line, "%-*s %14s", rowWidth, "argument", m_subject.c_str());
    out << line;
    for (const auto& name : m_yardsticks) {
        std::snprintf(line, sizeof line, " %14s %8s", name.c_str(), "ratio");
        out << line;
        if (repeated) out << "     best";
    }
    out << '\n';
    const auto ratioOf = [this](double rate, double yardstick) {
        return m_ratio == Ratio::Rate ? rate / yardstick : yardstick / rate;
    };
    for (const auto& [row, rates] : subject->second) {
        const double rate = Median(rates);
        std::snprintf(line, sizeof line, "%-*s %14.0f", rowWidth, row.c_str(), rate / 1e6);
        out << line;
        for (const auto& name : m_yardsticks) {
            const std::vector<double>* yardsticks = nullptr;
            if (const auto family = m_rates.find(name); family != m_rates.end()) {
                if (const auto found = family->second.find(row); found != family->second.end())
                    yardsticks = &found->second;
            }
            const double yardstick = yardsticks ? Median(*yardsticks) : 0;
            if (yardstick > 0 && rate > 0) {
                std::snprintf(line, sizeof line, " %14.0f %8.2f", yardstick / 1e6, ratioOf(rate, yardstick));
                out << line;
                if (repeated) {
                    std::snprintf(line, sizeof line, " %8.2f", ratioOf(Best(rates), Best(*yardsticks)));
                    out << line;
                }
            } else {
                std::snprintf(line, sizeof line, " %14s %8s", "-", "-");
                out << line;
                if (repeated) out << "        -";
            }
        }
        out << '\n';
    }
}
