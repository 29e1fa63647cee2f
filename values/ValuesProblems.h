// SPDX-License-Identifier: MIT
#pragma once
// The problems of one values text are a ProblemList like a register file's:
// lines that are no values line, and names the map does not have, each with
// its line and code. Only the first ones are kept, the rest counted, so a
// binary or huge file costs bounded memory however many lines it has.
#include <cstddef>
#include <string>
#include <vector>

#include "problem/ProblemList.h"

// The hook for every problem of a values text, the reader's and the caller's
// (an unknown register name, a value too wide for its register).
void AddValuesProblem(ProblemList& problems, std::size_t line, ProblemCode code, std::string reason);

// One "line N: REASON" line a kept problem, in line order (the caller's
// problems come after the reader's, so they are sorted in), then "and N
// more problems" when some were left out.
std::vector<std::string> ValuesProblemLines(const ProblemList& problems);
