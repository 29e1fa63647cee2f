// SPDX-License-Identifier: MIT
// The SVD expansion without a tree: SVD text in, the records it hands on out,
// one line of text per record, so each case reads as the instances a device
// stands for.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "defs/SvdExpansion.h"
#include "defs/SvdLoader.h"

namespace {

// Writes each record as a line: "P name 0xbase", "R label 0xaddress +0xoffset
// bits reset", "F name lsb..msb [A=1,B=2] others", "! path: text".
class RecordingSink : public SvdRecordSink {
public:
    std::vector<std::string> lines;

    void Peripheral(const SvdPeripheralRecord& p) override {
        std::ostringstream out;
        out << "P " << p.name << " 0x" << std::hex << p.baseAddress;
        lines.push_back(out.str());
    }
    void Register(const SvdRegisterRecord& r) override {
        std::ostringstream out;
        out << "R " << r.label << " 0x" << std::hex << r.address << " +0x" << r.offset << std::dec << ' ' << r.bits
            << " 0x" << std::hex << r.resetValue;
        if (!r.access.empty()) out << ' ' << r.access;
        if (!r.modifiedWriteValues.empty()) out << " mwv=" << r.modifiedWriteValues;
        lines.push_back(out.str());
    }
    void Field(const SvdFieldRecord& f) override {
        std::ostringstream out;
        out << "F " << f.name << ' ' << f.lsb << ".." << f.msb;
        if (!f.values.empty()) {
            out << " [";
            for (size_t i = 0; i < f.values.size(); ++i) out << (i ? "," : "") << f.values[i].name << '=' << f.values[i].value;
            out << ']';
        }
        for (std::string_view other : f.otherValues) out << " other=" << other;
        if (!f.readAction.empty()) out << " ra=" << f.readAction;
        lines.push_back(out.str());
    }
    void Problem(const SvdProblemRecord& p) override {
        lines.push_back("! " + (p.path ? p.path->Text() : std::string()) + ": " + std::string(p.text));
    }
};

// A sink that takes the fields of registers alike at once, written as "= N alike".
class CopyingSink : public RecordingSink {
public:
    bool FieldsAlike(const SvdRegisterRecord&, std::uint64_t fields) override {
        lines.push_back("= " + std::to_string(fields) + " alike");
        return true;
    }
};

template <typename Sink = RecordingSink>
std::vector<std::string> Expand(const std::string& text, std::uint64_t maxRows = kSvdMaxRows,
                                std::size_t maxProblems = kSvdAllProblems) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_embed_pcdata));
    const SvdLines lines(text);
    Sink sink;
    ExpandSvdDevice(document.document_element(), lines, sink, {maxRows, kSvdMaxClusterDepth, maxProblems});
    return sink.lines;
}

std::string Device(const std::string& registers) {
    return "<device><name>D</name><size>32</size><peripherals><peripheral><name>P</name><baseAddress>0x1000</baseAddress>"
           "<registers>" + registers + "</registers></peripheral></peripherals></device>";
}

// A register with one field whose named values come from `values`.
std::string FieldWithValues(const std::string& reg, const std::string& offset, const std::string& values) {
    return "<register><name>" + reg + "</name><addressOffset>" + offset + "</addressOffset><fields><field><name>F</name>"
           "<bitRange>[1:0]</bitRange>" + values + "</field></fields></register>";
}

const std::string kModes = "<enumeratedValues><name>MODES</name>"
                           "<enumeratedValue><name>A</name><value>1</value></enumeratedValue>"
                           "<enumeratedValue><name>B</name><value>2</value></enumeratedValue></enumeratedValues>";

struct ExpansionCase {
    const char* rule;
    std::string svd;
    std::vector<std::string> records;
};

