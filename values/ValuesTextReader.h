// SPDX-License-Identifier: MIT
#pragma once
// Reads register values from text: debugger dumps, address lists and values
// files. Every line is one of
//   GDB's x output, any unit:        0x40021000 <RCC+16>:\t0x00000083\t0x00000000
//   OpenOCD's mdw/mdh/mdb/mdd:       0x40021000: 00000083 00000000
//   an address and values:           ADDRESS VALUE...  or  ADDRESS: VALUE...
//   an address and one value:        ADDRESS = VALUE
//   a register by its label path:    UART1.CR1 = 0x00000301
//   a C statement:                   UART1->CR1 = USART_CR1_UE_Msk | 0x300UL;
// with numbers in hex, "0x" optional. Blank lines, '#' lines and the lines a
// debugger's terminal puts around a dump are skipped: GDB's and OpenOCD's
// prompts and the echoes of their dump commands (values/TerminalLine.h).
// A line that is none of these is a problem and gives no value; every other
// line gives its values. Reading is one pass, linear in the text's size.
#include <functional>
#include <string_view>
#include <vector>

#include "values/CodeStatementLine.h"
#include "values/ValueRecords.h"
#include "values/ValuesProblems.h"

// Whether a word is the label path of a register of the map. The reader asks
// it first for a word before '=' written without "0x", which could be either
// an address or a name ("ABCD = 1"); the map's answer wins.
using IsRegisterName = std::function<bool(std::string_view word)>;

struct ValuesText {
    std::vector<AddressedValue> addressed;  // in the text's order
    std::vector<NamedValue> named;          // in the text's order
    // What C statements give (values/CodeStatementLine.h), in the text's order:
    // the left-hand side as written for the name, unit and digits 0.
    std::vector<NamedValue> assigned;
    ProblemList problems;
};

// Reads `text`. Without `isRegisterName` a hex-looking word before '=' is an
// address. Names are taken as written (letters, digits, '_', '.', '[', ']');
// whether the map has them is the caller's to tell (AddValuesProblem).
// `codeNames` gives the values of the names in C statements' expressions.
ValuesText ReadValuesText(std::string_view text, const IsRegisterName& isRegisterName = {},
                          const CodeNameValue& codeNames = {});
