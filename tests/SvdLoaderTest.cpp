// SPDX-License-Identifier: MIT
// The SVD loader, case by case from the CMSIS-SVD format reference's rules:
// each case is a small device and the tree it must give, as `--dump` prints it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValuesInput.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "defs/SvdDim.h"
#include "defs/SvdLoader.h"
#include "defs/TreeDump.h"
#include "tests/ChainedValueBox.h"
#include "tests/ExampleFiles.h"
#include "tree/PropTree.h"
#include "values/ValuesFileWriter.h"

namespace {

struct Loaded {
    LoadReport result;
    std::string dump;
};

Loaded Load(const std::string& text, std::size_t maxRows = kSvdMaxRows) {
    CRegisterMap map;
    Loaded loaded{LoadSvdText(map, text, "chip.svd", maxRows), {}};
    std::ostringstream dump;
    DumpTree(dump, map);
    loaded.dump = dump.str();
    return loaded;
}

// A device holding `peripherals`, with the register properties most cases use.
std::string Device(const std::string& peripherals, const std::string& properties = "<size>32</size>") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device schemaVersion=\"1.3\">\n<name>CHIP</name>\n" +
           properties + "\n<peripherals>\n" + peripherals + "</peripherals>\n</device>\n";
}

std::string Peripheral(const std::string& name, const std::string& registers, const std::string& extra = "") {
    return "<peripheral" + extra + "><name>" + name + "</name><baseAddress>0x40000000</baseAddress><registers>\n" +
           registers + "</registers></peripheral>\n";
}

struct DumpCase {
    const char* rule;
    std::string svd;
    std::string dump;
};

const std::string kSet = "set P \"base address 0x40000000\"\n";

