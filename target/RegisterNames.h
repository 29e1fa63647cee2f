// SPDX-License-Identifier: MIT
#pragma once
// The registers a name on the command line stands for: a register's label
// path as --decode prints it ("UART1.CR1", "DMA.CH[0].CTRL"), a register
// set's label (every register of it), or an address "0x..." of a register.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "problem/Result.h"

class CRegisterItem;
class CRegisterMap;

struct NamedRegisters {
    std::vector<CRegisterItem*> registers;  // in the map's order
    bool isSet = false;                     // the name is a register set's
};

// The registers `name` stands for, or a kUnknownName problem ("NAME names no register").
Result<NamedRegisters> FindNamedRegisters(const CRegisterMap& map, std::string_view name);
