// SPDX-License-Identifier: MIT
#include "calc/RowDescriber.h"

#include <string>

#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"

RowDetails CRegisterRowDescriber::Describe(const CPropTreeItem& row) const {
    if (const auto* reg = dynamic_cast<const CRegisterItem*>(&row)) return {std::to_string(reg->m_nBits) + " bits"};
    // Only a register's children are fields; other rows with a span are not.
    if (!dynamic_cast<const CRegisterItem*>(row.GetParent())) return {};
    const FieldSpan* span = m_table.Find(&row);
    if (!span) return {};
    std::string bits = std::to_string(span->nHighBit);
    if (span->nHighBit != span->nLowBit) bits += ":" + std::to_string(span->nLowBit);
    return {bits, span->access};
}
