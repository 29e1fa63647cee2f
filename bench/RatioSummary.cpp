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
        m_rates[run.run_name.function_name][row] = rate;
    }
}

void RatioSummary::PrintTable(std::ostream& out) const {
    const auto subject = m_rates.find(m_subject);
    if (subject == m_rates.end()) return;
    int rowWidth = 16;
    for (const auto& [row, rate] : subject->second) rowWidth = std::max(rowWidth, static_cast<int>(row.size()));
    char line[512];
    out << "\nSummary (MB/s, 1 MB = 10^6 bytes; ratio = "
        << (m_ratio == Ratio::Rate ? m_subject + " / yardstick" : "time of " + m_subject + " / time of yardstick")
        << ")\n";
    std::snprintf(line, sizeof line, "%-*s %14s", rowWidth, "argument", m_subject.c_str());
    out << line;
    for (const auto& name : m_yardsticks) {
        std::snprintf(line, sizeof line, " %14s %8s", name.c_str(), "ratio");
        out << line;
    }
    out << '\n';
    for (const auto& [row, rate] : subject->second) {
        std::snprintf(line, sizeof line, "%-*s %14.0f", rowWidth, row.c_str(), rate / 1e6);
        out << line;
        for (const auto& name : m_yardsticks) {
            double yardstick = 0;
            if (const auto family = m_rates.find(name); family != m_rates.end()) {
                if (const auto found = family->second.find(row); found != family->second.end())
                    yardstick = found->second;
            }
            if (yardstick > 0 && rate > 0) {
                const double ratio = m_ratio == Ratio::Rate ? rate / yardstick : yardstick / rate;
                std::snprintf(line, sizeof line, " %14.0f %8.2f", yardstick / 1e6, ratio);
            } else {
                std::snprintf(line, sizeof line, " %14s %8s", "-", "-");
            }
            out << line;
        }
        out << '\n';
    }
}
