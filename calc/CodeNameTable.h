// SPDX-License-Identifier: MIT
#pragma once
// The C names of a map, for reading C statements back as values: every
// register's left-hand side (calc/CodeStatement.h) and every field macro's value
// ("X_Pos" its low bit, "X_Msk" its mask in place). Made once, when a values
// text holds a C statement.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class CRegisterMap;

class CodeNameTable {
public:
    explicit CodeNameTable(const CRegisterMap& map);

    // The place in the map's Registers() of the register `lhs` names.
    std::optional<std::size_t> RegisterOf(std::string_view lhs) const;
    // The value of a field macro; nothing for a name the map does not define.
    std::optional<std::uint64_t> MacroValue(std::string_view name) const;

private:
    std::unordered_map<std::string, std::size_t> m_registers;
    std::unordered_map<std::string, std::uint64_t> m_macros;
};