std::vector<ExpansionCase> Cases() {
    return {
        {"register dims step the address; field dims step the bits; the register's properties pass down",
         Device("<register><dim>2</dim><dimIncrement>0x10</dimIncrement><name>R%s</name><addressOffset>4</addressOffset>"
                "<size>16</size><access>read-only</access><resetValue>0x1F0F0</resetValue>"
                "<modifiedWriteValues>oneToClear</modifiedWriteValues><fields>"
                "<field><dim>2</dim><dimIncrement>4</dimIncrement><name>E%s</name><bitOffset>1</bitOffset>"
                "<bitWidth>2</bitWidth><readAction>clear</readAction></field></fields></register>"),
         {"P P 0x1000", "R R0 0x1004 +0x4 16 0xf0f0 read-only mwv=oneToClear", "F E0 1..2 ra=clear", "F E1 5..6 ra=clear",
          "R R1 0x1014 +0x14 16 0xf0f0 read-only mwv=oneToClear", "F E0 1..2 ra=clear", "F E1 5..6 ra=clear"}},
        {"arrayed clusters in arrayed clusters: labels joined, offsets and increments added up",
         Device("<cluster><dim>2</dim><dimIncrement>0x100</dimIncrement><name>CH[%s]</name><addressOffset>0x40</addressOffset>"
                "<cluster><dim>2</dim><dimIncrement>8</dimIncrement><name>SUB%s</name><addressOffset>0x10</addressOffset>"
                "<register><name>CTRL</name><addressOffset>4</addressOffset></register></cluster></cluster>"),
         {"P P 0x1000", "R CH[0].SUB0.CTRL 0x1054 +0x54 32 0x0", "R CH[0].SUB1.CTRL 0x105c +0x5c 32 0x0",
          "R CH[1].SUB0.CTRL 0x1154 +0x154 32 0x0", "R CH[1].SUB1.CTRL 0x115c +0x15c 32 0x0"}},
        {"a dotted derivedFrom names a register of the same (arrayed) cluster first",
         Device("<cluster><dim>2</dim><dimIncrement>0x20</dimIncrement><name>CH[%s]</name><addressOffset>0</addressOffset>" +
                FieldWithValues("ctl", "0", kModes) +
                FieldWithValues("cfg", "4", "<enumeratedValues derivedFrom=\"ctl.F.MODES\"/>") + "</cluster>"),
         {"P P 0x1000", "R CH[0].ctl 0x1000 +0x0 32 0x0", "F F 0..1 [A=1,B=2]", "R CH[0].cfg 0x1004 +0x4 32 0x0",
          "F F 0..1 [A=1,B=2]", "R CH[1].ctl 0x1020 +0x20 32 0x0", "F F 0..1 [A=1,B=2]",
          "R CH[1].cfg 0x1024 +0x24 32 0x0", "F F 0..1 [A=1,B=2]"}},
        {"scopes innermost first: the enclosing cluster's register over the peripheral's of the same name",
         Device(FieldWithValues("ctl", "0x100", "<enumeratedValues><name>MODES</name><enumeratedValue><name>OUTER</name>"
                                                "<value>3</value></enumeratedValue></enumeratedValues>") +
                "<cluster><name>C</name><addressOffset>0</addressOffset>" + FieldWithValues("ctl", "0", kModes) +
                "<cluster><name>IN</name><addressOffset>0x10</addressOffset>" +
                FieldWithValues("use", "0", "<enumeratedValues derivedFrom=\"ctl.F.MODES\"/>") + "</cluster></cluster>" +
                FieldWithValues("top", "0x200", "<enumeratedValues derivedFrom=\"ctl.F.MODES\"/>")),
         {"P P 0x1000", "R ctl 0x1100 +0x100 32 0x0", "F F 0..1 [OUTER=3]", "R C.ctl 0x1000 +0x0 32 0x0",
          "F F 0..1 [A=1,B=2]", "R C.IN.use 0x1010 +0x10 32 0x0", "F F 0..1 [A=1,B=2]", "R top 0x1200 +0x200 32 0x0",
          "F F 0..1 [OUTER=3]"}},
        {"a dotted path no enclosing scope has names a peripheral of the device",
         "<device><peripherals><peripheral><name>A</name><baseAddress>0</baseAddress><registers>" +
             FieldWithValues("ctl", "0", kModes) +
             "</registers></peripheral><peripheral><name>B</name><baseAddress>0x10</baseAddress><registers>" +
             FieldWithValues("ctl", "0", "<enumeratedValues derivedFrom=\"A.ctl.F.MODES\"/>") +
             "</registers></peripheral></peripherals></device>",
         {"P A 0x0", "R ctl 0x0 +0x0 32 0x0", "F F 0..1 [A=1,B=2]", "P B 0x10", "R ctl 0x10 +0x0 32 0x0",
          "F F 0..1 [A=1,B=2]"}},
        {"isDefault entries are the other values; a derived peripheral's instances repeat the base's registers",
         "<device><peripherals><peripheral><name>A</name><baseAddress>0</baseAddress><registers>" +
             FieldWithValues("R", "0", "<enumeratedValues><enumeratedValue><name>ON</name><value>1</value></enumeratedValue>"
                                       "<enumeratedValue><name>REST</name><isDefault>true</isDefault></enumeratedValue>"
                                       "</enumeratedValues>") +
             "</registers></peripheral><peripheral derivedFrom=\"A\"><dim>2</dim><dimIncrement>0x100</dimIncrement>"
             "<name>B%s</name><baseAddress>0x1000</baseAddress></peripheral></peripherals></device>",
         {"P A 0x0", "R R 0x0 +0x0 32 0x0", "F F 0..1 [ON=1] other=REST", "P B0 0x1000", "R R 0x1000 +0x0 32 0x0",
          "F F 0..1 [ON=1] other=REST", "P B1 0x1100", "R R 0x1100 +0x0 32 0x0", "F F 0..1 [ON=1] other=REST"}},
        {"a faulty field of an arrayed register is reported for each instance, the sound one kept",
         Device("<register><dim>2</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>"
                "<fields><field><name>OK</name><bitRange>[0:0]</bitRange></field><field><name>BAD</name></field>"
                "</fields></register>"),
         {"P P 0x1000", "! P.R0.BAD: field has no bit range", "R R0 0x1000 +0x0 32 0x0", "F OK 0..0",
          "! P.R1.BAD: field has no bit range", "R R1 0x1004 +0x4 32 0x0", "F OK 0..0"}},
    };
}

