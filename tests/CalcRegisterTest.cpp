// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/CalcTestRig.h"

namespace {

using Log = std::vector<std::string>;

TEST(RegisterCalculator, ComposesEditAndDropDownAndDecomposesInsideTheHexWrite) {
    CalcRig rig;
    auto* set = rig.AddSet("S");
    auto* reg = rig.AddRegister(set, "R", 8);
    auto* low = rig.AddEdit(reg, "LO", 0, 3, "0xf");
    auto* high = rig.AddCombo(reg, "HI", 4, 7, {{"Slow", 0}, {"Fast", 2}}, 2);
    rig.tree.SetFocusedItem(high);
    rig.log.clear();

    rig.calc.ShowRegisterValue(high);

    EXPECT_EQ(rig.hex.text, "0x2f");
    EXPECT_EQ(rig.dec.text, "47");
    EXPECT_EQ(CalcRig::TextOf(low), "0xf");
    EXPECT_EQ(high->GetItemValue(), 2);
    // The hex write runs the decomposition before the decimal box is set:
    // each field row is set, committed and refreshed, then the decimal box.
    const Log expected = {"hex 0x2f",
                          "row LO", "row LO", "refresh", "dec 47",
                          "row HI", "row HI", "refresh", "dec 47",
                          "dec 47"};
    EXPECT_EQ(rig.log, expected);
}

struct EntryCase {
    const char* name;
    int registerBits;
    int low;
    int high;
    const char* entered;
    const char* hex;
    const char* dec;
    const char* rewritten;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class EditRowEntry : public testing::TestWithParam<EntryCase> {};

// The user types into a field's edit row; the register is composed, and the
// nested decomposition rewrites the row with its own bits in its notation.
TEST_P(EditRowEntry, ShowsTheRegisterAndRewritesTheRow) {
    const auto& c = GetParam();
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", c.registerBits);
    auto* row = rig.AddEdit(reg, "F", c.low, c.high, "0x0");

    rig.UserEnters(row, c.entered);

    EXPECT_EQ(rig.hex.text, c.hex);
    EXPECT_EQ(rig.dec.text, c.dec);
    EXPECT_EQ(CalcRig::TextOf(row), c.rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditRowEntry,
    testing::Values(
        EntryCase{"KeepsLowBitsOf300", 16, 4, 7, "300", "0x00c0", "192", "12"},
        EntryCase{"MinusOneFillsTheField", 32, 8, 15, "-1", "0x0000ff00", "65280", "255"},
        EntryCase{"FullWidthField", 64, 0, 63, "0xFFFFFFFFFFFFFFFF", "0xffffffffffffffff",
                  "18446744073709551615", "0xffffffffffffffff"},
        EntryCase{"FullWidthFieldDecimal", 64, 0, 63, "-1", "0xffffffffffffffff", "18446744073709551615", "-1"},
        EntryCase{"FullWidthFieldTopBit", 64, 0, 63, "9223372036854775808", "0x8000000000000000",
                  "9223372036854775808", "-9223372036854775808"},
        EntryCase{"FortyBitFieldDecimal", 64, 8, 47, "1099511627775", "0x0000ffffffffff00",
                  "281474976710400", "1099511627775"},
        EntryCase{"FortyBitFieldHex", 64, 8, 47, "0x123456789abc", "0x00003456789abc00", "57545995238400",
                  "0x3456789abc"},
        EntryCase{"ThirtyTwoBitDecimalAllOnes", 32, 0, 31, "-1", "0xffffffff", "4294967295", "-1"},
        EntryCase{"ThirtyTwoBitDecimalFromUnsigned", 32, 0, 31, "4294967295", "0xffffffff", "4294967295", "-1"},
        EntryCase{"TwelveBitRegisterHasNoPadding", 12, 0, 11, "5", "0x5", "5", "5"},
        EntryCase{"ZeroBitRegisterHasNoPadding", 0, 0, 7, "0x5", "0x5", "5", "0x5"},
        EntryCase{"UpperCasePrefixReadsAsDecimalZero", 8, 4, 7, "0X10", "0x00", "0", "0"},
        EntryCase{"TextWithoutDigits", 8, 0, 7, "abc", "0x00", "0", "0"},
        EntryCase{"EmptiedRowBecomesHexZero", 8, 0, 7, "", "0x00", "0", "0x0"},
        EntryCase{"BitsAboveSixtyThreeAreLost", 64, 60, 67, "0xff", "0xf000000000000000",
                  "17293822569102704640", "0xf"},
        EntryCase{"HighBelowLowKeepsAllBits", 64, 7, 4, "-1", "0xffffffffffffff80", "18446744073709551488",
                  "144115188075855871"},
        EntryCase{"ZeroWidthKeepsNothing", 8, 5, 4, "0xff", "0x00", "0", "0x0"},
        EntryCase{"LowBitSixtyFourContributesNothing", 64, 64, 70, "5", "0x0000000000000000", "0", "0"},
        EntryCase{"LowBitAbove255ContributesNothing", 64, 300, 310, "1", "0x0000000000000000", "0", "0"},
        EntryCase{"NegativeLowBitContributesNothing", 64, -3, 4, "0xff", "0x0000000000000000", "0", "0x0"}),
    [](const testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

struct HexEntryCase {
    const char* typed;
    const char* rowBefore;
    const char* rowAfter;
    const char* dec;
};

TEST(RegisterCalculator, TypingIntoTheHexBoxRewritesTheFocusedRegistersRows) {
    const HexEntryCase cases[] = {
        {"0x1ff", "0x0", "0xff", "511"},  // decimal box shows the whole number, not cut
        {"0XFF", "0x0", "0x0", "0"},
        {"abc", "0x0", "0x0", "0"},
        {"0x80", "0", "128", "128"},
        {"0x12", "", "0x0", "18"},        // an emptied row becomes "0x0" whatever its bits
        {"300", "7", "44", "300"},
    };
    for (const auto& c : cases) {
        CalcRig rig;
        auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 8);
        auto* row = rig.AddEdit(reg, "F", 0, 7, c.rowBefore);
        rig.tree.SetFocusedItem(row);
        rig.log.clear();

        rig.hex.SetText(c.typed);

        EXPECT_EQ(CalcRig::TextOf(row), c.rowAfter) << c.typed;
        EXPECT_EQ(rig.dec.text, c.dec) << c.typed;
        EXPECT_EQ(rig.log.front(), std::string("hex ") + c.typed);
        EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), rig.log.front()), 1) << "hex box written again";
    }
}

TEST(RegisterCalculator, EmptiedRowTurnsHexForGood) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 8);
    auto* row = rig.AddEdit(reg, "F", 0, 7, "");
    rig.tree.SetFocusedItem(row);
    rig.hex.SetText("0x12");
    EXPECT_EQ(CalcRig::TextOf(row), "0x0");
    rig.hex.SetText("0x12");
    EXPECT_EQ(CalcRig::TextOf(row), "0x12");
}

