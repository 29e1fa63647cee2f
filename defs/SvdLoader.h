// SPDX-License-Identifier: MIT
#pragma once
// Reads a CMSIS-SVD device description (the register maps chip vendors
// publish) into the rows the calculator knows: each peripheral a register set,
// each register (after cluster and dim expansion) a register row, each field a
// drop-down row when it has named values and an edit row otherwise.
//
// The expansion (defs/SvdExpansion.h) turns the parsed device into records;
// the row writer (defs/SvdRowWriter.h) makes the rows from them.
//
// Bytes in, result out: the loader never reads files and never shows a box;
// its callers do both.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CPropTree;
class CFieldTable;

// One element left out, or one limit that stopped an expansion.
struct SvdProblem {
    int line = 0;        // 1-based line of the element in the file
    std::string path;    // the element's place, names joined by '.': "TIMER0.CTRL.EN"
    std::string text;    // what is wrong: "field has no bit range"

    // "NAME:LINE: PATH: TEXT", or "NAME:LINE: TEXT" without a path.
    std::string Format(std::string_view displayName) const;
};

struct SvdLoadResult {
    std::string displayName;  // names the file in every message

    // False when the bytes are not well-formed XML: then nothing was loaded
    // and the tree and table were not touched.
    bool parsed = false;
    std::string parseError;  // "NAME:LINE:COLUMN: not well-formed XML: WHAT"

    int registerSets = 0;
    int registers = 0;
    int fields = 0;
    std::vector<SvdProblem> problems;  // the problems, in the order found
    std::size_t problemsNotKept = 0;   // problems beyond the first 100 000, only counted

    bool Ok() const { return parsed && problems.empty(); }
    // The text of the one message box for this load: the parse error, or the
    // first few problems with how many there were in all; empty when Ok.
    std::string Message() const;
};

// At most this many rows (sets, registers, fields and cluster instances)
// come from one file; a larger expansion is refused with a problem.
constexpr std::size_t kSvdMaxRows = 4'000'000;
// Clusters nested deeper than this are refused with a problem.
constexpr int kSvdMaxClusterDepth = 256;
// No problem budget: every problem is counted (the first 100 000 kept) and
// the load goes on.
constexpr std::size_t kSvdAllProblems = static_cast<std::size_t>(-1);
// How many problems the message box lists before "and N more".
constexpr std::size_t kSvdProblemsShown = 8;

// Whether `bytes` is an SVD file: its first element (after an optional BOM,
// XML declaration, processing instructions, comments and doctype) is <device.
bool IsSvdText(std::string_view bytes);

// Parses `bytes` and, when they are well-formed XML, appends the expanded
// device to `tree` (at the top level) and the spans of its fields to `table`.
// `displayName` names the file in the messages; at most `maxRows` rows come
// from the file, and after `maxProblems` problems the load stops with one more.
SvdLoadResult LoadSvdText(CPropTree& tree, CFieldTable& table, std::string_view bytes,
                          std::string_view displayName, std::size_t maxRows = kSvdMaxRows,
                          std::size_t maxProblems = kSvdAllProblems);
