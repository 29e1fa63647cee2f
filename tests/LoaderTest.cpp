// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"
#include "defs/RegisterMap.h"
#include "defs/TreeDump.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"

namespace {

struct Loaded {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CFieldTable& table = map.Fields();
    LoadReport result;
    std::string dump;
};

// Loads `text` as tavlin.xml and records the tree, the table and the message.
std::unique_ptr<Loaded> Load(const std::string& text) {
    auto loaded = std::make_unique<Loaded>();
    loaded->result = LoadDefinitionsText(loaded->map, text, "tavlin.xml");
    std::ostringstream out;
    DumpTree(out, loaded->map);
    loaded->dump = out.str();
    return loaded;
}

const char* const kExample =
    "<tavlin>\n"
    "<regset n=\"Timers\" d=\"Counters\">\n"
    "  <register n=\"CTRL\" w=\"32\" a=\"0x1000\" d=\"Control\">\n"
    "    <field n=\"MODE\" k=\"combo\" d=\"Mode\" l=\"4\" h=\"5\">\n"
    "      <select n=\"Slow\" v=\"0\"/>\n"
    "      <select n=\"Fast\" v=\"2\"/>\n"
    "    </field>\n"
    "  </register>\n"
    "</regset>\n"
    "</tavlin>\n";

TEST(Loader, BuildsTheExample) {
    const auto loaded = Load(kExample);
    EXPECT_TRUE(loaded->result.Ok());
    EXPECT_EQ(loaded->dump,
              "set Timers \"Counters\"\n"
              "  register CTRL 32 bits value \"0x1000\" \"Control\"\n"
              "    field MODE 4..5 combo 2 [Fast=2, Slow=0] \"Mode\"\n");
    EXPECT_EQ(loaded->result.registerSets, 1);
    EXPECT_EQ(loaded->result.registers, 1);
    EXPECT_EQ(loaded->result.fields, 1);
}

struct LoadCase {
    const char* name;
    std::string text;
    std::string message;  // empty: no message
    std::string dump;     // the rows left behind
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoaderCases : public testing::TestWithParam<LoadCase> {};

TEST_P(LoaderCases, ShowsAtMostTheExpectedMessageAndKeepsRows) {
    const auto& c = GetParam();
    const auto loaded = Load(c.text);
    if (c.message.empty()) {
        EXPECT_TRUE(loaded->result.Ok());
    } else {
        EXPECT_EQ(loaded->result.Message().value_or(""), c.message);
        // A text that does not begin as a definitions file is another format; any later fault ends the load.
        ASSERT_EQ(loaded->result.problems.Count(), 1u);
        const bool notDefinitions = c.message.ends_with("expected <tavlin> tag!");
        EXPECT_EQ(loaded->result.problems.Front().code,
                  notDefinitions ? ProblemCode::kNotThisFormat : ProblemCode::kFormatFault);
        EXPECT_EQ(loaded->result.opened, !notDefinitions);
    }
    EXPECT_EQ(loaded->result.Message().value_or(""), c.message);
    EXPECT_EQ(loaded->dump, c.dump);
}

const std::string kSet = "<tavlin><regset n=\"S\" d=\"s\">";
const std::string kReg = kSet + "<register n=\"R\" w=\"16\" v=\"0x0\" d=\"r\">";

INSTANTIATE_TEST_SUITE_P(
    Loader, LoaderCases,
    testing::Values(
        LoadCase{"OnlyRoot", "<tavlin></tavlin>", "", ""},
        LoadCase{"EmptyText", "", "tavlin.xml: expected <tavlin> tag!", ""},
        LoadCase{"XmlDeclarationFirst", "<?xml version=\"1.0\"?><tavlin></tavlin>",
                 "tavlin.xml: expected <tavlin> tag!", ""},
        LoadCase{"CommentedDeclaration", "#<?xml version=\"1.0\"?>\n<tavlin></tavlin>", "", ""},
        LoadCase{"MissingRootEnd", "<tavlin><other>", "tavlin.xml: expected </tavlin> tag!", ""},
        LoadCase{"EmptySetRegisterAndCombo",
                 kReg + "<field n=\"F\" k=\"combo\" d=\"f\" l=\"0\" h=\"1\"></field></register></regset></tavlin>",
                 "",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n    field F 0..1 combo -1 [] \"f\"\n"},
        LoadCase{"ThirdSetAttribute", "<tavlin><regset n=\"S\" d=\"s\" x=\"y\"></regset></tavlin>",
                 "tavlin.xml: expected </regset> tag!", "set S \"s\"\n"},
        LoadCase{"MissingRegisterEnd", kReg + "</regset>", "tavlin.xml: expected </register> tag!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n"},
        LoadCase{"SelfClosingField", kReg + "<field n=\"F\" k=\"edit\" d=\"f\" l=\"0\" h=\"3\"/>",
                 "tavlin.xml: expected </field> tag!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n    field F 0..3 edit \"0x0\" \"f\"\n"},
        LoadCase{"CapitalisedKind", kReg + "<field n=\"F\" k=\"Edit\" d=\"f\" l=\"0\" h=\"3\"></field>",
                 "tavlin.xml: expected field type of 'edit' or 'combo'!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n"},
        LoadCase{"HexNumbersReadAsZero",
                 kSet + "<register n=\"R\" w=\"0x10\" v=\"v\" d=\"r\"><field n=\"F\" k=\"combo\" d=\"f\" l=\"0x4\" "
                        "h=\"0x7\"><select n=\"A\" v=\"0x3\"/></field></register></regset></tavlin>",
                 "",
                 "set S \"s\"\n  register R 0 bits value \"v\" \"r\"\n    field F 0..0 combo 0 [A=0] \"f\"\n"},
        LoadCase{"OnThenOffStartsWithOff",
                 kReg + "<field n=\"F\" k=\"combo\" d=\"f\" l=\"0\" h=\"0\"><select n=\"On\" v=\"1\"/>"
                        "<select n=\"Off\" v=\"0\"/></field></register></regset></tavlin>",
                 "",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n    field F 0..0 combo 0 [Off=0, On=1] \"f\"\n"},
        LoadCase{"TextAfterRootIsNeverRead", "<tavlin></tavlin> <<< \"unterminated", "", ""},
        LoadCase{"BadSecondSetKeepsTheFirst",
                 kSet + "</regset><regset n=\"T\" d=\"t\"><register n=\"Q\" w=\"8\" v=\"1\" d=\"q\"></regset>",
                 "tavlin.xml: expected </register> tag!",
                 "set S \"s\"\nset T \"t\"\n  register Q 8 bits value \"1\" \"q\"\n"},
        // The text ends where a value is expected: the message of the element being read.
        LoadCase{"EndsInSetHeader", "<tavlin><regset n=\"S\"", "tavlin.xml: expected </regset> tag!", "set S \"\"\n"},
        LoadCase{"EndsInRegisterHeader", kSet + "<register n=\"R\" w=\"8\"",
                 "tavlin.xml: expected </register> tag!", "set S \"s\"\n  register R 8 bits value \"\" \"\"\n"},
        LoadCase{"EndsBeforeFieldKind", kReg + "<field n=\"F\"",
                 "tavlin.xml: expected field type of 'edit' or 'combo'!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n"},
        LoadCase{"EndsInFieldHeader", kReg + "<field n=\"F\" k=\"edit\" d=\"f\" l=\"2\"",
                 "tavlin.xml: expected </field> tag!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n    field F edit \"0x0\" \"f\"\n"},
        LoadCase{"EndsInChoice", kReg + "<field n=\"F\" k=\"combo\" d=\"f\" l=\"2\" h=\"3\"><select n=\"A\" v=\"1\"",
                 "tavlin.xml: expected </field> tag!",
                 "set S \"s\"\n  register R 16 bits value \"0x0\" \"r\"\n    field F 2..3 combo 0 [A=1] \"f\"\n"},
        LoadCase{"EndsAfterRoot", "<tavlin>", "tavlin.xml: expected </tavlin> tag!", ""}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(Loader, MissingFileLeavesTreeAndTableUntouched) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CFieldTable& table = map.Fields();
    const auto result = LoadDefinitionsFile(map, "/nonexistent/dir/tavlin.xml", "tavlin.xml");
    EXPECT_EQ(result.Message().value_or(""), "ERROR: Failed to load file - tavlin.xml");
    EXPECT_TRUE(result.problems.Has(ProblemCode::kCannotRead));
    EXPECT_EQ(tree.GetRootItem()->GetChild(), nullptr);
    EXPECT_EQ(table.Size(), 0u);
}

// Same-named fields keep their own spans: in two registers, and twice in one.
TEST(Loader, SameLabelFieldsKeepTheirOwnSpans) {
    const auto loaded = Load(
        kSet +
        "<register n=\"A\" w=\"32\" v=\"0\" d=\"\">"
        "  <field n=\"EN\" k=\"edit\" d=\"\" l=\"0\" h=\"0\"></field>"
        "  <field n=\"MODE\" k=\"combo\" d=\"\" l=\"1\" h=\"2\"><select n=\"x\" v=\"1\"/></field>"
        "</register>"
        "<register n=\"B\" w=\"32\" v=\"0\" d=\"\">"
        "  <field n=\"EN\" k=\"combo\" d=\"\" l=\"31\" h=\"31\"></field>"
        "  <field n=\"MODE\" k=\"edit\" d=\"\" l=\"8\" h=\"11\"></field>"
        "  <field n=\"MODE\" k=\"edit\" d=\"\" l=\"16\" h=\"19\"></field>"
        "</register></regset></tavlin>");
    ASSERT_TRUE(loaded->result.Ok());
    const CPropTreeItem* a = loaded->tree.GetRootItem()->GetChild()->GetChild();
    const CPropTreeItem* b = a->GetSibling();
    struct Expect {
        const CPropTreeItem* row;
        const char* label;
        int low, high;
        bool combo;
    };
    const CPropTreeItem* b1 = b->GetChild();
    const Expect expects[] = {
        {a->GetChild(), "EN", 0, 0, false},         {a->GetChild()->GetSibling(), "MODE", 1, 2, true},
        {b1, "EN", 31, 31, true},                   {b1->GetSibling(), "MODE", 8, 11, false},
        {b1->GetSibling()->GetSibling(), "MODE", 16, 19, false},
    };
    for (const auto& e : expects) {
        ASSERT_NE(e.row, nullptr);
        EXPECT_STREQ(e.row->GetLabelText(), e.label);
        const FieldSpan* span = loaded->table.Find(e.row);
        ASSERT_NE(span, nullptr) << e.label;
        EXPECT_EQ(span->nLowBit, e.low) << e.label;
        EXPECT_EQ(span->nHighBit, e.high) << e.label;
        EXPECT_EQ(span->bCombo, e.combo) << e.label;
    }
    EXPECT_EQ(loaded->table.Size(), 5u);
}

TEST(Loader, EntryOfAFieldWhoseClosingTagFailedStays) {
    const auto loaded = Load(kReg + "<field n=\"F\" k=\"edit\" d=\"f\" l=\"4\" h=\"7\"/>");
    const CPropTreeItem* field = loaded->tree.GetRootItem()->GetChild()->GetChild()->GetChild();
    ASSERT_NE(loaded->table.Find(field), nullptr);
    EXPECT_EQ(loaded->table.Find(field)->nLowBit, 4);
}

TEST(Loader, LongLabelsAreCutAndLongTextsKeepTheTokenLimit) {
    const std::string longLabel(100000, 'L');
    const std::string longInfo(3000, 'i');
    const auto loaded = Load(kReg + "<field n=\"" + longLabel + "\" k=\"combo\" d=\"" + longInfo +
                             "\" l=\"0\" h=\"1\"><select n=\"" + longLabel +
                             "\" v=\"1\"/></field></register></regset></tavlin>");
    EXPECT_TRUE(loaded->result.Ok()) << loaded->result.Message().value_or("");
    const auto* field =
        dynamic_cast<const CPropTreeItemCombo*>(loaded->tree.GetRootItem()->GetChild()->GetChild()->GetChild());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(std::string(field->GetLabelText()), std::string(255, 'L'));
    EXPECT_EQ(std::string(field->GetInfoText()), std::string(1024, 'i'));
    ASSERT_EQ(field->GetEntries().size(), 1u);
    EXPECT_EQ(field->GetEntries()[0].label, std::string(255, 'L'));
    EXPECT_EQ(field->GetItemValue(), 1);
}

TEST(Loader, LongUnquotedLabelSpillsIntoTheNextPositionAndFailsCleanly) {
    const auto loaded = Load("<tavlin><regset n=" + std::string(1500, 'x') + " d=\"s\"></regset></tavlin>");
    EXPECT_EQ(loaded->result.Message().value_or(""), "tavlin.xml: expected </regset> tag!");
}

TEST(Loader, RegisterWidthAndValueText) {
    const auto loaded = Load(kSet + "<register n=\"R\" w=\"abc\" v=\"0xDEAD\" d=\"r\"></register></regset></tavlin>");
    const auto* reg = dynamic_cast<const CRegisterItem*>(loaded->tree.GetRootItem()->GetChild()->GetChild());
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(reg->m_nBits, 0);
    EXPECT_EQ(reg->GetAttributeText(), "0xDEAD");
}

}  // namespace
