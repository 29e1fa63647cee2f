// SPDX-License-Identifier: MIT
// The problem type's texts, the bounded list and the result type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "problem/ProblemList.h"
#include "problem/Result.h"

namespace {

Problem At(int line, int column, std::string path, std::string detail) {
    Problem problem = MakeProblem(ProblemCode::kMissingPart, std::move(detail));
    problem.line = line;
    problem.column = column;
    problem.path = std::move(path);
    return problem;
}

TEST(Problem, TextsWithAndWithoutAPlace) {
    struct Case {
        Problem problem;
        std::string described, formatted, atLine;
    };
    const Case cases[] = {
        {At(12, 0, "TIMER0.CTRL.EN", "field has no bit range"), "TIMER0.CTRL.EN: field has no bit range",
         "chip.svd:12: TIMER0.CTRL.EN: field has no bit range", "line 12: TIMER0.CTRL.EN: field has no bit range"},
        {At(3, 7, "", "mismatched end tag"), "mismatched end tag", "chip.svd:3:7: mismatched end tag",
         "line 3: mismatched end tag"},
        {At(0, 0, "", "cannot read chip.svd"), "cannot read chip.svd", "cannot read chip.svd",
         "cannot read chip.svd"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.problem.Describe(), c.described);
        EXPECT_EQ(c.problem.Format("chip.svd"), c.formatted);
        EXPECT_EQ(c.problem.AtLine(), c.atLine);
    }
}

TEST(ProblemList, KeepsTheFirstAndCountsTheRest) {
    ProblemList list(3);
    for (int i = 1; i <= 5; ++i) list.Add(At(i, 0, "", "p" + std::to_string(i)));
    EXPECT_EQ(list.Kept().size(), 3u);
    EXPECT_EQ(list.LeftOut(), 2u);
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.Kept().back().detail, "p3");

    ProblemList more(3);
    more.Add(MakeProblem(ProblemCode::kTimedOut, "late"));
    more.Append(list);
    EXPECT_EQ(more.Count(), 6u);
    EXPECT_TRUE(more.Has(ProblemCode::kTimedOut));
    EXPECT_FALSE(more.Has(ProblemCode::kCancelled));
}

TEST(ProblemList, FirstLinesAndHowManyMore) {
    const std::vector<std::string> lines = {"a", "b", "c"};
    EXPECT_EQ(FirstLinesAndMore(lines, 8), lines);
    EXPECT_EQ(FirstLinesAndMore(lines, 2), (std::vector<std::string>{"a", "b", "... and 1 more."}));
    EXPECT_EQ(FirstLinesAndMore(lines, 3, 4), (std::vector<std::string>{"a", "b", "c", "... and 4 more."}));
    EXPECT_EQ(FirstLinesAndMore({}, 3), std::vector<std::string>{});
}

TEST(Result, AValueOrAProblemWithItsCode) {
    const Result<int> good = Result<int>::Success(7);
    ASSERT_TRUE(good.Ok());
    EXPECT_EQ(good.Value(), 7);
    EXPECT_EQ(good.Text(), kNoProblemText);
    EXPECT_FALSE(good.Failed(ProblemCode::kTimedOut));

    const Status bad = Status::Failure(ProblemCode::kCancelled, "the read was cancelled");
    ASSERT_FALSE(bad.Ok());
    EXPECT_TRUE(bad.Failed(ProblemCode::kCancelled));
    EXPECT_FALSE(bad.Failed(ProblemCode::kTimedOut));
    const auto carried = Result<int>::FailureOf(bad);
    EXPECT_EQ(carried.Error().code, ProblemCode::kCancelled);
    EXPECT_EQ(carried.Text(), "the read was cancelled");
    EXPECT_EQ(ProblemCodeName(ProblemCode::kTimedOut), "timed out");
}

}  // namespace
