// SPDX-License-Identifier: MIT
// Pack versions ordered as semantic versions, and a pdsc's newest release.
#include <gtest/gtest.h>

#include "packs/PackVersion.h"

namespace {

struct Ordered {
    const char* lower;
    const char* higher;
};

TEST(PackVersion, OrdersAsSemanticVersions) {
    const Ordered cases[] = {
        {"3.10.2", "4.0.1"},     {"3.9", "3.10.2"},        {"3.9.9", "3.10"},   {"1.0.0-dev", "1.0.0"},
        {"2.1.0-rc1", "2.1.0"},  {"2.1.0-alpha", "2.1.0-beta"}, {"1.0.0-rc1", "1.0.0-rc2"}, {"1.0.0-2", "1.0.0-10"},
        {"1.0.0-9", "1.0.0-a"},  {"1.0.0-rc", "1.0.0-rc.1"}, {"0.9.99", "1.0.0-dev"}, {"1.2", "1.2.1"},
        {"09.1", "10.0"},        {"", "0.0.1"},
    };
    for (const auto& [lower, higher] : cases) {
        SCOPED_TRACE(std::string(lower) + " < " + higher);
        EXPECT_LT(PackVersion(lower), PackVersion(higher));
        EXPECT_GT(PackVersion(higher), PackVersion(lower));
    }
}

TEST(PackVersion, EqualWhereOnlyBuildOrTrailingZerosDiffer) {
    const Ordered cases[] = {{"1.2.3+build7", "1.2.3"}, {"3.9", "3.9.0"}, {"1.0.0-rc1+x", "1.0.0-rc1"}, {"010.1", "10.1"}};
    for (const auto& [a, b] : cases) {
        SCOPED_TRACE(std::string(a) + " == " + b);
        EXPECT_EQ(PackVersion(a), PackVersion(b));
    }
    EXPECT_TRUE(PackVersion("1.0.0-dev3").IsPreRelease());
    EXPECT_FALSE(PackVersion("1.0.0+dev3").IsPreRelease());
}

TEST(PackVersion, NewestOfReleasesWhateverTheirOrder) {
    EXPECT_EQ(NewestVersion({"3.9.0", "4.0.1", "4.0.1-dev", "3.10.2"}).Text(), "4.0.1");
    EXPECT_EQ(NewestVersion({"1.1.0-rc1", "1.0.0"}).Text(), "1.1.0-rc1");
    EXPECT_TRUE(NewestVersion({}).Empty());
}

}  // namespace