std::vector<DumpCase> DumpCases() {
    return {
        {"a register without fields gets one edit row of all its bits, from its reset value",
         Device(Peripheral("P", "<register><name>R</name><description>Reg</description><addressOffset>0x8</addressOffset>"
                                "<size>16</size><access>read-only</access><resetValue>0x1234</resetValue></register>\n")),
         kSet + "  register R 16 bits value \"0x1234\" \"Reg; address 0x40000008, offset 0x8, read-only\"\n"
                "    field R 0..15 edit \"0x1234\" \"Reg; read-only\"\n"},
        {"register properties come from the device, peripheral and cluster, each level overriding",
         Device("<peripheral><name>P</name><baseAddress>0x40000000</baseAddress><size>16</size>"
                "<resetValue>0xAB</resetValue><registers>\n"
                "<register><name>A</name><addressOffset>0</addressOffset></register>\n"
                "<cluster><name>C</name><addressOffset>0x10</addressOffset><size>8</size><access>write-only</access>\n"
                "<register><name>B</name><addressOffset>1</addressOffset></register></cluster>\n"
                "</registers></peripheral>\n",
                "<size>32</size><access>read-write</access><resetValue>0</resetValue>"),
         kSet + "  register A 16 bits value \"0x00ab\" \"address 0x40000000, offset 0x0, read-write\"\n"
                "    field A 0..15 edit \"0xab\" \"read-write\"\n"
                "  register C.B 8 bits value \"0xab\" \"address 0x40000011, offset 0x11, write-only\"\n"
                "    field C.B 0..7 edit \"0xab\" \"write-only\"\n"},
        {"the three forms of bit positions, and field rows starting from the reset value",
         Device(Peripheral("P", "<register><name>R</name><addressOffset>0</addressOffset><resetValue>0xF0A5</resetValue>"
                                "<fields>"
                                "<field><name>LO</name><bitOffset>0</bitOffset><bitWidth>4</bitWidth></field>"
                                "<field><name>MID</name><lsb>4</lsb><msb>7</msb><access>read-only</access></field>"
                                "<field><name>HI</name><bitRange>[15:8]</bitRange></field>"
                                "<field><name>ONE</name><bitOffset>16</bitOffset></field>"
                                "</fields></register>\n")),
         kSet + "  register R 32 bits value \"0x0000f0a5\" \"address 0x40000000, offset 0x0\"\n"
                "    field LO 0..3 edit \"0x5\" \"\"\n"
                "    field MID 4..7 edit \"0xa\" \"read-only\"\n"
                "    field HI 8..15 edit \"0xf0\" \"\"\n"
                "    field ONE 16..16 edit \"0x0\" \"\"\n"},
        {"named values in file order with their values, isDefault aside, don't-care bits read as 0",
         Device(Peripheral("P", "<register><name>R</name><addressOffset>0</addressOffset><resetValue>2</resetValue><fields>"
                                "<field><name>M</name><description>Mode</description><bitRange>[2:0]</bitRange>"
                                "<enumeratedValues>"
                                "<enumeratedValue><name>Z</name><description>zero</description><value>0</value></enumeratedValue>"
                                "<enumeratedValue><name>A</name><value>#01x</value></enumeratedValue>"
                                "<enumeratedValue><name>OTHER</name><isDefault>true</isDefault></enumeratedValue>"
                                "<enumeratedValue><name>B</name><value>0x4</value></enumeratedValue>"
                                "</enumeratedValues></field></fields></register>\n")),
         kSet + "  register R 32 bits value \"0x00000002\" \"address 0x40000000, offset 0x0\"\n"
                "    field M 0..2 combo 2 [Z=0, A=2, B=4] default OTHER \"Mode; other values: OTHER\"\n"},
        {"a field without named values is an edit row, also after one with them",
         Device(Peripheral("P", "<register><name>R</name><addressOffset>0</addressOffset><fields>"
                                "<field><name>C</name><bitRange>[0:0]</bitRange><enumeratedValues>"
                                "<enumeratedValue><name>ON</name><value>1</value></enumeratedValue></enumeratedValues></field>"
                                "<field><name>E</name><bitRange>[1:1]</bitRange></field></fields></register>\n"
                                "<register><name>S</name><addressOffset>4</addressOffset><fields>"
                                "<field><name>F</name><bitRange>[0:0]</bitRange></field></fields></register>\n")),
         kSet + "  register R 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
                "    field C 0..0 combo 0 [ON=1] \"\"\n"
                "    field E 1..1 edit \"0x0\" \"\"\n"
                "  register S 32 bits value \"0x00000000\" \"address 0x40000004, offset 0x4\"\n"
                "    field F 0..0 edit \"0x0\" \"\"\n"},
        {"of a read and a write enumeratedValues the write names are offered, the read names name the value",
         Device(Peripheral("P", "<register><name>R</name><addressOffset>0</addressOffset><fields>"
                                "<field><name>F</name><bitRange>[0:0]</bitRange>"
                                "<enumeratedValues><usage>read</usage><enumeratedValue><name>RD</name><value>1</value></enumeratedValue></enumeratedValues>"
                                "<enumeratedValues><usage>write</usage><enumeratedValue><name>WR</name><value>1</value></enumeratedValue></enumeratedValues>"
                                "</field></fields></register>\n")),
         kSet + "  register R 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
                "    field F 0..0 combo 0 [WR=1] read [RD=1] \"read: RD = 0x1; write: WR = 0x1\"\n"},
        {"dim arrays and lists: [%s] names, %s names, dimIndex ranges and lists, dimIncrement",
         Device(Peripheral("P", "<register><dim>2</dim><dimIncrement>4</dimIncrement><name>A[%s]</name><addressOffset>0</addressOffset></register>\n"
                                "<register><dim>3</dim><dimIncrement>0x10</dimIncrement><dimIndex>X,Y, Z</dimIndex><name>B%s_R</name><addressOffset>0x100</addressOffset></register>\n"
                                "<register><dim>2</dim><dimIncrement>1</dimIncrement><dimIndex>6-7</dimIndex><name>C%s</name><addressOffset>0x200</addressOffset>"
                                "<size>8</size><fields><field><dim>2</dim><dimIncrement>4</dimIncrement><name>F%s</name><bitOffset>0</bitOffset><bitWidth>2</bitWidth></field></fields></register>\n")),
         kSet + "  register A[0] 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
                "    field A[0] 0..31 edit \"0x0\" \"\"\n"
                "  register A[1] 32 bits value \"0x00000000\" \"address 0x40000004, offset 0x4\"\n"
                "    field A[1] 0..31 edit \"0x0\" \"\"\n"
                "  register BX_R 32 bits value \"0x00000000\" \"address 0x40000100, offset 0x100\"\n"
                "    field BX_R 0..31 edit \"0x0\" \"\"\n"
                "  register BY_R 32 bits value \"0x00000000\" \"address 0x40000110, offset 0x110\"\n"
                "    field BY_R 0..31 edit \"0x0\" \"\"\n"
                "  register BZ_R 32 bits value \"0x00000000\" \"address 0x40000120, offset 0x120\"\n"
                "    field BZ_R 0..31 edit \"0x0\" \"\"\n"
                "  register C6 8 bits value \"0x00\" \"address 0x40000200, offset 0x200\"\n"
                "    field F0 0..1 edit \"0x0\" \"\"\n"
                "    field F1 4..5 edit \"0x0\" \"\"\n"
                "  register C7 8 bits value \"0x00\" \"address 0x40000201, offset 0x201\"\n"
                "    field F0 0..1 edit \"0x0\" \"\"\n"
                "    field F1 4..5 edit \"0x0\" \"\"\n"},
        {"clusters nested and arrayed: labels joined with '.', addresses added up",
         Device(Peripheral("P", "<cluster><dim>2</dim><dimIncrement>0x20</dimIncrement><name>SLOT[%s]</name><addressOffset>0x100</addressOffset>"
                                "<cluster><name>SUB</name><addressOffset>0x8</addressOffset>"
                                "<register><name>WIDE</name><addressOffset>4</addressOffset><size>64</size></register>"
                                "</cluster></cluster>\n")),
         kSet + "  register SLOT[0].SUB.WIDE 64 bits value \"0x0000000000000000\" \"address 0x4000010c, offset 0x10c\"\n"
                "    field SLOT[0].SUB.WIDE 0..63 edit \"0x0\" \"\"\n"
                "  register SLOT[1].SUB.WIDE 64 bits value \"0x0000000000000000\" \"address 0x4000012c, offset 0x12c\"\n"
                "    field SLOT[1].SUB.WIDE 0..63 edit \"0x0\" \"\"\n"},
        {"derivedFrom on peripherals: the derived one's own children override, its registers add",
         Device(Peripheral("U0", "<register><name>DR</name><addressOffset>0</addressOffset><size>8</size></register>\n") +
                "<peripheral derivedFrom=\"U0\"><name>U1</name><baseAddress>0x40001000</baseAddress><registers>"
                "<register><name>DR</name><addressOffset>0</addressOffset><size>16</size></register>"
                "<register><name>EX</name><addressOffset>4</addressOffset><size>8</size></register>"
                "</registers></peripheral>\n"),
         "set U0 \"base address 0x40000000\"\n"
         "  register DR 8 bits value \"0x00\" \"address 0x40000000, offset 0x0\"\n"
         "    field DR 0..7 edit \"0x0\" \"\"\n"
         "set U1 \"base address 0x40001000\"\n"
         "  register DR 16 bits value \"0x0000\" \"address 0x40001000, offset 0x0\"\n"
         "    field DR 0..15 edit \"0x0\" \"\"\n"
         "  register EX 8 bits value \"0x00\" \"address 0x40001004, offset 0x4\"\n"
         "    field EX 0..7 edit \"0x0\" \"\"\n"},
        {"derivedFrom on registers, fields and enumeratedValues, also by dotted paths into other peripherals",
         Device(Peripheral("A", "<register><name>CTRL</name><description>Control</description><addressOffset>0</addressOffset><fields>"
                                "<field><name>EN</name><bitRange>[0:0]</bitRange><enumeratedValues><name>OnOff</name>"
                                "<enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>"
                                "<enumeratedValue><name>ON</name><value>1</value></enumeratedValue></enumeratedValues></field>"
                                "<field derivedFrom=\"EN\"><name>EN2</name><bitRange>[1:1]</bitRange></field>"
                                "</fields></register>\n"
                                "<register derivedFrom=\"CTRL\"><name>CTRL2</name><addressOffset>4</addressOffset></register>\n") +
                Peripheral("B", "<register derivedFrom=\"A.CTRL\"><name>COPY</name><addressOffset>8</addressOffset></register>\n"
                                "<register><name>OWN</name><addressOffset>0xC</addressOffset><fields><field><name>X</name><bitRange>[3:2]</bitRange>"
                                "<enumeratedValues derivedFrom=\"A.CTRL.EN.OnOff\"/></field></fields></register>\n")),
         "set A \"base address 0x40000000\"\n"
         "  register CTRL 32 bits value \"0x00000000\" \"Control; address 0x40000000, offset 0x0\"\n"
         "    field EN 0..0 combo 0 [OFF=0, ON=1] \"\"\n"
         "    field EN2 1..1 combo 0 [OFF=0, ON=1] \"\"\n"
         "  register CTRL2 32 bits value \"0x00000000\" \"Control; address 0x40000004, offset 0x4\"\n"
         "    field EN 0..0 combo 0 [OFF=0, ON=1] \"\"\n"
         "    field EN2 1..1 combo 0 [OFF=0, ON=1] \"\"\n"
         "set B \"base address 0x40000000\"\n"
         "  register COPY 32 bits value \"0x00000000\" \"Control; address 0x40000008, offset 0x8\"\n"
         "    field EN 0..0 combo 0 [OFF=0, ON=1] \"\"\n"
         "    field EN2 1..1 combo 0 [OFF=0, ON=1] \"\"\n"
         "  register OWN 32 bits value \"0x00000000\" \"address 0x4000000c, offset 0xc\"\n"
         "    field X 2..3 combo 0 [OFF=0, ON=1] \"\"\n"},
        {"vendor files bend the format: blocks repeated, upper-case hex, white space around names and numbers",
         "<device><name>D</name><peripherals><peripheral><name> P </name><baseAddress> 0X40000000 </baseAddress>"
         "<description>\n    Wrapped\n    text </description>"
         "<registers><register><name>R1</name><addressOffset>0x0</addressOffset></register></registers>"
         "<registers><register><name>\n R2 \n</name><addressOffset> 0X4 </addressOffset><resetValue>0XFF</resetValue></register></registers>"
         "</peripheral></peripherals><peripherals>" +
             Peripheral("Q", "") + "</peripherals></device>",
         "set P \"Wrapped text; base address 0x40000000\"\n"
         "  register R1 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
         "    field R1 0..31 edit \"0x0\" \"\"\n"
         "  register R2 32 bits value \"0x000000ff\" \"address 0x40000004, offset 0x4\"\n"
         "    field R2 0..31 edit \"0xff\" \"\"\n"
         "set Q \"base address 0x40000000\"\n"},
        {"registers of one name at one address are told apart by their alternateGroup: NAME_GROUP, an array's before its [%s]",
         Device(Peripheral("P", "<register><name>RST</name><alternateGroup>READ</alternateGroup><addressOffset>0</addressOffset>"
                                "<access>read-only</access></register>\n"
                                "<register><name>RST</name><alternateGroup>WRITE</alternateGroup><addressOffset>0</addressOffset>"
                                "<access>write-only</access></register>\n"
                                "<register><dim>2</dim><dimIncrement>4</dimIncrement><name>A[%s]</name><alternateGroup>G</alternateGroup>"
                                "<addressOffset>8</addressOffset></register>\n"
                                "<cluster><name>C</name><addressOffset>0x10</addressOffset>"
                                "<register><name>X%s</name><dim>1</dim><dimIndex>1</dimIndex><alternateGroup> G </alternateGroup>"
                                "<addressOffset>0</addressOffset><fields><field><name>F</name><bitRange>[0:0]</bitRange></field></fields></register>"
                                "</cluster>\n")),
         kSet + "  register RST_READ 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0, read-only\"\n"
                "    field RST_READ 0..31 edit \"0x0\" \"read-only\"\n"
                "  register RST_WRITE 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0, write-only\"\n"
                "    field RST_WRITE 0..31 edit \"0x0\" \"write-only\"\n"
                "  register A_G[0] 32 bits value \"0x00000000\" \"address 0x40000008, offset 0x8\"\n"
                "    field A_G[0] 0..31 edit \"0x0\" \"\"\n"
                "  register A_G[1] 32 bits value \"0x00000000\" \"address 0x4000000c, offset 0xc\"\n"
                "    field A_G[1] 0..31 edit \"0x0\" \"\"\n"
                "  register C.X1_G 32 bits value \"0x00000000\" \"address 0x40000010, offset 0x10\"\n"
                "    field F 0..0 edit \"0x0\" \"\"\n"},
        {"a derived peripheral keeps both registers of a name and replaces the one of its own group",
         Device(Peripheral("P", "<register><name>RST</name><alternateGroup>READ</alternateGroup><addressOffset>0</addressOffset></register>\n"
                                "<register><name>RST</name><alternateGroup>WRITE</alternateGroup><addressOffset>0</addressOffset></register>\n") +
                "<peripheral derivedFrom=\"P\"><name>Q</name><baseAddress>0x40001000</baseAddress><registers>"
                "<register><name>RST</name><alternateGroup>WRITE</alternateGroup><addressOffset>0</addressOffset><size>8</size></register>"
                "</registers></peripheral>\n"),
         kSet + "  register RST_READ 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
                "    field RST_READ 0..31 edit \"0x0\" \"\"\n"
                "  register RST_WRITE 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n"
                "    field RST_WRITE 0..31 edit \"0x0\" \"\"\n"
                "set Q \"base address 0x40001000\"\n"
                "  register RST_READ 32 bits value \"0x00000000\" \"address 0x40001000, offset 0x0\"\n"
                "    field RST_READ 0..31 edit \"0x0\" \"\"\n"
                "  register RST_WRITE 8 bits value \"0x00\" \"address 0x40001000, offset 0x0\"\n"
                "    field RST_WRITE 0..7 edit \"0x0\" \"\"\n"},
        {"elements tavlin does not use are passed over, and a core it has no registers for adds none",
         "<device><vendor>V</vendor><name>D</name><cpu><name>CA5</name><revision>r0p1</revision></cpu>"
         "<peripherals><peripheral><name>P</name><baseAddress>0x40000000</baseAddress>"
         "<addressBlock><offset>0</offset><size>0x400</size><usage>registers</usage></addressBlock>"
         "<interrupt><name>P_IRQ</name><value>3</value></interrupt><vendorExtensions><x/></vendorExtensions>"
         "<registers/></peripheral></peripherals><vendorExtensions/></device>",
         kSet},
    };
}

