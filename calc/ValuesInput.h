// SPDX-License-Identifier: MIT
#pragma once
// Gives the registers of a map the values a values text or a raw memory
// image holds: dumps from debuggers, values files. Each register all of
// whose bytes were given takes its value through the calculator, as if typed
// into the hex box, so every field row follows.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "problem/ProblemList.h"
#include "problem/Result.h"
#include "defs/RegisterItem.h"

class CRegisterCalculator;
class CRegisterMap;

struct ValuesInputReport {
    std::vector<CRegisterItem*> given;  // the registers given a value, in the map's order
    std::vector<std::uint64_t> values;  // the value of each of them
    ProblemList problems;               // ValuesProblemLines() tells them, in line order
    std::vector<std::string> notes;     // values on no register, registers only partly given
};

// A register's label path, as values files and copies write it: the set's
// label, a dot and the register's label ("UART1.CR1", "DMA.CH[0].CTRL").
std::string RegisterPath(const CRegisterItem& reg);

// Reads `text` (any of the values forms) for the registers of `map`, without giving them the values.
ValuesInputReport ReadValuesFor(const CRegisterMap& map, std::string_view text);
// Reads a raw memory image whose first byte is at `base` for the registers of `map`.
ValuesInputReport ReadImageFor(const CRegisterMap& map, std::string_view bytes, std::uint64_t base);

// The bytes of the values file at `path` (of any size, possibly empty), or
// a kCannotRead problem ("cannot be read").
Result<std::string> ReadValuesFile(const std::string& path);

// Whether `bytes` are a values text rather than a raw memory image: no NUL
// byte, and UTF-8 throughout.
bool IsValuesText(std::string_view bytes);

// Gives each of `registers` its value from `values` (the same order) through
// the calculator, as typed, and shows the changed rows once.
void GiveRegisterValues(CRegisterMap& map, CRegisterCalculator& calc, std::span<CRegisterItem* const> registers,
                        std::span<const std::uint64_t> values, ValueSource source);

// Reads `text` (any of the values forms) and gives its values to the registers of `map`.
ValuesInputReport ApplyValuesText(CRegisterMap& map, CRegisterCalculator& calc, std::string_view text,
                                  ValueSource source);
// Gives the registers of `map` what a raw memory image holds, its first byte at `base`.
ValuesInputReport ApplyMemoryImage(CRegisterMap& map, CRegisterCalculator& calc, std::string_view bytes,
                                   std::uint64_t base, ValueSource source);
