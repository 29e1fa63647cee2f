// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "tests/CalcRoundTrip.h"
#include "tests/CalcTestRig.h"
#include "tests/ExampleFiles.h"

namespace {

// Registers of every width the calculator treats differently, with fields of
// 1 to 64 bits (edit and drop-down), overlapping spans, spans written high bit
// first, spans that start outside the register, and drop-downs whose values
// no entry carries.
const char* const kRegisters = R"(<tavlin>
<regset n="Widths" d="">
  <register n="R8" w="8" a="0" d="">
    <field n="LO" k="edit" d="" l="0" h="3"></field>
    <field n="HI" k="combo" d="" l="4" h="7"><select n="Slow" v="0"/><select n="Fast" v="2"/></field>
  </register>
  <register n="R16" w="16" a="0" d="">
    <field n="ALL" k="edit" d="" l="0" h="15"></field>
  </register>
  <register n="R32" w="32" a="0" d="">
    <field n="WORD" k="edit" d="" l="0" h="31"></field>
    <field n="SAME" k="combo" d="" l="0" h="31"><select n="None" v="0"/><select n="All" v="-1"/></field>
  </register>
  <register n="R64" w="64" a="0" d="">
    <field n="EN" k="edit" d="" l="0" h="63"></field>
  </register>
  <register n="R64C" w="64" a="0" d="">
    <field n="EN" k="combo" d="" l="0" h="63"></field>
  </register>
  <register n="R12" w="12" a="0" d="">
    <field n="MID" k="edit" d="" l="2" h="9"></field>
    <field n="OUT" k="edit" d="" l="64" h="70"></field>
    <field n="FAR" k="combo" d="" l="255" h="255"></field>
    <field n="NEG" k="edit" d="" l="-1" h="5"></field>
  </register>
  <register n="R0" w="0" a="0" d="">
    <field n="BACK" k="edit" d="" l="9" h="4"></field>
    <field n="TOP" k="combo" d="" l="60" h="67"></field>
  </register>
  <register n="EMPTY" w="32" a="0" d=""></register>
</regset>
<regset n="Wide" d="">
  <register n="SPLIT" w="64" a="0" d="">
    <field n="EN" k="edit" d="" l="0" h="39"></field>
    <field n="MODE" k="combo" d="" l="40" h="63"><select n="A" v="1"/></field>
  </register>
  <register n="SWAP" w="64" a="0" d="">
    <field n="MODE" k="combo" d="" l="0" h="39"><select n="A" v="7"/></field>
    <field n="EN" k="edit" d="" l="40" h="63"></field>
  </register>
  <register n="OVERLAP" w="32" a="0" d="">
    <field n="A" k="edit" d="" l="0" h="15"></field>
    <field n="B" k="edit" d="" l="8" h="23"></field>
    <field n="C" k="combo" d="" l="4" h="11"></field>
    <field n="D" k="edit" d="" l="4" h="4"></field>
  </register>
</regset>
</tavlin>
)";

TEST(RegisterRoundTrip, EveryValueComposesBackFromItsFields) {
    CalcRig rig;
    rig.Load(kRegisters);
    ASSERT_TRUE(rig.loadResult.Ok()) << rig.loadResult.Message().value_or("");
    std::mt19937_64 random(20240611);

    EXPECT_EQ(ExpectRoundTripOnEveryRegister(rig, random, 2000), 11);
}

TEST(RegisterRoundTrip, ExampleDefinitionsFile) {
    const std::string example = ReadExampleFile("tavlin.xml");
    ASSERT_FALSE(example.empty()) << "examples/tavlin.xml is missing";
    CalcRig rig;
    rig.Load(example);
    ASSERT_TRUE(rig.loadResult.Ok()) << rig.loadResult.Message().value_or("");
    std::mt19937_64 random(7);

    EXPECT_EQ(ExpectRoundTripOnEveryRegister(rig, random, 200), rig.loadResult.registers);
}

}  // namespace
