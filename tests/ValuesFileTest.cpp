// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "values/ValuesFileWriter.h"
#include "values/ValuesTextReader.h"

namespace {

TEST(ValuesFile, SavedValuesReadBackTheSame) {
    struct Saved {
        std::string name;
        std::string value;
        std::uint64_t number;
    };
    const std::vector<Saved> saved = {
        {"UART1.UARTCR", "0x00000301", 0x301},    {"RCC.CR", "0x00000000", 0},
        {"DMA.CH[0].CTRL", "0x0001", 1},          {"DMA.CH[12].CNT", "0xff", 0xff},
        {"CORE.WIDE", "0xffffffffffffffff", ~std::uint64_t{0}}, {"ABCD.EF", "0x0000abcd", 0xabcd},
        {"odd_1.R_2", "0x7", 7},
    };
    ValuesFileWriter writer("svd-example.svd");
    for (const Saved& s : saved) writer.Add(s.name, s.value);
    const std::string& text = writer.Text();
    EXPECT_EQ(text.substr(0, text.find('\n')), "# tavlin values for svd-example.svd");
    EXPECT_EQ(text.substr(text.find('\n') + 1, 26), "UART1.UARTCR = 0x00000301\n");

    const ValuesText read = ReadValuesText(text, [&](std::string_view w) {
        for (const Saved& s : saved) {
            if (s.name == w) return true;
        }
        return false;
    });
    EXPECT_TRUE(read.problems.Empty());
    EXPECT_TRUE(read.addressed.empty());
    ASSERT_EQ(read.named.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(read.named[i].name, saved[i].name);
        EXPECT_EQ(read.named[i].value, saved[i].number) << saved[i].name;
        EXPECT_EQ(read.named[i].line, i + 2);
    }
}

TEST(ValuesFile, AMapNameWithALineBreakStaysOneCommentLine) {
    ValuesFileWriter writer("two\nlines\r.svd");
    EXPECT_EQ(writer.Text(), "# tavlin values for two lines .svd\n");
    const ValuesText read = ReadValuesText(writer.Text());
    EXPECT_TRUE(read.problems.Empty());
}

}  // namespace
