// SPDX-License-Identifier: MIT
#pragma once
// The loaded tree as text, one row a line, indented two spaces a level:
//   set <label> "<info>"
//   register <label> <bits> bits value "<value text>" "<info>"
//   field <label> <low>..<high> edit "<text>" "<info>"
//   field <label> <low>..<high> combo <value> [<label>=<data>, ...] "<info>"
#include <ostream>

class CPropTree;
class CFieldTable;

void DumpTree(std::ostream& out, CPropTree& tree, const CFieldTable& table);
