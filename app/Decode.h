// SPDX-License-Identifier: MIT
#pragma once
// tavlin --decode MAP VALUES... [--base ADDRESS] [--changed] [--against BASELINE]:
// gives the registers of MAP the values of each VALUES file (a values text,
// or with --base a raw memory image whose first byte is at ADDRESS) and
// prints each register given a value with its fields, as the rows show them.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// `arguments` are those after --decode. Returns the exit code: 0, 1 after
// any problem, 2 for bad usage (with the reason on `err`).
int RunDecode(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

class CRegisterItem;
class CRegisterMap;
class CRegisterRowDescriber;

// A register and its fields as --decode prints them: "PATH @ADDRESS = VALUE",
// then one "  FIELD [BITS] = VALUE" line a field row, as the rows show them.
void PrintDecodedRegister(std::ostream& out, const CRegisterMap& map, const CRegisterRowDescriber& describer,
                          const CRegisterItem& reg, std::uint64_t value);
