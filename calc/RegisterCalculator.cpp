// SPDX-License-Identifier: MIT
#include "calc/RegisterCalculator.h"

#include <string>

#include "bits/BitArithmetic.h"
#include "bits/FieldValue.h"
#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "calc/ValueBox.h"
#include "defs/RegisterMap.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

// Drop-down rows keep whole field values, also those of fields wider than 32 bits.
static_assert(sizeof(LPARAM) >= sizeof(std::uint64_t), "a drop-down row's value must hold 64 bits");

CRegisterCalculator::CRegisterCalculator(CRegisterMap& map, ValueBox& hexBox, ValueBox& decimalBox)
    : m_map(map), m_hexBox(hexBox), m_decimalBox(decimalBox) {}

CRegisterItem* CRegisterCalculator::RegisterOf(CPropTreeItem* row) const {
    if (!row) return nullptr;
    if (auto* reg = dynamic_cast<CRegisterItem*>(row)) return reg;
    return dynamic_cast<CRegisterItem*>(row->GetParent());
}

bool CRegisterCalculator::IsRegisterSet(const CPropTreeItem* row) const {
    return row->GetParent() == m_map.Tree().GetRootItem();
}

const FieldSpan* CRegisterCalculator::FieldSpanOf(const CPropTreeItem* row) const {
    const bool valueRow = dynamic_cast<const CPropTreeItemEdit*>(row) || dynamic_cast<const CPropTreeItemCombo*>(row);
    return valueRow ? m_map.Fields().Find(row) : nullptr;
}

std::uint64_t CRegisterCalculator::ReadFieldValue(const CPropTreeItem& row) const {
    if (const auto* edit = dynamic_cast<const CPropTreeItemEdit*>(&row)) return ParseNumberText(edit->GetText());
    // A drop-down value is a signed number: widen it with its sign.
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(row.GetItemValue()));
}

void CRegisterCalculator::WriteFieldValue(CPropTreeItem& row, std::uint64_t fieldValue, std::uint64_t fieldMask) {
    if (auto* edit = dynamic_cast<CPropTreeItemEdit*>(&row)) {
        const std::string text = FormatFieldValue(fieldValue, edit->GetText(), fieldMask);
        edit->SetItemValue(reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    row.SetItemValue(static_cast<LPARAM>(DropDownItemValue(fieldValue, fieldMask)));
}

std::uint64_t CRegisterCalculator::ComposeRegister(const CRegisterItem& reg) const {
    std::uint64_t value = 0;
    for (const CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
        const FieldSpan* span = FieldSpanOf(row);
        if (!span) continue;
        const std::uint64_t field = ReadFieldValue(*row) & FieldMask(span->nLowBit, span->nHighBit);
        value |= ShiftLeft64(field, span->nLowBit);
    }
    return value;
}

std::uint64_t CRegisterCalculator::FieldBitsOf(const CRegisterItem& reg) const {
    std::uint64_t bits = 0;
    for (const CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
        if (const FieldSpan* span = FieldSpanOf(row)) bits |= FieldPlacement(span->nLowBit, span->nHighBit);
    }
    return bits;
}

void CRegisterCalculator::ShowRegisterValue(CPropTreeItem* row) {
    const CRegisterItem* reg = RegisterOf(row);
    if (!reg) return;
    const std::uint64_t value = ComposeRegister(*reg);
    // Writing the hex box runs ApplyHexValue inside the write, before the
    // decimal box is set.
    m_hexBox.SetText(FormatRegisterHex(value, reg->m_nBits));
    m_decimalBox.SetText(FormatRegisterDecimal(value));
}

void CRegisterCalculator::ApplyHexValue() {
    CPropTreeItem* focused = m_map.Tree().GetFocusedItem();
    if (!focused || IsRegisterSet(focused)) return;
    const std::uint64_t value = ParseNumberText(m_hexBox.GetText());
    CRegisterItem* reg = RegisterOf(focused);
    if (!reg) return;
    const auto held = m_map.ValueOf(*reg);
    if (!held || held->value != value) HoldValue(*reg, value, held ? ValueSource::Typed : ValueSource::File);
    const std::string decimal = FormatRegisterDecimal(value);
    for (CPropTreeItem* row = reg->GetChild(); row; row = row->GetSibling()) {
        const FieldSpan* span = FieldSpanOf(row);
        if (!span) continue;
        CommitFieldValue(*row, *span, value);
        m_map.Tree().RefreshItems(nullptr);
        m_decimalBox.SetText(decimal);
    }
}

void CRegisterCalculator::CommitFieldValue(CPropTreeItem& row, const FieldSpan& span, std::uint64_t value) {
    const std::uint64_t mask = FieldMask(span.nLowBit, span.nHighBit);
    WriteFieldValue(row, ShiftRight64(value, span.nLowBit) & mask, mask);
    row.CommitChanges();
}

void CRegisterCalculator::HoldValue(CRegisterItem& reg, std::uint64_t value, ValueSource source) {
    m_map.SetValue(reg, value, source);
    if (!m_map.ResetValueOf(reg)) return;
    const std::string text = FormatRegisterHex(value, reg.m_nBits);
    reg.SetItemValue(reinterpret_cast<LPARAM>(text.c_str()));
}

void CRegisterCalculator::SetRegisterValue(CRegisterItem& reg, std::uint64_t value, ValueSource source) {
    HoldValue(reg, value, source);
    if (RegisterOf(m_map.Tree().GetFocusedItem()) == &reg) {
        // As typed: the hex box splits it into the fields, then the decimal box follows.
        m_hexBox.SetText(FormatRegisterHex(value, reg.m_nBits));
        m_decimalBox.SetText(FormatRegisterDecimal(value));
        return;
    }
    for (CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling())
        if (const FieldSpan* span = FieldSpanOf(row)) CommitFieldValue(*row, *span, value);
}

void CRegisterCalculator::OnTreeSelChanged(CPropTreeItem* row) {
    if (!row) return;
    if (IsRegisterSet(row)) {
        m_hexBox.SetText(std::string());
        m_decimalBox.SetText(std::string());
        return;
    }
    ShowRegisterValue(row);
}
