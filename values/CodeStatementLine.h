// SPDX-License-Identifier: MIT
#pragma once
// A values line written as C: a register's left-hand side (as tavlin writes
// it, "UART0->UARTCR", or a label path), '=', an expression and ';', with
// comments after it (/* ... */ or // ...):
//   UART0->UARTCR = UART0_UARTCR_UARTEN_Msk | (0x5UL << UART0_UARTCR_WLEN_Pos); /* 8 bits */
// The expression holds numbers (decimal, 0x hex, 0 octal, 0b binary, with
// U, L, UL, ULL suffixes of either case), names (the map's field macros,
// X_Pos and X_Msk), ~ - + as signs, << >> + - & | and parentheses, and
// casts to the unsigned types (uint8_t .. uint64_t, unsigned [long [long]]),
// which cut the value to their width. It is worked out in 64 bits, wrapping
// as C's unsigned long long does.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "problem/Result.h"

// The value of a name of the expression; nothing for a name the map does not define.
using CodeNameValue = std::function<std::optional<std::uint64_t>(std::string_view name)>;

// Whether `line`, without white space at its ends, is a C statement: its
// text before its first comment ends with ';'.
bool IsCodeStatementLine(std::string_view line);

struct CodeStatementValue {
    std::string_view lhs;  // as written, white space around it taken off
    std::uint64_t value = 0;
};

// Reads a line IsCodeStatementLine takes; `names` gives the names' values (none:
// every name is unknown). A line that gives no value fails with kUnknownName
// for a name the map does not define, kBadValue for anything else.
Result<CodeStatementValue> ReadCodeStatement(std::string_view line, const CodeNameValue& names);
