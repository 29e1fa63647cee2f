// SPDX-License-Identifier: MIT
// The row writer makes the field rows of a register alike to an earlier one
// by copying that register's rows whole. A map loaded so must be the map
// made from every field record one by one: the same rows, texts, drop-down
// entries, spans, register facts and problems.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <pugixml.hpp>

#include "defs/RegisterMap.h"
#include "defs/SvdExpansion.h"
#include "defs/SvdLoader.h"
#include "defs/SvdRowWriter.h"
#include "tests/ExampleFiles.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"

namespace {

// The writer, declining to copy: every field row is made from its record.
class OneByOneWriter : public SvdRowWriter {
public:
    using SvdRowWriter::SvdRowWriter;
    bool FieldsAlike(const SvdRegisterRecord&, std::uint64_t) override { return false; }
};

template <typename Writer>
LoadReport Load(CRegisterMap& map, const std::string& text, std::uint64_t maxRows) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(text.data(), text.size(),
                                     pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata,
                                     pugi::encoding_utf8));
    const SvdLines lines(text);
    LoadReport result;
    result.format = RegisterFileFormat::Svd;
    Writer writer(map, result);
    ExpandSvdDevice(document.document_element(), lines, writer, {maxRows, kSvdMaxClusterDepth, kSvdAllProblems});
    map.FinishLoad();
    return result;
}

// Everything a row shows and the map knows of it, as text.
std::string Describe(const CRegisterMap& map, const CPropTreeItem& row) {
    std::string out = std::to_string(static_cast<int>(row.GetKind())) + " [" + row.GetLabelText() + "] [" +
                      row.GetInfoText() + "] [" + row.GetAttributeText() + "]";
    if (const FieldSpan* span = map.Fields().Find(&row))
        out += " span " + std::to_string(span->nLowBit) + ".." + std::to_string(span->nHighBit) +
               (span->bCombo ? " combo" : "") + " access " + std::to_string(static_cast<int>(span->access));
    if (const auto* reg = dynamic_cast<const CRegisterItem*>(&row)) {
        out += " bits " + std::to_string(reg->m_nBits) + " access " + std::to_string(static_cast<int>(map.AccessOf(*reg))) +
               (map.ReadChangesIt(*reg) ? " read-changes" : "");
        if (const auto address = map.AddressOf(*reg)) out += " at " + std::to_string(*address);
        if (const auto reset = map.ResetValueOf(*reg)) out += " reset " + std::to_string(*reset);
    }
    if (const auto* combo = dynamic_cast<const CPropTreeItemCombo*>(&row)) {
        out += " choice " + std::to_string(combo->GetCurSel()) + " {";
        for (size_t i = 0; i < combo->GetEntries().size(); ++i)
            out += std::string(combo->GetEntries()[i].label.c_str()) + "=" +
                   std::to_string(combo->GetEntries()[i].data) + "(" + combo->GetEntryInfo(i) + ")";
        out += "}";
    }
    return out;
}

void ExpectSameRows(const CRegisterMap& copied, const CPropTreeItem& a, const CRegisterMap& oneByOne,
                    const CPropTreeItem& b, const std::string& where) {
    ASSERT_EQ(a.GetChildCount(), b.GetChildCount()) << where;
    for (int i = 0; i < a.GetChildCount(); ++i) {
        const CPropTreeItem& x = *a.GetChildAt(i);
        const CPropTreeItem& y = *b.GetChildAt(i);
        EXPECT_EQ(x.GetParent(), &a);
        EXPECT_EQ(x.GetIndexInParent(), i);
        const std::string described = Describe(copied, x);
        ASSERT_EQ(described, Describe(oneByOne, y)) << where;
        ExpectSameRows(copied, x, oneByOne, y, where + " / " + described);
    }
}

