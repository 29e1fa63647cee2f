#include "bench/RatioSummary.h"

#include <cstdio>
#include <utility>

RatioSummary::RatioSummary(std::string subject, std::vector<std::string> yardsticks)
    : m_subject(std::move(subject)), m_yardsticks(std::move(yardsticks)) {}

void RatioSummary::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        const auto it = run.counters.find("bytes_per_second");
        if (it == run.counters.end()) continue;
        // Counters reach reporters already finished: a rate is per second here.
        const double rate = it->second.value;
        m_rates[run.run_name.function_name][run.run_name.args] = rate;
    }
}

void RatioSummary::PrintTable(std::ostream& out) const {
    const auto subject = m_rates.find(m_subject);
    if (subject == m_rates.end()) return;
    char line[256];
    out << "\nSummary (MB/s, 1 MB = 10^6 bytes; ratio = " << m_subject << " / yardstick)\n";
    std::snprintf(line, sizeof line, "%-16s %14s", "argument", m_subject.c_str());
    out << line;
    for (const auto& name : m_yardsticks) {
        std::snprintf(line, sizeof line, " %14s %8s", name.c_str(), "ratio");
        out << line;
    }
    out << '\n';
    for (const auto& [arg, rate] : subject->second) {
        std::snprintf(line, sizeof line, "%-16s %14.0f", arg.c_str(), rate / 1e6);
        out << line;
        for (const auto& name : m_yardsticks) {
            double yardstick = 0;
            if (const auto family = m_rates.find(name); family != m_rates.end()) {
                if (const auto found = family->second.find(arg); found != family->second.end())
                    yardstick = found->second;
            }
            if (yardstick > 0)
                std::snprintf(line, sizeof line, " %14.0f %8.2f", yardstick / 1e6, rate / yardstick);
            else
                std::snprintf(line, sizeof line, " %14s %8s", "-", "-");
            out << line;
        }
        out << '\n';
    }
}
