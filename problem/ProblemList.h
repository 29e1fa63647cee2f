// SPDX-License-Identifier: MIT
#pragma once
// The problems of one file, text or command, in the order found. Only the
// first `Capacity()` are kept and the rest counted, so a binary or huge input
// costs bounded memory however many problems it has.
#include <cstddef>
#include <string>
#include <vector>

#include "problem/Problem.h"

class ProblemList {
public:
    static constexpr std::size_t kDefaultCapacity = 100;

    explicit ProblemList(std::size_t capacity = kDefaultCapacity) : m_capacity(capacity) {}

    void Add(Problem problem);
    // Appends another list's problems (kept and counted) after these.
    void Append(const ProblemList& other);

    const std::vector<Problem>& Kept() const { return m_kept; }
    std::size_t LeftOut() const { return m_leftOut; }
    std::size_t Count() const { return m_kept.size() + m_leftOut; }
    bool Empty() const { return Count() == 0; }
    std::size_t Capacity() const { return m_capacity; }
    // The first problem; the list must not be empty.
    const Problem& Front() const { return m_kept.front(); }
    // Whether any kept problem has `code`.
    bool Has(ProblemCode code) const;

private:
    std::size_t m_capacity;
    std::vector<Problem> m_kept;
    std::size_t m_leftOut = 0;
};

// The one way a list of lines is cut for people to read: the first `shown`
// of `lines`, then "... and N more." for the rest, where N also counts
// `notListed` lines that were never made (problems counted, not kept).
std::vector<std::string> FirstLinesAndMore(const std::vector<std::string>& lines, std::size_t shown,
                                           std::size_t notListed = 0);
// "... and N more."
std::string AndMoreLine(std::size_t more);
