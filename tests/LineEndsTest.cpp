// SPDX-License-Identifier: MIT
// CRLF line ends, as Windows editors, Windows Terminal, PuTTY and OpenOCD's
// telnet write them, read exactly as LF: every map, values file, dump and
// terminal session gives the same tree, values and problems (the same line
// numbers too) in either form. What tavlin writes has LF line ends on every
// system, so a file saved on one reads the same on another and Notepad
// (which reads LF since Windows 10 1809) opens it as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "platform/FilePaths.h"
#include "remote/PacketTrace.h"
#include "tests/CommandLineRun.h"
#include "tests/ExampleFiles.h"
#include "tests/TempDir.h"
#include "values/ValuesProblems.h"

namespace {

std::string WithLf(std::string_view text) {
    std::string lf;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
    return lf;
}

std::string WithCrLf(std::string_view lf) {
    std::string crlf;
    for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
        text.replace(at, what.size(), with);
    return text;
}

// tavlin run with `args`, FILE standing for `file` (whose name is then written FILE in what it prints).
Outcome RunOn(std::vector<std::string> args, const std::string& file) {
    for (std::string& arg : args)
        if (arg == "FILE") arg = file;
    Outcome run = RunTavlin(args);
    run.out = Replaced(run.out, file, "FILE");
    run.err = Replaced(run.err, file, "FILE");
    return run;
}

void ExpectSameRun(const Outcome& lf, const Outcome& crlf, const std::string& what) {
    EXPECT_EQ(crlf.code, lf.code) << what;
    EXPECT_EQ(crlf.out, lf.out) << what;
    EXPECT_EQ(crlf.err, lf.err) << what;
}

// A CMSIS-SVD map whose descriptions run over lines, with a fault on a known line.
const char* const kSvdOverLines = R"(<?xml version="1.0" encoding="utf-8"?>
<device schemaVersion="1.3">
  <name>LINES</name>
  <addressUnitBits>8</addressUnitBits>
  <width>32</width>
  <size>32</size>
  <peripherals>
    <peripheral>
      <name>UART</name>
      <description>The serial port,
        told over
        three lines</description>
      <baseAddress>0x40000000</baseAddress>
      <registers>
        <register>
          <name>CR</name>
          <description>Control:
  enables and modes</description>
          <addressOffset>0x0</addressOffset>
          <fields>
            <field><name>EN</name><description>on
off</description><bitRange>[0:0]</bitRange></field>
            <field><name>MODE</name><bitRange>[3:zz]</bitRange></field>
            <field><name>RATE</name><bitOffset>4</bitOffset><bitWidth>40</bitWidth></field>
          </fields>
        </register>
        <register>
          <name>SR</name>
          <addressOffset>0x4</addressOffset>
          <resetValue>0x12</resetValue>
        </register>
      </registers>
    </peripheral>
  </peripherals>
</device>
)";

// A definitions file with faults on known lines.
const char* const kDefinitionsWithFaults = R"(<tavlin>
<regset n="Set" d="the set">
<register n="R" w="16" v="0x12" d="a register
over two lines">
<field n="A" k="edit" d="a" l="0" h="3"></field>
<field n="B" k="combo" d="b" l="4" h="99"></field>
<field n="C" k="nonsense" d="c" l="8" h="9"></field>
</register>
</regset>
</tavlin>
)";

struct MapCase {
    const char* name;
    std::string text;
};

TEST(LineEnds, MapsCheckAndDumpAsTheirLfForm) {
    const MapCase cases[] = {
        {"chip.svd", ReadExampleFile("chip.svd")},
        {"netduinoplus2.svd", ReadExampleFile("netduinoplus2.svd")},
        {"tavlin.xml", ReadExampleFile("tavlin.xml")},
        {"lines.svd", kSvdOverLines},
        {"faults.xml", kDefinitionsWithFaults},
    };
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "lf");
    std::filesystem::create_directory(dir.Path() / "crlf");
    for (const MapCase& c : cases) {
        ASSERT_FALSE(c.text.empty()) << c.name;
        const std::string lf = dir.Write(std::string("lf/") + c.name, WithLf(c.text));
        const std::string crlf = dir.Write(std::string("crlf/") + c.name, WithCrLf(WithLf(c.text)));
        for (const char* command : {"--check", "--dump"}) {
            const Outcome fromLf = RunOn({command, "FILE"}, lf);
            ExpectSameRun(fromLf, RunOn({command, "FILE"}, crlf), std::string(command) + " " + c.name);
            if (command == std::string("--dump")) {
                EXPECT_EQ(fromLf.out.find('\r'), std::string::npos) << c.name;
            }
        }
    }
}