TEST(SvdLoader, ExpandsEachRuleOfTheFormatIntoRows) {
    for (const DumpCase& c : DumpCases()) {
        const Loaded loaded = Load(c.svd);
        EXPECT_TRUE(loaded.result.Ok()) << c.rule << "\n" << loaded.result.Message().value_or("");
        EXPECT_EQ(loaded.dump, c.dump) << c.rule;
    }
}

struct ProblemCase {
    const char* fault;
    std::string svd;
    std::vector<std::string> problems;  // as Format gives them
    std::string dump;                   // what is left, sound
    std::vector<ProblemCode> codes;     // of each problem, in order
};

const std::string kRegisterR = "  register R 32 bits value \"0x00000000\" \"address 0x40000000, offset 0x0\"\n";

std::vector<ProblemCase> ProblemCases() {
    const std::string goodRegister = "<register><name>R</name><addressOffset>0</addressOffset></register>\n";
    return {
        {"a register without a name or offset is left out",
         Device(Peripheral("P", goodRegister + "<register><addressOffset>4</addressOffset></register>\n"
                                               "<register><name>NOOFF</name></register>\n")),
         {"chip.svd:8: P.register: register has no name", "chip.svd:9: P.NOOFF: register has no addressOffset"},
         kSet + kRegisterR + "    field R 0..31 edit \"0x0\" \"\"\n",
         {ProblemCode::kMissingPart, ProblemCode::kMissingPart}},
        {"fields without a bit range, or outside 0..63 or the register, are left out",
         Device(Peripheral("P", "<register><name>R</name><addressOffset>0</addressOffset><fields>\n"
                                "<field><name>OK</name><bitRange>[1:0]</bitRange></field>\n"
                                "<field><name>NONE</name></field>\n"
                                "<field><name>HUGE</name><bitRange>[70:64]</bitRange></field>\n"
                                "<field><name>OVER</name><bitOffset>30</bitOffset><bitWidth>4</bitWidth></field>\n"
                                "<field><name>BACK</name><lsb>5</lsb><msb>2</msb></field>\n"
                                "</fields></register>\n")),
         {"chip.svd:9: P.R.NONE: field has no bit range",
          "chip.svd:10: P.R.HUGE: bit range [70:64] is outside 0..63",
          "chip.svd:11: P.R.OVER: bit range [33:30] is beyond the 32-bit register",
          "chip.svd:12: P.R.BACK: bit range [2:5] is outside 0..63"},
         kSet + kRegisterR + "    field OK 0..1 edit \"0x0\" \"\"\n",
         {ProblemCode::kMissingPart, ProblemCode::kOutOfRange, ProblemCode::kOutOfRange, ProblemCode::kOutOfRange}},
        {"a derivedFrom naming nothing, or coming round in a cycle, leaves the element out",
         Device(Peripheral("P", goodRegister +
                                    "<register derivedFrom=\"NOPE\"><name>D</name><addressOffset>4</addressOffset></register>\n"
                                    "<register derivedFrom=\"Y\"><name>X</name><addressOffset>8</addressOffset></register>\n"
                                    "<register derivedFrom=\"X\"><name>Y</name><addressOffset>12</addressOffset></register>\n") +
                "<peripheral derivedFrom=\"Z\"><name>Z</name><baseAddress>0</baseAddress></peripheral>\n"),
         {"chip.svd:8: P.D: derivedFrom names nothing: \"NOPE\"",
          "chip.svd:9: P.X: derivedFrom comes round in a cycle at \"X\"",
          "chip.svd:10: P.Y: derivedFrom comes round in a cycle at \"Y\"",
          "chip.svd:12: Z: derivedFrom comes round in a cycle at \"Z\""},
         kSet + kRegisterR + "    field R 0..31 edit \"0x0\" \"\"\n",
         {ProblemCode::kUnresolved, ProblemCode::kUnresolved, ProblemCode::kUnresolved, ProblemCode::kUnresolved}},
        {"a dim of 4 000 000 000 and a dimIndex of the wrong length are refused",
         Device(Peripheral("P", goodRegister +
                                    "<register><dim>4000000000</dim><dimIncrement>4</dimIncrement><name>R%s</name><addressOffset>0</addressOffset></register>\n"
                                    "<register><dim>3</dim><dimIncrement>4</dimIncrement><dimIndex>A,B</dimIndex><name>S%s</name><addressOffset>0</addressOffset></register>\n")),
         {"chip.svd:8: P.R%s: dim of 4000000000 makes more than 4000000 rows",
          "chip.svd:9: P.S%s: dimIndex \"A,B\" does not give 3 names"},
         kSet + kRegisterR + "    field R 0..31 edit \"0x0\" \"\"\n",
         {ProblemCode::kLimitReached, ProblemCode::kBadValue}},
        {"a register of a label path an earlier one of its set has is named with the first free suffix",
         Device(Peripheral("P", goodRegister +
                                    "<register><name>R</name><addressOffset>4</addressOffset></register>\n"
                                    "<register><name>R_2</name><addressOffset>8</addressOffset></register>\n"
                                    "<register><name>R</name><addressOffset>12</addressOffset></register>\n"
                                    "<cluster><name>C</name><addressOffset>0x20</addressOffset>\n"
                                    "<register><name>X</name><addressOffset>0</addressOffset></register>\n"
                                    "<register><name>X</name><addressOffset>4</addressOffset></register></cluster>\n") +
                Peripheral("Q", goodRegister)),
         {"chip.svd:8: P.R: register R duplicates an earlier register's path: named R_2",
          "chip.svd:9: P.R_2: register R_2 duplicates an earlier register's path: named R_2_2",
          "chip.svd:10: P.R: register R duplicates an earlier register's path: named R_3",
          "chip.svd:13: P.C.X: register C.X duplicates an earlier register's path: named C.X_2"},
         kSet + kRegisterR + "    field R 0..31 edit \"0x0\" \"\"\n"
                "  register R_2 32 bits value \"0x00000000\" \"address 0x40000004, offset 0x4\"\n"
                "    field R_2 0..31 edit \"0x0\" \"\"\n"
                "  register R_2_2 32 bits value \"0x00000000\" \"address 0x40000008, offset 0x8\"\n"
                "    field R_2_2 0..31 edit \"0x0\" \"\"\n"
                "  register R_3 32 bits value \"0x00000000\" \"address 0x4000000c, offset 0xc\"\n"
                "    field R_3 0..31 edit \"0x0\" \"\"\n"
                "  register C.X 32 bits value \"0x00000000\" \"address 0x40000020, offset 0x20\"\n"
                "    field C.X 0..31 edit \"0x0\" \"\"\n"
                "  register C.X_2 32 bits value \"0x00000000\" \"address 0x40000024, offset 0x24\"\n"
                "    field C.X_2 0..31 edit \"0x0\" \"\"\n"
                "set Q \"base address 0x40000000\"\n" + kRegisterR + "    field R 0..31 edit \"0x0\" \"\"\n",
         {ProblemCode::kDuplicateName, ProblemCode::kDuplicateName, ProblemCode::kDuplicateName,
          ProblemCode::kDuplicateName}},
    };
}