TEST(RegisterCalculator, SelectionShowsTheRegisterOrEmptiesTheBoxes) {
    CalcRig rig;
    auto* set = rig.AddSet("S");
    auto* reg = rig.AddRegister(set, "R", 16);
    auto* a = rig.AddEdit(reg, "A", 0, 7, "0x34");
    auto* b = rig.AddEdit(reg, "B", 8, 15, "18");

    for (CPropTreeItem* row : {static_cast<CPropTreeItem*>(reg), static_cast<CPropTreeItem*>(a),
                               static_cast<CPropTreeItem*>(b)}) {
        rig.tree.UserSelectItem(row);
        rig.calc.OnTreeSelChanged(row);
        EXPECT_EQ(rig.hex.text, "0x1234") << row->GetLabelText();
        EXPECT_EQ(rig.dec.text, "4660") << row->GetLabelText();
    }

    rig.tree.UserSelectItem(set);
    rig.log.clear();
    rig.calc.OnTreeSelChanged(set);
    EXPECT_EQ(rig.log, (Log{"hex ", "dec "}));  // the nested decomposition does nothing for a set
    EXPECT_EQ(CalcRig::TextOf(a), "0x34");
    EXPECT_EQ(CalcRig::TextOf(b), "18");
}

TEST(RegisterCalculator, NothingHappensWithoutARowOrARegister) {
    CalcRig rig;
    auto* set = rig.AddSet("S");
    auto* reg = rig.AddRegister(set, "R", 8);
    auto* row = rig.AddEdit(reg, "F", 0, 7, "0x5");
    rig.hex.text = "0x77";
    rig.log.clear();

    rig.calc.OnTreeSelChanged(nullptr);
    rig.calc.ShowRegisterValue(nullptr);
    rig.calc.ShowRegisterValue(set);  // a set names no register
    rig.calc.ApplyHexValue();         // nothing focused
    rig.tree.SetFocusedItem(set);
    rig.calc.ApplyHexValue();         // a set focused

    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(CalcRig::TextOf(row), "0x5");
}

TEST(RegisterCalculator, RegisterWithoutFieldsShowsZeroAndTakesNothing) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 32);
    rig.tree.SetFocusedItem(reg);
    rig.log.clear();

    rig.calc.ShowRegisterValue(reg);
    EXPECT_EQ(rig.log, (Log{"hex 0x00000000", "dec 0"}));

    rig.log.clear();
    rig.hex.SetText("0x1234");
    EXPECT_EQ(rig.log, (Log{"hex 0x1234"}));  // no field row: the decimal box is not written
}

TEST(RegisterCalculator, RowsWithoutASpanAreNeverReadOrWritten) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 8);
    auto* field = rig.AddEdit(reg, "F", 0, 3, "0x3");
    auto* stray = new CPropTreeItemEdit;  // an edit row the table does not know
    rig.tree.InsertItem(stray, reg);
    stray->SetItemValue(reinterpret_cast<LPARAM>("0xf0"));
    auto* plain = rig.tree.InsertItem(new CPropTreeItem, reg);
    rig.table.Set(plain, FieldSpan{4, 7, false});  // a span on a row that holds no value
    rig.tree.SetFocusedItem(field);

    rig.calc.ShowRegisterValue(field);

    EXPECT_EQ(rig.hex.text, "0x03");
    EXPECT_EQ(CalcRig::TextOf(stray), "0xf0");
}

