// SPDX-License-Identifier: MIT
#include "values/ValuesProblems.h"

#include <algorithm>
#include <climits>
#include <utility>

void AddValuesProblem(ProblemList& problems, std::size_t line, ProblemCode code, std::string reason) {
    Problem problem = MakeProblem(code, std::move(reason));
    problem.line = static_cast<int>(std::min<std::size_t>(line, INT_MAX));
    problems.Add(std::move(problem));
}

std::vector<std::string> ValuesProblemLines(const ProblemList& problems) {
    std::vector<const Problem*> byLine;
    byLine.reserve(problems.Kept().size());
    for (const Problem& problem : problems.Kept()) byLine.push_back(&problem);
    std::stable_sort(byLine.begin(), byLine.end(), [](const Problem* a, const Problem* b) { return a->line < b->line; });
    std::vector<std::string> lines;
    lines.reserve(byLine.size() + 1);
    for (const Problem* problem : byLine) lines.push_back(problem->AtLine());
    const std::size_t leftOut = problems.LeftOut();
    if (leftOut == 1) lines.push_back("and 1 more problem");
    if (leftOut > 1) lines.push_back("and " + std::to_string(leftOut) + " more problems");
    return lines;
}
