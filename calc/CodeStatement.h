// SPDX-License-Identifier: MIT
#pragma once
// A register's value as one statement of C, spelled as a CMSIS device header
// generated from the same SVD file names the register and its fields:
//   UART0->UARTCR = UART0_UARTCR_UARTEN_Msk | (0x5UL << UART0_UARTCR_WLEN_Pos);
// The right-hand side is exactly the value: each field with a share other
// than 0, in the map's order, as `X_Msk` when it is one bit wide and else
// `(0xNUL << X_Pos)` (ULL in a register over 32 bits); the bits no field
// covers as one number; "0UL" for 0. A drop-down field's named value and a
// read-only register are told in comments at the end. The core registers
// tavlin adds are named as the core's CMSIS-Core header names them
// (defs/CoreHeaderNames.h), a field it has no macro for in the number. A map without C names
// of its own (a definitions file) gives SET->REG and SET_REG_FIELD_Pos.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CPropTreeItem;
class CRegisterMap;

// "NRF_POWER->INTENSET", "DMA1->CH[2].CTRL": the register at `index` of the map's Registers().
std::string CodeLeftHandSide(const CRegisterMap& map, std::size_t index);
// "UART0_UARTCR_UARTEN": a field row of that register's field macros, without "_Pos" or "_Msk";
// empty for a field of a core register its core's CMSIS-Core header gives no macro.
std::string CodeFieldMacro(const CRegisterMap& map, std::size_t index, const CPropTreeItem& field);
// Whether the register has field macros: a register of an SVD file without field elements has none.
bool HasCodeFieldMacros(const CRegisterMap& map, std::size_t index);

// The statement giving the register at `index` the value `value`, with its
// ';' and any comment, without a line break.
std::string CodeStatement(const CRegisterMap& map, std::size_t index, std::uint64_t value);

// The statements of the registers the map holds a value for that differs
// from its baseline (CRegisterMap::ChangedBits), read-only ones left out, in
// the map's order, one a line: what sets the registers up from their reset.
std::string ChangedCodeStatements(const CRegisterMap& map);
// Whether ChangedCodeStatements has any.
bool HasChangedCodeStatements(const CRegisterMap& map);