TEST(SvdExpansion, HandsOnEachInstanceAsARecord) {
    for (const ExpansionCase& c : Cases()) EXPECT_EQ(Expand(c.svd), c.records) << c.rule;
}

TEST(SvdExpansion, StopsAtTheProblemBudgetWithOneProblemMore) {
    std::string registers;
    for (int i = 0; i < 10; ++i) registers += "<register><name>R" + std::to_string(i) + "</name></register>";
    const auto records = Expand(Device(registers), kSvdMaxRows, 3);
    ASSERT_EQ(records.size(), 5u);  // the peripheral, three problems and the stop
    EXPECT_EQ(records.back(), "! P.R3: stopped here: the file has more than 3 problems");
}

TEST(SvdExpansion, AReusedRegisterStillStopsAtTheRowBudget) {
    // The second peripheral instance reuses the register read for the first;
    // its field rows must still be counted against the budget.
    const std::string svd =
        "<device><peripherals><peripheral><dim>3</dim><dimIncrement>0x100</dimIncrement><name>P%s</name>"
        "<baseAddress>0</baseAddress><registers><register><name>R</name><addressOffset>0</addressOffset><fields>"
        "<field><dim>3</dim><dimIncrement>1</dimIncrement><name>F%s</name><bitOffset>0</bitOffset></field>"
        "</fields></register></registers></peripheral></peripherals></device>";
    const auto records = Expand(svd, 9);
    EXPECT_EQ(records.back(), "! P1.R.F%s: stopped here: the file expands to more than 9 rows");
    EXPECT_EQ(records.size(), 8u);  // P0, R, 3 fields, P1, R, the stop
}

