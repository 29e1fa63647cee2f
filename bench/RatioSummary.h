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
    // `subject` is compared against each of `yardsticks`; names are the
    // benchmark function names, e.g. "BM_TokenReader".
    RatioSummary(std::string subject, std::vector<std::string> yardsticks);

    void ReportRuns(const std::vector<Run>& runs) override;
    void PrintTable(std::ostream& out) const;

private:
    std::string m_subject;
    std::vector<std::string> m_yardsticks;
    // Bytes per second by function name, then by argument text.
    std::map<std::string, std::map<std::string, double>> m_rates;
};
