// SPDX-License-Identifier: MIT
#include "problem/ProblemList.h"

#include <algorithm>
#include <utility>

void ProblemList::Add(Problem problem) {
    if (m_kept.size() < m_capacity) {
        m_kept.push_back(std::move(problem));
    } else {
        ++m_leftOut;
    }
}

void ProblemList::Append(const ProblemList& other) {
    for (const Problem& problem : other.m_kept) Add(problem);
    m_leftOut += other.m_leftOut;
}

bool ProblemList::Has(ProblemCode code) const {
    return std::any_of(m_kept.begin(), m_kept.end(), [code](const Problem& p) { return p.code == code; });
}

std::string AndMoreLine(std::size_t more) { return "... and " + std::to_string(more) + " more."; }

std::vector<std::string> FirstLinesAndMore(const std::vector<std::string>& lines, std::size_t shown,
                                           std::size_t notListed) {
    std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(shown, lines.size())));
    const std::size_t more = lines.size() - out.size() + notListed;
    if (more > 0) out.push_back(AndMoreLine(more));
    return out;
}
