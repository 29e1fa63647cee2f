// SPDX-License-Identifier: MIT
#pragma once
// tavlin --decode MAP VALUES... [--base ADDRESS] [--changed] [--against BASELINE] [--as c]:
// gives the registers of MAP the values of each VALUES file (a values text,
// or with --base a raw memory image whose first byte is at ADDRESS) and
// prints each register given a value with its fields, as the rows show them,
// or with --as c as one C statement (calc/CodeStatement.h).
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/MapSource.h"

struct CoreInfo;

struct DecodeRequest {
    MapSource map;                      // MAP, or --device
    std::vector<std::string> values;    // the VALUES files
    std::optional<std::uint64_t> base;  // --base: the values are memory images starting at this address
    bool changedOnly = false;           // --changed
    std::string against;                // --against: the baseline's values file; empty for the reset values
    const CoreInfo* core = nullptr;     // --core: the core whose registers the map gains
    bool fault = false;                 // --fault: the fault report from the values instead of the listing
    bool asC = false;                   // --as c
};

// Returns the exit code: 0, or 1 after any problem.
int RunDecode(const DecodeRequest& request, std::ostream& out, std::ostream& err);

class CRegisterItem;
class CRegisterMap;
class CRegisterRowDescriber;

// A register and its fields as --decode prints them: "PATH @ADDRESS = VALUE",
// then one "  FIELD [BITS] = VALUE" line a field row, as the rows show them.
void PrintDecodedRegister(std::ostream& out, const CRegisterMap& map, const CRegisterRowDescriber& describer,
                          const CRegisterItem& reg, std::uint64_t value);

struct FaultRegisters;

// The fault report's lines (target/FaultReport.h), for the map's core when it knows one.
void PrintFaultReport(std::ostream& out, const CRegisterMap& map, const FaultRegisters& registers);
