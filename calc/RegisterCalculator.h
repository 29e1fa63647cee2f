// SPDX-License-Identifier: MIT
#pragma once
// Moves a register value between the field rows of the tree and the two value
// boxes: composition (fields → boxes), decomposition (hex box → fields) and
// what selecting a row shows. Holds no state of its own: every call starts
// afresh from the rows, the field table and the boxes.
//
// Which rows take part:
// - a register row is a CRegisterItem; a field row is a child of one that has
//   an entry in the field table. Other children are never read or written.
// - a field row is read and written by its own row class (edit row as text,
//   drop-down row as number), so no row is ever handled as the other kind.
// - a register without field rows composes to 0: the hex box shows 0 in the
//   register's format and the decimal box "0"; decomposing into it writes
//   nothing, not even the decimal box.
// - a row that is neither a register row nor a field row of one (a register
//   set row, say) names no register, and composition does nothing for it.
#include <cstdint>

#include "defs/RegisterItem.h"

class CPropTreeItem;
class CRegisterMap;
struct FieldSpan;
class ValueBox;

class CRegisterCalculator {
public:
    CRegisterCalculator(CRegisterMap& map, ValueBox& hexBox, ValueBox& decimalBox);

    // Composes the register of `row` (a register row or a field row) and
    // writes the hex box, then the decimal box. Nothing for a null row.
    void ShowRegisterValue(CPropTreeItem* row);

    // Splits the hex box's number into the field rows of the focused row's
    // register, each in its own notation, and shows the number in the decimal
    // box after each row. Never writes the hex box. Nothing when no row is
    // focused or a register set is. The number becomes the register's
    // current value; when it differs from the value the map held, it came
    // from typing (a field changed, or the hex box typed into).
    void ApplyHexValue();

    // Gives `reg` a value from elsewhere (a values file, the chip) through
    // the path of typing: the register in hand gets it through the hex box;
    // any other register's field rows are rewritten directly, and the tree
    // is refreshed by the caller once it has given all its values.
    void SetRegisterValue(CRegisterItem& reg, std::uint64_t value, ValueSource source);

    // A register set empties both boxes; any other row shows its register.
    void OnTreeSelChanged(CPropTreeItem* row);

    // The register a row belongs to: a register row itself, a field row's
    // parent; null for any other row.
    CRegisterItem* RegisterOf(CPropTreeItem* row) const;

    // The value the field rows of `reg` compose to.
    std::uint64_t ComposeRegister(const CRegisterItem& reg) const;

    // The bits of `reg` that its field rows can hold: the union of the spans
    // of its field rows (bits above 63 and spans starting outside 0..63 hold none).
    std::uint64_t FieldBitsOf(const CRegisterItem& reg) const;

private:
    // The span of a child of a register, or null when it is not a field row.
    const FieldSpan* FieldSpanOf(const CPropTreeItem* row) const;
    std::uint64_t ReadFieldValue(const CPropTreeItem& row) const;
    void WriteFieldValue(CPropTreeItem& row, std::uint64_t fieldValue, std::uint64_t fieldMask);
    void CommitFieldValue(CPropTreeItem& row, const FieldSpan& span, std::uint64_t value);
    // Enters `value` as the register's current value; a register with a reset
    // value (an SVD register) also shows it in its row, as the hex box writes it.
    void HoldValue(CRegisterItem& reg, std::uint64_t value, ValueSource source);
    bool IsRegisterSet(const CPropTreeItem* row) const;

    CRegisterMap& m_map;
    ValueBox& m_hexBox;
    ValueBox& m_decimalBox;
};
