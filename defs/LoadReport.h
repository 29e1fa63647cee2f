// SPDX-License-Identifier: MIT
#pragma once
// What a load of a register file tells its caller, whichever the format: in
// the manner of an XML parser's result object, the outcome, the counts and
// every problem with its place, and the one message the window shows.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class RegisterFileFormat { Definitions, Svd };

// One problem of a file: an element left out, a limit that stopped an
// expansion, the fault that ended a definitions file, or XML that is not
// well-formed.
struct LoadProblem {
    int line = 0;       // 1-based line in the file; 0 when the problem has no place
    int column = 0;     // 1-based column, 0 when not known
    std::string path;   // the element's place, names joined by '.': "TIMER0.CTRL.EN"
    std::string text;   // what is wrong: "field has no bit range"

    // "NAME:LINE[:COLUMN]: [PATH: ]TEXT"; the text alone for a problem without a line.
    std::string Format(std::string_view displayName) const;
    // "[PATH: ]TEXT": the problem without its line.
    std::string Describe() const { return path.empty() ? text : path + ": " + text; }
};

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
    std::vector<LoadProblem> problems;  // in the order found
    std::size_t problemsNotKept = 0;    // problems beyond those kept, only counted

    // No problem at all.
    bool Ok() const { return problems.empty() && problemsNotKept == 0; }
    std::size_t ProblemCount() const { return problems.size() + problemsNotKept; }
    // Whether the counts describe the whole file: an SVD file loads all but
    // its faulty elements, a definitions file stops at its first fault.
    bool Complete() const { return format == RegisterFileFormat::Svd ? opened : Ok(); }

    // The text of the one message box for this load, empty when Ok: a
    // definitions file's message; for an SVD file the XML error, or the first
    // few problems and how many there were in all.
    std::string Message() const;
};

// How many problems the message box of an SVD load lists before "and N more".
constexpr std::size_t kSvdProblemsShown = 8;
