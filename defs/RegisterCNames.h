// SPDX-License-Identifier: MIT
#pragma once
// What a register's line of C is named by, as a CMSIS device header generated
// from the same SVD file names it: the start of its field macros
// ("UART0_UARTCR", to which "_FIELD_Pos" and "_FIELD_Msk" are added) and what
// changes its member name in the peripheral's struct. Registers of one layout
// in the header (an array, the instances of a peripheral, a peripheral
// derived without registers of its own) share one entry of the map's table,
// so the map keeps one small index a register, never a text a row.
#include <cstdint>
#include <string>
#include <string_view>

struct RegisterCNames {
    std::string macro;          // "P_C_R": the peripheral's, the clusters' and the register's names, joined by '_'
    std::string prependToName;  // the peripheral's prependToName: put before the register's member name
    std::string appendToName;   // the peripheral's appendToName: put after it, before any index
    bool hasFields = true;      // false for a register without field elements: it has no field macros

    bool operator==(const RegisterCNames&) const = default;
};

// `name` as a C identifier's part, as CMSIS headers spell it: each of
// " \:;.,#?()+-*/" becomes '_', everything else (case too) is kept.
std::string CIdentifierPart(std::string_view name);
void AppendCIdentifierPart(std::string& out, std::string_view name);
