// SPDX-License-Identifier: MIT
#pragma once
// What a load of a register file tells its caller, whichever the format: in
// the manner of an XML parser's result object, the outcome, the counts and
// every problem with its place, and the one message the window shows.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problem/ProblemList.h"

enum class RegisterFileFormat { Definitions, Svd };

// How many problems of one load are kept; the rest are only counted.
constexpr std::size_t kLoadProblemsKept = 100'000;

struct LoadReport {
    RegisterFileFormat format = RegisterFileFormat::Definitions;
    std::string displayName;  // names the file in every message

    // Whether the file was taken as its format, so its rows are worth
    // showing: false when it could not be read, is not well-formed XML (an
    // SVD file) or does not begin as a definitions file. Nothing was then built.
    bool opened = false;

    int registerSets = 0;
    int registers = 0;
    int fields = 0;
    // In the order found: an element left out, a limit that stopped an
    // expansion, the fault that ended a definitions file, or XML that is not
    // well-formed, each with its line and element path.
    ProblemList problems{kLoadProblemsKept};

    // No problem at all.
    bool Ok() const { return problems.Empty(); }
    std::size_t ProblemCount() const { return problems.Count(); }
    // Whether the counts describe the whole file: an SVD file loads all but
    // its faulty elements, a definitions file stops at its first fault.
    bool Complete() const { return format == RegisterFileFormat::Svd ? opened : Ok(); }

    // The text of the one message box for this load, none when Ok: a
    // definitions file's message; for an SVD file the XML error, or the first
    // few problems and how many there were in all.
    std::optional<std::string> Message() const;
};

// How many problems the message box of an SVD load lists before "and N more".
constexpr std::size_t kSvdProblemsShown = 8;