TEST(SvdLoader, LeavesFaultyElementsOutAndSaysWhereTheyAre) {
    for (const ProblemCase& c : ProblemCases()) {
        const Loaded loaded = Load(c.svd);
        EXPECT_TRUE(loaded.result.opened) << c.fault;
        std::vector<std::string> problems;
        std::vector<std::string_view> codes;
        for (const Problem& problem : loaded.result.problems.Kept()) {
            problems.push_back(problem.Format("chip.svd"));
            codes.push_back(ProblemCodeName(problem.code));
        }
        EXPECT_EQ(problems, c.problems) << c.fault;
        std::vector<std::string_view> expected;
        for (const ProblemCode code : c.codes) expected.push_back(ProblemCodeName(code));
        EXPECT_EQ(codes, expected) << c.fault;
        EXPECT_EQ(loaded.dump, c.dump) << c.fault;
    }
}

TEST(SvdLoader, OneMessageListsTheFirstProblemsAndHowManyInAll) {
    std::string registers;
    for (int i = 0; i < 10; ++i) registers += "<register><name>R" + std::to_string(i) + "</name></register>\n";
    const Loaded loaded = Load(Device(Peripheral("P", registers)));
    const std::string message = loaded.result.Message().value_or("");
    EXPECT_EQ(message.substr(0, message.find('\n')), "chip.svd: 10 problems; everything else was loaded.");
    EXPECT_NE(message.find("\nline 7: P.R0: register has no addressOffset"), std::string::npos) << message;
    EXPECT_EQ(message.find("P.R8:"), std::string::npos) << message;
    EXPECT_NE(message.find("\n... and 2 more."), std::string::npos) << message;
}

