// SPDX-License-Identifier: MIT
#pragma once
// The rows of a loaded map as text, one row a line, indented two spaces a level:
//   set <label> "<info>"
//   register <label> <bits> bits value "<value text>" "<info>"
//   field <label> <low>..<high> edit "<text>" "<info>"
//   field <label> <low>..<high> combo <value> [<label>=<data>, ...] "<info>"
#include <ostream>

class CRegisterMap;

void DumpTree(std::ostream& out, const CRegisterMap& map);
