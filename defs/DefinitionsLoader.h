// SPDX-License-Identifier: MIT
#pragma once
// Reads a register definitions file into a register map: register sets at
// the top level of its tree, registers below them and the bit fields of each
// register below those, with their spans in the map's field table.
#include <string_view>

#include "defs/LoadReport.h"

class CRegisterMap;

// Whether `text` begins as a definitions file: after white space and '#'
// comment lines, its first word is the root tag "<tavlin".
bool IsDefinitionsText(std::string_view text);

// The name of the definitions file, read from the current directory.
constexpr const char* kDefinitionsFileName = "tavlin.xml";

// Loads the file at `path` into `map`. A format error ends the load with its
// message, the one problem of the report, naming the file as `displayName`
// (the path when null); everything built before it stays in the map. No box
// is shown: the caller shows the message (the dialog in a box, the command
// line on standard error).
LoadReport LoadDefinitionsFile(CRegisterMap& map, const char* path, const char* displayName = nullptr);

// The same load from memory. `block` is a text as ReadWholeFile leaves it, or null for a file that could
// not be read; the load takes it over.
LoadReport LoadDefinitionsBlock(CRegisterMap& map, char* block, const char* displayName);
// As LoadDefinitionsBlock, from a copy of `text`.
LoadReport LoadDefinitionsText(CRegisterMap& map, std::string_view text, const char* displayName);
