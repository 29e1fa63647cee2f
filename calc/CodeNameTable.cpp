// SPDX-License-Identifier: MIT
#include "calc/CodeNameTable.h"

#include "bits/BitArithmetic.h"
#include "calc/CodeStatement.h"
#include "defs/RegisterMap.h"

CodeNameTable::CodeNameTable(const CRegisterMap& map) {
    for (std::size_t i = 0; i < map.Registers().size(); ++i) {
        // The first register of a left-hand side keeps it, as the first of a label path does.
        m_registers.emplace(CodeLeftHandSide(map, i), i);
        if (!HasCodeFieldMacros(map, i)) continue;
        for (const CPropTreeItem* row = map.Registers()[i]->GetChild(); row; row = row->GetSibling()) {
            const FieldSpan* span = map.Fields().Find(row);
            if (!span) continue;
            // Registers sharing macros (an array, a derived peripheral) give them the same values.
            const std::string macro = CodeFieldMacro(map, i, *row);
            if (macro.empty()) continue;
            m_macros.emplace(macro + "_Pos", static_cast<std::uint64_t>(span->nLowBit));
            m_macros.emplace(macro + "_Msk", FieldPlacement(span->nLowBit, span->nHighBit));
        }
    }
}

std::optional<std::size_t> CodeNameTable::RegisterOf(std::string_view lhs) const {
    const auto it = m_registers.find(std::string(lhs));
    if (it == m_registers.end()) return std::nullopt;
    return it->second;
}

std::optional<std::uint64_t> CodeNameTable::MacroValue(std::string_view name) const {
    const auto it = m_macros.find(std::string(name));
    if (it == m_macros.end()) return std::nullopt;
    return it->second;
}