TEST(SvdLoader, TextThatIsNotWellFormedLoadsNothingAndSaysWhere) {
    const Loaded loaded = Load("<device>\n<name>D</name>\n<peripherals><peripheral></device>");
    EXPECT_FALSE(loaded.result.opened);
    EXPECT_EQ(loaded.dump, "");
    EXPECT_EQ(loaded.result.Message().value_or("").rfind("chip.svd:3:", 0), 0u) << loaded.result.Message().value_or("");
    EXPECT_NE(loaded.result.Message().value_or("").find("not well-formed XML"), std::string::npos);
    EXPECT_TRUE(loaded.result.problems.Has(ProblemCode::kNotWellFormed));
}

TEST(SvdLoader, ExpansionsBeyondTheRowBudgetStop) {
    // Clusters of clusters multiply: 4 levels of 10 instances would be 10^4 registers.
    std::string inner = "<register><name>R</name><addressOffset>0</addressOffset></register>";
    for (int level = 0; level < 4; ++level)
        inner = "<cluster><dim>10</dim><dimIncrement>4</dimIncrement><name>C" + std::to_string(level) +
                "[%s]</name><addressOffset>0</addressOffset>" + inner + "</cluster>";
    const Loaded loaded = Load(Device(Peripheral("P", inner)), 1000);
    ASSERT_EQ(loaded.result.problems.Count(), 1u);
    EXPECT_EQ(loaded.result.problems.Front().code, ProblemCode::kLimitReached);
    EXPECT_EQ(loaded.result.problems.Front().detail, "stopped here: the file expands to more than 1000 rows");
    EXPECT_LE(loaded.result.registerSets + loaded.result.registers + loaded.result.fields, 1000);
    EXPECT_GT(loaded.result.registers, 100);
}

