// SPDX-License-Identifier: MIT
// Every map of our own round-trips through C: each register given a value,
// written as C statements and read back as values, takes exactly that value.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bits/BitArithmetic.h"
#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "tests/ExampleFiles.h"
#include "values/ValuesProblems.h"

namespace {

TEST(CRoundTrip, EveryRegisterOfTheExampleAndCoreMapsReadsBackItsValue) {
    for (const std::string file : {"examples/chip.svd", "examples/netduinoplus2.svd", "examples/tavlin.xml",
                                   "cores/armv6m.svd", "cores/armv7m.svd"}) {
        const std::string path = (SourceTreePath() / file).string();
        CRegisterMap map;
        ASSERT_TRUE(LoadRegisterFile(map, path.c_str(), file.c_str()).opened) << file;
        NoValueBox hex, decimal;
        CRegisterCalculator calc(map, hex, decimal);
        // Values of every kind: 0, all ones, and a mix of bits in and out of fields.
        std::vector<std::uint64_t> values;
        std::uint64_t seed = 0x9E3779B97F4A7C15u;
        std::string text;
        std::vector<std::size_t> written;  // the registers with a statement (not a comment: no header member)
        for (std::size_t i = 0; i < map.Registers().size(); ++i) {
            CRegisterItem& reg = *map.Registers()[i];
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            const std::uint64_t pick = i % 5 == 0 ? 0 : i % 5 == 1 ? ~std::uint64_t{0} : seed;
            values.push_back(pick & FieldMask(reg.m_nBits));
            calc.SetRegisterValue(reg, values.back(), ValueSource::Typed);
            const std::string statement = CodeStatement(map, i, values.back());
            if (statement.starts_with("//")) continue;
            written.push_back(i);
            text += statement + "\n";
        }
        const ValuesInputReport report = ReadValuesFor(map, text);
        EXPECT_TRUE(report.problems.Empty()) << file << ": " << ValuesProblemLines(report.problems).front();
        ASSERT_EQ(report.given.size(), written.size()) << file;
        EXPECT_GE(written.size() + 1, map.Registers().size()) << file;
        for (std::size_t k = 0; k < report.given.size(); ++k) {
            const std::size_t i = written[k];
            EXPECT_EQ(report.given[k], map.Registers()[i]) << file;
            EXPECT_EQ(report.values[k], values[i]) << file << ": " << CodeStatement(map, i, values[i]);
        }
    }
}

}  // namespace
