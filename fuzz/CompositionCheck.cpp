// SPDX-License-Identifier: MIT
#include "fuzz/CompositionCheck.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "calc/RegisterCalculator.h"
#include "defs/RegisterMap.h"
#include "fuzz/FuzzCheck.h"
#include "tests/ChainedValueBox.h"
#include "tree/PropTree.h"

namespace {

// A hex box text taken from the input: 40 bytes from `seed` on, up to a NUL.
std::string TypedText(const std::uint8_t* data, std::size_t size, std::size_t seed) {
    if (size == 0) return {};
    const std::size_t start = seed % size;
    std::string_view text(reinterpret_cast<const char*>(data + start), std::min<std::size_t>(40, size - start));
    return std::string(text.substr(0, text.find('\0')));
}

// Composes `reg` as selecting `row` does, then types into the hex box with
// `row` focused; the fields must hold exactly the typed bits they cover.
void CalculateRegister(CPropTree& tree, CRegisterCalculator& calc, ChainedValueBox& hex, ChainedValueBox& decimal,
                       CRegisterItem& reg, CPropTreeItem& row, const std::string& typed) {
    tree.SetFocusedItem(&row);
    const std::uint64_t composed = calc.ComposeRegister(reg);
    calc.OnTreeSelChanged(&row);
    FUZZ_CHECK(hex.text == FormatRegisterHex(composed, reg.m_nBits));
    FUZZ_CHECK(decimal.text == FormatRegisterDecimal(composed));
    // The decomposition inside that write rewrote every field from the value.
    FUZZ_CHECK(calc.ComposeRegister(reg) == composed);

    const std::uint64_t fieldBits = calc.FieldBitsOf(reg);
    hex.SetText(typed);
    const std::uint64_t value = ParseNumberText(typed);
    FUZZ_CHECK(calc.ComposeRegister(reg) == (value & fieldBits));
    hex.SetText(FormatRegisterHex(~value, reg.m_nBits));
    FUZZ_CHECK(calc.ComposeRegister(reg) == (~value & fieldBits));
}

}  // namespace

void CheckEveryRegisterComposes(CRegisterMap& map, const std::uint8_t* data, std::size_t size) {
    CPropTree& tree = map.Tree();
    ChainedValueBox hex;
    ChainedValueBox decimal;
    CRegisterCalculator calc(map, hex, decimal);
    hex.onChange = [&calc] { calc.ApplyHexValue(); };
    std::size_t seed = 0;
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
        for (CPropTreeItem* row = set->GetChild(); row; row = row->GetSibling()) {
            auto* reg = dynamic_cast<CRegisterItem*>(row);
            FUZZ_CHECK(reg);
            CalculateRegister(tree, calc, hex, decimal, *reg, *reg, TypedText(data, size, seed += 7919));
            if (CPropTreeItem* field = reg->GetChild()) {
                CalculateRegister(tree, calc, hex, decimal, *reg, *field, TypedText(data, size, seed += 7919));
            }
        }
        tree.SetFocusedItem(set);
        hex.text = decimal.text = "x";
        calc.OnTreeSelChanged(set);
        FUZZ_CHECK(hex.text.empty() && decimal.text.empty());
    }
}
