// SPDX-License-Identifier: MIT
// The labels of one register set: a label met again is given the first free
// LABEL_N, however many labels the set holds, and a new set starts afresh.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "defs/UniqueLabels.h"

namespace {

// What each label of `labels` is named, taken in order.
std::vector<std::string> Named(UniqueLabels& taken, const std::vector<std::string>& labels) {
    std::vector<std::string> named;
    for (const std::string& label : labels) named.push_back(taken.Take(label).value_or(label));
    return named;
}

TEST(UniqueLabels, ALabelMetAgainGetsTheFirstFreeSuffix) {
    const struct {
        const char* rule;
        std::vector<std::string> labels;
        std::vector<std::string> named;
    } cases[] = {
        {"distinct labels stay", {"A", "B", "C.A"}, {"A", "B", "C.A"}},
        {"suffixes count up", {"R", "R", "R"}, {"R", "R_2", "R_3"}},
        {"a suffix a label has already is passed over", {"R_2", "R", "R", "R"}, {"R_2", "R", "R_3", "R_4"}},
        {"a renamed label is itself taken", {"R", "R", "R_2"}, {"R", "R_2", "R_2_2"}},
        {"the empty label too", {"", ""}, {"", "_2"}},
    };
    for (const auto& c : cases) {
        UniqueLabels taken;
        EXPECT_EQ(Named(taken, c.labels), c.named) << c.rule;
    }
}

TEST(UniqueLabels, ManyLabelsStayUniqueAndANewSetStartsAfresh) {
    UniqueLabels taken;
    for (int round = 0; round < 2; ++round) {
        std::vector<std::string> labels;
        for (int i = 0; i < 1000; ++i) labels.push_back(i % 2 ? "R" : "S" + std::to_string(i));
        const std::vector<std::string> named = Named(taken, labels);
        EXPECT_EQ(std::set<std::string>(named.begin(), named.end()).size(), labels.size());
        EXPECT_EQ(named[1], "R");
        EXPECT_EQ(named[999], "R_500");
        EXPECT_EQ(taken.Count(), labels.size());
        taken.Clear();
        EXPECT_EQ(taken.Count(), 0u);
    }
}

}  // namespace
