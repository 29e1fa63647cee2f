// SPDX-License-Identifier: MIT
#include "values/ValuesProblems.h"

#include <algorithm>
#include <utility>

std::string ValuesProblem::Format() const { return "line " + std::to_string(line) + ": " + reason; }

void ValuesProblems::Add(std::size_t line, std::string reason) {
    if (m_kept.size() < kKept) {
        m_kept.push_back({line, std::move(reason)});
    } else {
        ++m_leftOut;
    }
}

std::vector<std::string> ValuesProblems::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(m_kept.size() + 1);
    // The caller's problems come after the reader's; the lines read in file order.
    std::vector<const ValuesProblem*> byLine;
    byLine.reserve(m_kept.size());
    for (const ValuesProblem& problem : m_kept) byLine.push_back(&problem);
    std::stable_sort(byLine.begin(), byLine.end(),
                     [](const ValuesProblem* a, const ValuesProblem* b) { return a->line < b->line; });
    for (const ValuesProblem* problem : byLine) lines.push_back(problem->Format());
    if (m_leftOut == 1) lines.push_back("and 1 more problem");
    if (m_leftOut > 1) lines.push_back("and " + std::to_string(m_leftOut) + " more problems");
    return lines;
}