TEST(SvdLoader, ClustersNestedTooDeepAreRefused) {
    std::string nested = "<register><name>R</name><addressOffset>0</addressOffset></register>";
    for (int level = 0; level < kSvdMaxClusterDepth + 1; ++level)
        nested = "<cluster><name>C</name><addressOffset>0</addressOffset>" + nested + "</cluster>";
    const Loaded loaded = Load(Device(Peripheral("P", nested)));
    ASSERT_EQ(loaded.result.problems.Count(), 1u);
    EXPECT_EQ(loaded.result.problems.Front().code, ProblemCode::kLimitReached);
    EXPECT_EQ(loaded.result.problems.Front().detail, "clusters nested more than 256 deep");
    EXPECT_EQ(loaded.result.registers, 0);
}

TEST(SvdLoader, AGroupedNameHasItsGroupAtTheEndOrBeforeAnArraysBrackets) {
    const struct {
        const char* name;
        const char* group;
        const char* grouped;
    } cases[] = {
        {"ESC_RESET_ECAT", "READMode", "ESC_RESET_ECAT_READMode"},
        {"R[%s]", "G", "R_G[%s]"},
        {"CH%s_CTRL", "G", "CH%s_CTRL_G"},
        {"R%s", "G", "R%s_G"},
        {"R_G", "G", "R_G"},
        {"R_G[%s]", "G", "R_G[%s]"},
        {"R", "", "R"},
    };
    for (const auto& c : cases) EXPECT_EQ(SvdGroupedName(c.name, c.group), c.grouped) << c.name << " " << c.group;
}

