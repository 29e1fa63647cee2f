// SPDX-License-Identifier: MIT
#include "calc/RowDescriber.h"

#include <string>

#include "bits/BitArithmetic.h"
#include "defs/RegisterMap.h"

RowDetails CRegisterRowDescriber::Describe(const CPropTreeItem& row) const {
    if (const auto* reg = dynamic_cast<const CRegisterItem*>(&row)) {
        RowDetails details;
        details.bits = std::to_string(reg->m_nBits) + " bits";
        if (const auto address = m_map.AddressOf(*reg)) details.address = m_map.FormatAddressAtMapWidth(*address);
        details.changed = m_map.ChangedBits(*reg) != 0;
        if (const auto held = m_map.ValueOf(*reg); held && held->source == ValueSource::Target)
            details.origin = "read from the chip";
        return details;
    }
    if (row.GetParent() == m_map.Tree().GetRootItem()) {
        RowDetails details;
        if (const auto base = m_map.BaseAddressOf(row)) details.address = m_map.FormatAddressAtMapWidth(*base);
        return details;
    }
    // Only a register's children are fields; other rows with a span are not.
    if (!dynamic_cast<const CRegisterItem*>(row.GetParent())) return {};
    const FieldSpan* span = m_map.Fields().Find(&row);
    if (!span) return {};
    std::string bits = std::to_string(span->nHighBit);
    if (span->nHighBit != span->nLowBit) bits += ":" + std::to_string(span->nLowBit);
    const auto& reg = static_cast<const CRegisterItem&>(*row.GetParent());
    const bool changed = (m_map.ChangedBits(reg) & FieldPlacement(span->nLowBit, span->nHighBit)) != 0;
    RowDetails details;
    details.bits = std::move(bits);
    details.access = span->access;
    details.changed = changed;
    return details;
}

bool CRegisterRowDescriber::HasAddresses() const { return m_map.HasAddresses(); }

bool CRegisterRowDescriber::HoldsAddress(const CPropTreeItem& row, std::uint64_t address) const {
    const auto* reg = dynamic_cast<const CRegisterItem*>(&row);
    if (!reg) return false;
    const auto first = m_map.AddressOf(*reg);
    if (!first || address < *first) return false;
    const std::uint64_t bytes = (static_cast<std::uint64_t>(reg->m_nBits < 1 ? 1 : reg->m_nBits) + 7) / 8;
    return address - *first < bytes;
}

bool CRegisterRowDescriber::IsChanged(const CPropTreeItem& row) const {
    if (const auto* reg = dynamic_cast<const CRegisterItem*>(&row)) return m_map.ChangedBits(*reg) != 0;
    const auto* reg = dynamic_cast<const CRegisterItem*>(row.GetParent());
    const FieldSpan* span = reg ? m_map.Fields().Find(&row) : nullptr;
    return span && (m_map.ChangedBits(*reg) & FieldPlacement(span->nLowBit, span->nHighBit)) != 0;
}
