// SPDX-License-Identifier: MIT
#include "tests/CalcRoundTrip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bits/BitArithmetic.h"
#include "bits/NumberFormatting.h"
#include "tests/CalcTestRig.h"

namespace {

const std::uint64_t kEdgeValues[] = {0, ~std::uint64_t{0}, 0x8000000000000000u, 0x7FFFFFFFFFFFFFFFu,
                                     0xFFFFFFFFu, 0x80000000u, 0x5555555555555555u, 0xAAAAAAAAAAAAAAAAu};

struct FieldRows {
    std::vector<CPropTreeItem*> rows;
    std::vector<CPropTreeItemEdit*> editRows;
    std::uint64_t bits = 0;  // the union of the spans, worked out here independently of the calculator
};

FieldRows CollectFieldRows(CalcRig& rig, CRegisterItem& reg) {
    FieldRows fields;
    for (CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
        const FieldSpan* span = rig.table.Find(row);
        if (!span) continue;
        auto* edit = dynamic_cast<CPropTreeItemEdit*>(row);
        if (!edit && !dynamic_cast<CPropTreeItemCombo*>(row)) continue;
        fields.rows.push_back(row);
        if (edit) fields.editRows.push_back(edit);
        fields.bits |= FieldPlacement(span->nLowBit, span->nHighBit);
    }
    return fields;
}

// Returns false after reporting the first failing value.
bool CheckRegister(CalcRig& rig, CRegisterItem& reg, const FieldRows& fields, const char* notation,
                   std::mt19937_64& random, int values) {
    const bool hexNotation = std::string(notation) == "0x0";
    for (CPropTreeItemEdit* edit : fields.editRows) edit->SetItemValue(reinterpret_cast<LPARAM>(notation));

    for (int i = 0; i < values; ++i) {
        const std::uint64_t value = i < static_cast<int>(std::size(kEdgeValues)) ? kEdgeValues[i] : random();
        const std::string where = std::string("register ") + reg.GetLabelText() + ", " +
                                  (hexNotation ? "hex" : "decimal") + " rows, value " +
                                  FormatRegisterHex(value, 64);

        rig.hex.SetText(FormatRegisterHex(value, reg.m_nBits));  // splits the value into the rows
        for (const CPropTreeItemEdit* edit : fields.editRows) {
            const bool rowIsHex = edit->GetText().rfind("0x", 0) == 0;
            if (rowIsHex != hexNotation) {
                ADD_FAILURE() << where << ": row " << edit->GetLabelText() << " changed notation to \""
                              << edit->GetText() << '"';
                return false;
            }
        }
        rig.calc.ShowRegisterValue(&reg);  // composes them again

        const std::uint64_t expected = value & fields.bits;
        if (rig.hex.text != FormatRegisterHex(expected, reg.m_nBits) ||
            rig.dec.text != FormatRegisterDecimal(expected)) {
            ADD_FAILURE() << where << ": composed " << rig.hex.text << " / " << rig.dec.text << ", expected "
                          << FormatRegisterHex(expected, reg.m_nBits);
            return false;
        }
    }
    return true;
}

void CollectRegisters(CPropTreeItem* row, std::vector<CRegisterItem*>& registers) {
    if (auto* reg = dynamic_cast<CRegisterItem*>(row)) registers.push_back(reg);
    for (CPropTreeItem* child = row->GetChild(); child; child = child->GetSibling()) CollectRegisters(child, registers);
}

}  // namespace

int ExpectRoundTripOnEveryRegister(CalcRig& rig, std::mt19937_64& random, int valuesPerNotation) {
    std::vector<CRegisterItem*> registers;
    CollectRegisters(rig.tree.GetRootItem(), registers);
    for (CRegisterItem* reg : registers) {
        const FieldRows fields = CollectFieldRows(rig, *reg);
        // Decomposition works on the focused row's register.
        rig.tree.SetFocusedItem(fields.rows.empty() ? static_cast<CPropTreeItem*>(reg) : fields.rows.front());
        for (const char* notation : {"0x0", "0"}) {
            if (!CheckRegister(rig, *reg, fields, notation, random, valuesPerNotation)) break;
        }
    }
    return static_cast<int>(registers.size());
}