// A register of a layout handed on before is followed by its field records,
// or, when the sink takes them at once, by nothing more: the sink is asked
// only when the fields cannot meet the row budget, and only for registers
// whose fields were read clean.
TEST(SvdExpansion, FieldsOfRegistersAlikeGoToTheSinkAtOnce) {
    const std::string twoFields =
        "<fields><field><name>A</name><bitRange>[0:0]</bitRange></field>"
        "<field><dim>2</dim><dimIncrement>2</dimIncrement><name>B%s</name><bitRange>[1:1]</bitRange></field></fields>";
    const struct {
        const char* rule;
        std::string svd;
        std::uint64_t maxRows;
        std::vector<std::string> records;
    } cases[] = {
        {"the instances after the first of an array, with the fields' own instances counted",
         Device("<register><dim>3</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>" +
                twoFields + "</register>"),
         kSvdMaxRows,
         {"P P 0x1000", "R R0 0x1000 +0x0 32 0x0", "F A 0..0", "F B0 1..1", "F B1 3..3", "R R1 0x1004 +0x4 32 0x0",
          "= 3 alike", "R R2 0x1008 +0x8 32 0x0", "= 3 alike"}},
        {"the registers of a derived peripheral's instances",
         "<device><peripherals><peripheral><name>A</name><baseAddress>0</baseAddress><registers>"
         "<register><name>R</name><addressOffset>0</addressOffset>" + twoFields + "</register></registers></peripheral>"
         "<peripheral derivedFrom=\"A\"><name>B</name><baseAddress>0x100</baseAddress></peripheral></peripherals></device>",
         kSvdMaxRows,
         {"P A 0x0", "R R 0x0 +0x0 32 0x0", "F A 0..0", "F B0 1..1", "F B1 3..3", "P B 0x100", "R R 0x100 +0x0 32 0x0",
          "= 3 alike"}},
        {"not when the fields would go beyond the row budget: they come one by one to the stop",
         Device("<register><dim>2</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>" +
                twoFields + "</register>"),
         7,
         {"P P 0x1000", "R R0 0x1000 +0x0 32 0x0", "F A 0..0", "F B0 1..1", "F B1 3..3", "R R1 0x1004 +0x4 32 0x0",
          "F A 0..0", "! P.R1.B%s: stopped here: the file expands to more than 7 rows"}},
        {"exactly at the row budget they still go at once",
         Device("<register><dim>2</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>" +
                twoFields + "</register>"),
         9,
         {"P P 0x1000", "R R0 0x1000 +0x0 32 0x0", "F A 0..0", "F B0 1..1", "F B1 3..3", "R R1 0x1004 +0x4 32 0x0",
          "= 3 alike"}},
        {"not for the instances of a register whose fields have problems: each reads them again",
         Device("<register><dim>2</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>"
                "<fields><field><name>OK</name><bitRange>[0:0]</bitRange></field><field><name>BAD</name></field>"
                "</fields></register>"),
         kSvdMaxRows,
         {"P P 0x1000", "! P.R0.BAD: field has no bit range", "R R0 0x1000 +0x0 32 0x0", "F OK 0..0",
          "! P.R1.BAD: field has no bit range", "R R1 0x1004 +0x4 32 0x0", "F OK 0..0"}},
        {"not for registers without fields",
         Device("<register><dim>2</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset>"
                "</register>"),
         kSvdMaxRows,
         {"P P 0x1000", "R R0 0x1000 +0x0 32 0x0", "R R1 0x1004 +0x4 32 0x0"}},
    };
    // Without the field records and the copies, the records are the same as
    // a sink taking every field gets; and as many fields are made.
    const auto withoutFields = [](const std::vector<std::string>& records, size_t& fields) {
        std::vector<std::string> kept;
        for (const std::string& line : records) {
            if (line.rfind("F ", 0) == 0)
                ++fields;
            else if (line.rfind("= ", 0) == 0)
                fields += std::stoul(line.substr(2));
            else
                kept.push_back(line);
        }
        return kept;
    };
    for (const auto& c : cases) {
        const auto copied = Expand<CopyingSink>(c.svd, c.maxRows);
        EXPECT_EQ(copied, c.records) << c.rule;
        const auto oneByOne = Expand(c.svd, c.maxRows);
        size_t copiedFields = 0;
        size_t oneByOneFields = 0;
        EXPECT_EQ(withoutFields(copied, copiedFields), withoutFields(oneByOne, oneByOneFields)) << c.rule;
        EXPECT_EQ(copiedFields, oneByOneFields) << c.rule;
    }
}

}  // namespace
