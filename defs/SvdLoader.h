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
#include <string_view>

#include "defs/LoadReport.h"

class CRegisterMap;

// At most this many rows (sets, registers, fields and cluster instances)
// come from one file; a larger expansion is refused with a problem.
constexpr std::size_t kSvdMaxRows = 4'000'000;
// Clusters nested deeper than this are refused with a problem.
constexpr int kSvdMaxClusterDepth = 256;
// No problem budget: every problem is counted (the first 100 000 kept) and
// the load goes on.
constexpr std::size_t kSvdAllProblems = static_cast<std::size_t>(-1);

// Whether `bytes` is an SVD file: its first element (after an optional BOM,
// XML declaration, processing instructions, comments and doctype) is <device.
bool IsSvdText(std::string_view bytes);

// Parses `bytes` and, when they are well-formed XML, appends the expanded
// device to `map`: its rows at the top level of the tree, the spans of its
// fields, each register's address and reset value. `displayName` names the
// file in the messages; at most `maxRows` rows come from the file, and after
// `maxProblems` problems the load stops with one more. Bytes that are not
// well-formed XML leave the map untouched, with the one problem.
LoadReport LoadSvdText(CRegisterMap& map, std::string_view bytes, std::string_view displayName,
                       std::size_t maxRows = kSvdMaxRows, std::size_t maxProblems = kSvdAllProblems);