// A device whose registers are alike in every way the writer copies: arrays,
// clusters, a derived peripheral, named values with descriptions and other
// values, fields with readAction and modifiedWriteValues, and fields of every
// access.
const std::string kAlike =
    "<device><name>D</name><peripherals>"
    "<peripheral><name>A</name><baseAddress>0x1000</baseAddress><registers>"
    "<register><dim>4</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>"
    "<resetValue>0x35</resetValue><fields>"
    "<field><name>MODE</name><description>The mode</description><bitRange>[1:0]</bitRange><enumeratedValues>"
    "<enumeratedValue><name>OFF</name><description>Stopped</description><value>0</value></enumeratedValue>"
    "<enumeratedValue><name>ON</name><value>1</value></enumeratedValue>"
    "<enumeratedValue><name>REST</name><isDefault>true</isDefault></enumeratedValue></enumeratedValues></field>"
    "<field><name>CLR</name><bitOffset>2</bitOffset><readAction>clear</readAction><access>read-only</access></field>"
    "<field><name>W1C</name><bitOffset>3</bitOffset><modifiedWriteValues>oneToClear</modifiedWriteValues></field>"
    "<field><dim>2</dim><dimIncrement>2</dimIncrement><name>D%s</name><bitOffset>4</bitOffset><bitWidth>2</bitWidth>"
    "<access>write-only</access></field>"
    "</fields></register>"
    "<cluster><dim>2</dim><dimIncrement>0x40</dimIncrement><name>CH[%s]</name><addressOffset>0x100</addressOffset>"
    "<register><name>CTRL</name><addressOffset>0</addressOffset><fields>"
    "<field><name>EN</name><bitRange>[0:0]</bitRange><enumeratedValues><enumeratedValue><name>YES</name><value>1</value>"
    "</enumeratedValue></enumeratedValues></field>"
    "<field><name>T</name><bitRange>[0:0]</bitRange><modifiedWriteValues>clear</modifiedWriteValues></field>"
    "</fields></register></cluster>"
    "</registers></peripheral>"
    "<peripheral derivedFrom=\"A\"><dim>2</dim><dimIncrement>0x1000</dimIncrement><name>B%s</name>"
    "<baseAddress>0x10000</baseAddress></peripheral>"
    "</peripherals></device>";

TEST(SvdRowCopy, RegistersAlikeGetTheRowsTheirRecordsWouldMake) {
    const struct {
        const char* name;
        std::string text;
    } files[] = {
        {"registers alike", kAlike},
        {"chip.svd", ReadExampleFile("chip.svd")},
        {"netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd")},
    };
    for (const auto& file : files) {
        ASSERT_FALSE(file.text.empty()) << file.name;
        // Budgets that stop the load in the middle of registers, between them, and none.
        for (const std::uint64_t maxRows : {std::uint64_t{kSvdMaxRows}, std::uint64_t{41}, std::uint64_t{58},
                                            std::uint64_t{60}, std::uint64_t{97}}) {
            const std::string where = std::string(file.name) + ", at most " + std::to_string(maxRows) + " rows";
            CRegisterMap copied;
            CRegisterMap oneByOne;
            const LoadReport a = Load<SvdRowWriter>(copied, file.text, maxRows);
            const LoadReport b = Load<OneByOneWriter>(oneByOne, file.text, maxRows);
            EXPECT_EQ(a.Message().value_or(""), b.Message().value_or("")) << where;
            EXPECT_EQ(a.registerSets, b.registerSets) << where;
            EXPECT_EQ(a.registers, b.registers) << where;
            EXPECT_EQ(a.fields, b.fields) << where;
            EXPECT_EQ(copied.Fields().Size(), oneByOne.Fields().Size()) << where;
            EXPECT_EQ(copied.Registers().size(), oneByOne.Registers().size()) << where;
            ExpectSameRows(copied, *copied.Tree().GetRootItem(), oneByOne, *oneByOne.Tree().GetRootItem(), where);
        }
    }
}

TEST(SvdRowCopy, CopiedRowsShareTheTextsOfTheFirstRegister) {
    CRegisterMap map;
    ASSERT_TRUE(Load<SvdRowWriter>(map, kAlike, kSvdMaxRows).Ok());
    // R0 to R3 in A, then CH[0].CTRL and CH[1].CTRL; B0 and B1 alike.
    const auto& registers = map.Registers();
    ASSERT_EQ(registers.size(), 18u);
    const CRegisterItem& first = *registers[0];
    ASSERT_EQ(first.GetChildCount(), 5);
    for (const size_t alike : {size_t{1}, size_t{3}, size_t{6}, size_t{15}}) {
        const CRegisterItem& reg = *registers[alike];
        ASSERT_EQ(reg.GetChildCount(), first.GetChildCount()) << alike;
        for (int i = 0; i < first.GetChildCount(); ++i) {
            EXPECT_EQ(reg.GetChildAt(i)->GetLabelText(), first.GetChildAt(i)->GetLabelText()) << alike << ' ' << i;
            EXPECT_EQ(reg.GetChildAt(i)->GetInfoText(), first.GetChildAt(i)->GetInfoText()) << alike << ' ' << i;
        }
        // What the fields tell of their register comes with the copy.
        EXPECT_TRUE(map.ReadChangesIt(reg)) << alike;
        EXPECT_NE(std::string(reg.GetInfoText()).find(", W1C modifiedWriteValues oneToClear"), std::string::npos) << alike;
    }
}

}  // namespace
