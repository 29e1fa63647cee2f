// SPDX-License-Identifier: MIT
#pragma once
// The problems of one values text: lines that are no values line, and names
// the map does not have. Only the first kKept are kept, the rest counted, so a
// binary or huge file costs bounded memory however many lines it has.
#include <cstddef>
#include <string>
#include <vector>

struct ValuesProblem {
    std::size_t line = 0;  // 1-based line of the values text
    std::string reason;    // short, lower case: "not a hex number: 0xZZ"

    // "line N: REASON"
    std::string Format() const;
};

class ValuesProblems {
public:
    static constexpr std::size_t kKept = 100;

    // The hook for every problem, the reader's and the caller's (an unknown
    // register name, a value too wide for its register).
    void Add(std::size_t line, std::string reason);

    const std::vector<ValuesProblem>& Kept() const { return m_kept; }
    std::size_t LeftOut() const { return m_leftOut; }
    std::size_t Count() const { return m_kept.size() + m_leftOut; }
    bool Empty() const { return Count() == 0; }

    // One line a kept problem, in line order, then "and N more problems" when some were left out.
    std::vector<std::string> Lines() const;

private:
    std::vector<ValuesProblem> m_kept;
    std::size_t m_leftOut = 0;
};