// Values texts in every form, some with problems, as LF; each is read again with CRLF.
struct ValuesCase {
    const char* form;
    const char* text;
};

const ValuesCase kValues[] = {
    {"gdb x/4wx", "0x40021000 <RCC>:\t0x03010083\t0x001d0402\t0x00000000\t0x00000000\n"},
    {"gdb x/8xb", "0x40004800:\t0x0d\t0x00\t0x00\t0x00\t0xff\t0x00\t0x00\t0x00\n"},
    {"openocd mdw with trailing blanks", "0x40020008: 00000201 00000000 00003112 \n"},
    {"address lists", "40021004 00000404\n0x40004800: 0x5\n\n# a comment\n0x40021000 = 0x1\n"},
    {"names", "RCC.CFGR = 0x00000002\nDMA.CH[1].CTRL = 0x00002001\nUART0.CTRL = 0xc\n"},
    {"C statements", "RCC->CFGR = 0x2UL; /* a comment */\nUART0->CTRL = (0x3UL << 2); // another\n"},
    {"gdb session", "(gdb) x/4xh 0x40004800\n0x40004800 <UART1>:\t0x000d\t0x0000\t0x0301\t0x0000\n(gdb) \n"},
    {"openocd telnet session", "> mdw 0x40020008 3\n0x40020008: 00000201 00000000 00003112 \n> \n"},
    {"problems on lines 2, 4 and 5", "RCC.CR = 0x83\nRCC.NOSUCH = 1\n\n0x40021000 zz\nnot a values line\n"},
    {"no line end at the end", "RCC.CR = 0x83\nRCC.CFGR = 0x2"},
};

TEST(LineEnds, ValuesFilesDecodeAsTheirLfForm) {
    TempDir dir;
    const std::string chip = dir.Write("chip.svd", ReadExampleFile("chip.svd"));
    for (const ValuesCase& c : kValues) {
        const std::string lf = dir.Write("lf.txt", c.text);
        const Outcome fromLf = RunOn({"--decode", chip, "FILE"}, lf);
        EXPECT_NE(fromLf.out, "") << c.form;
        const std::string crlf = dir.Write("crlf.txt", WithCrLf(c.text));
        ExpectSameRun(fromLf, RunOn({"--decode", chip, "FILE"}, crlf), c.form);
    }
}

TEST(LineEnds, PastedTerminalTextGivesTheSameValuesAndProblemLines) {
    // What the paste path reads: the clipboard's text for the map, as the window gives it.
    CRegisterMap map;
    ASSERT_TRUE(LoadSvdText(map, ReadExampleFile("chip.svd"), "chip.svd").Ok());
    for (const ValuesCase& c : kValues) {
        const ValuesInputReport lf = ReadValuesFor(map, c.text);
        const ValuesInputReport crlf = ReadValuesFor(map, WithCrLf(c.text));
        EXPECT_EQ(crlf.given, lf.given) << c.form;
        EXPECT_EQ(crlf.values, lf.values) << c.form;
        EXPECT_EQ(ValuesProblemLines(crlf.problems), ValuesProblemLines(lf.problems)) << c.form;
        EXPECT_EQ(crlf.notes, lf.notes) << c.form;
    }
}

TEST(LineEnds, TheTraceIsWrittenWithLfLineEnds) {
    TempDir dir;
    const std::string path = Utf8FromPath(dir.Path() / "trace.txt");
    {
        auto trace = CPacketTrace::OpenFile(path);
        ASSERT_TRUE(trace) << trace.Text();
        trace.Value()->Sent("$m20000000,4#8d");
        trace.Value()->ReceivedAck();
        trace.Value()->Received("00000000");
    }
    const std::string text = ReadWholeFile(PathFromUtf8(path));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_EQ(text.find('\r'), std::string::npos) << text;
}

}  // namespace
