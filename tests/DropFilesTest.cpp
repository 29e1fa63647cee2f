// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/DropFiles.h"

namespace {

TEST(DropFiles, DragQueryFileCountsMeasuresAndCopiesWithinTheBuffer) {
    const DropFiles drop{{"/tmp/a.svd", "b"}};
    const struct {
        UINT index;
        UINT size;  // 0 with no buffer: only the length is asked for
        bool buffer;
        UINT result;
        const char* copied;
    } cases[] = {
        {0xFFFFFFFF, 0, false, 2, ""},
        {0, 0, false, 10, ""},
        {1, 0, false, 1, ""},
        {0, 11, true, 10, "/tmp/a.svd"},
        {0, 64, true, 10, "/tmp/a.svd"},
        {0, 5, true, 4, "/tmp"},  // cut to fit, terminator included
        {0, 1, true, 0, ""},
        {0, 0, true, 0, "untouched"},
        {2, 64, true, 0, "untouched"},  // no such file
    };
    for (const auto& c : cases) {
        char text[64] = "untouched";
        EXPECT_EQ(DragQueryFile(&drop, c.index, c.buffer ? text : nullptr, c.size), c.result) << c.index << "/" << c.size;
        if (c.buffer) {
            EXPECT_STREQ(text, c.copied) << c.index << "/" << c.size;
        }
    }
    EXPECT_EQ(DragQueryFile(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

}  // namespace