// Save values then Open values, as the window does them, over a map with
// registers that share a name: every register gets back its own value.
TEST(SvdLoader, EveryRegisterOfAMapWithSharedNamesKeepsItsValueThroughAValuesFile) {
    const std::string svd = Device(
        Peripheral("ECAT0", "<register><name>ESC_RESET_ECAT</name><alternateGroup>READMode</alternateGroup>"
                            "<addressOffset>0</addressOffset><size>8</size></register>\n"
                            "<register><name>ESC_RESET_ECAT</name><alternateGroup>WRITEMode</alternateGroup>"
                            "<addressOffset>0</addressOffset><size>8</size></register>\n"
                            "<register><name>R</name><addressOffset>4</addressOffset></register>\n"
                            "<register><name>R</name><addressOffset>8</addressOffset></register>\n"
                            "<cluster><dim>2</dim><dimIncrement>0x10</dimIncrement><name>CH[%s]</name><addressOffset>0x20</addressOffset>"
                            "<register><name>M</name><alternateGroup>A</alternateGroup><addressOffset>0</addressOffset></register>"
                            "<register><name>M</name><alternateGroup>B</alternateGroup><addressOffset>0</addressOffset></register>"
                            "</cluster>\n"));
    struct Session {
        CRegisterMap map;
        ChainedValueBox hex, decimal;
        CRegisterCalculator calc{map, hex, decimal};
        explicit Session(const std::string& text) {
            hex.onChange = [this] { calc.ApplyHexValue(); };
            LoadSvdText(map, text, "chip.svd");
        }
    };
    Session saved(svd);
    const auto& registers = saved.map.Registers();
    ASSERT_EQ(registers.size(), 8u);
    std::set<std::string> paths;
    for (size_t i = 0; i < registers.size(); ++i) {
        paths.insert(RegisterPath(*registers[i]));
        saved.calc.SetRegisterValue(*registers[i], i + 1, ValueSource::Typed);
    }
    EXPECT_EQ(paths, (std::set<std::string>{"ECAT0.ESC_RESET_ECAT_READMode", "ECAT0.ESC_RESET_ECAT_WRITEMode",
                                            "ECAT0.R", "ECAT0.R_2", "ECAT0.CH[0].M_A", "ECAT0.CH[0].M_B",
                                            "ECAT0.CH[1].M_A", "ECAT0.CH[1].M_B"}));
    ValuesFileWriter writer("chip.svd");
    for (const CRegisterItem* reg : registers)
        writer.Add(RegisterPath(*reg), FormatRegisterHex(saved.map.ValueOf(*reg)->value, reg->m_nBits));

    Session opened(svd);
    const ValuesInputReport report = ApplyValuesText(opened.map, opened.calc, writer.Text(), ValueSource::ValuesFile);
    EXPECT_TRUE(report.problems.Empty());
    ASSERT_EQ(opened.map.Registers().size(), registers.size());
    for (size_t i = 0; i < registers.size(); ++i) {
        const CRegisterItem& reg = *opened.map.Registers()[i];
        ASSERT_TRUE(opened.map.ValueOf(reg)) << RegisterPath(reg);
        EXPECT_EQ(opened.map.ValueOf(reg)->value, i + 1) << RegisterPath(reg);
    }
}

TEST(SvdLoader, TellsSvdByItsFirstElement) {
    struct Case {
        const char* text;
        bool svd;
    } cases[] = {
        {"<device>", true},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a <device> comment -->\n<device schemaVersion=\"1.3\">", true},
        {"<!DOCTYPE x>\n<device/>", true},
        {"<tavlin><regset", false},
        {"<devices>", false},
        {"<!-- <device> only in a comment", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSvdText(c.text), c.svd) << c.text;
}

}  // namespace

namespace {

TEST(SvdLoader, TheExampleChipLoadsWithoutProblems) {
    const std::string text = ReadExampleFile("chip.svd");
    ASSERT_TRUE(IsSvdText(text));
    const Loaded loaded = Load(text);
    EXPECT_TRUE(loaded.result.Ok()) << loaded.result.Message().value_or("");
    if (std::getenv("TAVLIN_PRINT_DUMP")) std::cout << loaded.dump;
    EXPECT_GT(loaded.result.registers, 20);
}

}  // namespace