TEST(RegisterCalculator, RowClassDecidesHowAFieldIsReadAndWritten) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 8);
    auto* edit = rig.AddEdit(reg, "E", 0, 3, "0x5");
    auto* combo = rig.AddCombo(reg, "C", 4, 7, {}, 2);
    rig.table.Set(edit, FieldSpan{0, 3, true});    // spans that claim the other kind
    rig.table.Set(combo, FieldSpan{4, 7, false});
    rig.tree.SetFocusedItem(edit);

    rig.calc.ShowRegisterValue(edit);

    EXPECT_EQ(rig.hex.text, "0x25");
    EXPECT_EQ(CalcRig::TextOf(edit), "0x5");
    EXPECT_EQ(combo->GetItemValue(), 2);
}

TEST(RegisterCalculator, DropDownRowsTakeTheWholeFieldValue) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 64);
    auto* narrow = rig.AddCombo(reg, "N", 0, 3, {{"Off", 0}, {"On", 1}}, 1);
    auto* word = rig.AddCombo(reg, "W", 8, 39, {{"None", 0}, {"All", -1}}, -1);
    auto* wide = rig.AddCombo(reg, "X", 40, 63, {{"Zero", 0}}, 0);
    auto* empty = rig.AddCombo(reg, "E", 4, 7, {}, CB_ERR);  // a list without entries starts at -1
    rig.tree.SetFocusedItem(reg);

    rig.calc.ShowRegisterValue(reg);
    EXPECT_EQ(rig.hex.text, "0x000000fffffffff1");
    EXPECT_EQ(empty->GetItemValue(), 15);          // masked to its four bits
    EXPECT_EQ(word->GetItemValue(), -1);           // a 32-bit field keeps its negative entry
    EXPECT_EQ(word->GetCurSel(), 0);               // "All" sorts first

    rig.hex.SetText("0xabcdef0000000003");
    EXPECT_EQ(narrow->GetItemValue(), 3);          // a value no entry carries is kept
    EXPECT_EQ(narrow->GetCurSel(), -1);
    EXPECT_EQ(word->GetItemValue(), 0);
    EXPECT_EQ(wide->GetItemValue(), 0xabcdef);     // more than 8 bits: not cut to 32

    rig.calc.ShowRegisterValue(reg);
    EXPECT_EQ(rig.hex.text, "0xabcdef0000000003");
}

TEST(RegisterCalculator, OverlappingSpansOrOnComposeAndSplitOnDecompose) {
    CalcRig rig;
    auto* reg = rig.AddRegister(rig.AddSet("S"), "R", 16);
    auto* low = rig.AddEdit(reg, "L", 0, 7, "0xff");
    auto* mid = rig.AddEdit(reg, "M", 4, 11, "0x0");
    auto* same = rig.AddCombo(reg, "C", 0, 3, {}, 0);
    rig.tree.SetFocusedItem(low);

    rig.calc.ShowRegisterValue(low);

    EXPECT_EQ(rig.hex.text, "0x00ff");
    EXPECT_EQ(CalcRig::TextOf(low), "0xff");
    EXPECT_EQ(CalcRig::TextOf(mid), "0xf");
    EXPECT_EQ(same->GetItemValue(), 15);

    rig.UserEnters(mid, "0xa5");
    EXPECT_EQ(rig.hex.text, "0x0aff");
    EXPECT_EQ(CalcRig::TextOf(low), "0xff");
    EXPECT_EQ(CalcRig::TextOf(mid), "0xaf");
    EXPECT_EQ(same->GetItemValue(), 15);
}

// The loader's example register, end to end.
TEST(RegisterCalculator, WorksOnLoadedRows) {
    CalcRig rig;
    rig.Load(
        "<tavlin><regset n=\"Timers\" d=\"Counters\">"
        "<register n=\"CTRL\" w=\"32\" a=\"0x1000\" d=\"Control\">"
        "<field n=\"EN\" k=\"edit\" d=\"Enable\" l=\"0\" h=\"0\"></field>"
        "<field n=\"MODE\" k=\"combo\" d=\"Mode\" l=\"4\" h=\"5\">"
        "<select n=\"Slow\" v=\"0\"/><select n=\"Fast\" v=\"2\"/></field>"
        "</register></regset></tavlin>");
    ASSERT_TRUE(rig.loadResult.Ok()) << rig.loadResult.Message().value_or("");
    CPropTreeItem* reg = rig.tree.GetRootItem()->GetChild()->GetChild();
    CPropTreeItem* en = reg->GetChild();

    rig.UserEnters(en, "1");

    EXPECT_EQ(rig.hex.text, "0x00000021");
    EXPECT_EQ(rig.dec.text, "33");
    EXPECT_EQ(CalcRig::TextOf(en), "1");
}

}  // namespace
