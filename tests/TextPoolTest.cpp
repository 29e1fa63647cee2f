// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tree/TextPool.h"

namespace {

// The pool hands back equal texts for equal bytes and never mixes up texts
// that share words: lengths around the 4- and 8-byte reads of its hash.
TEST(TextPool, TextsReadBackExactlyAcrossTheHashsReads) {
    CTextPool pool;
    std::vector<std::string> texts;
    for (size_t length = 0; length <= 40; ++length) {
        texts.push_back(std::string(length, 'a'));
        texts.push_back(std::string(length, 'a') + "b");
        texts.push_back(std::string("b") + std::string(length, 'a'));
    }
    texts.push_back(std::string("x\0y", 3));
    texts.push_back(std::string("x\0z", 3));
    std::vector<const char*> stored;
    for (const std::string& text : texts) stored.push_back(pool.Add(text.data(), text.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(std::memcmp(stored[i], texts[i].data(), texts[i].size()), 0) << i;
        ASSERT_EQ(stored[i][texts[i].size()], '\0') << i;
        // The same bytes again: possibly shared, an equal text in any case.
        const char* again = pool.Add(texts[i].data(), texts[i].size());
        ASSERT_EQ(std::memcmp(again, texts[i].data(), texts[i].size()), 0) << i;
        ASSERT_EQ(again[texts[i].size()], '\0') << i;
    }
    EXPECT_EQ(pool.Add("EN", 2), pool.Add("EN", 2));
    EXPECT_NE(pool.Add("EN", 2), pool.Add("EM", 2));
}

}  // namespace
