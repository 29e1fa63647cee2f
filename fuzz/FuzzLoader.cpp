// Fuzzes the definitions loader: any bytes as tavlin.xml, loaded into a fresh
// tree and field table. A load shows at most one message, and whatever it
// leaves behind must be a tree the calculator and the view can walk and use:
// every register composes, and a number typed into the hex box (taken from
// the input) splits into its fields and composes back to its field bits.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "calc/NumberFormatting.h"
#include "calc/NumberReading.h"
#include "calc/RegisterCalculator.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "tests/ChainedValueBox.h"
#include "defs/RegisterItem.h"
#include "defs/TreeDump.h"
#include "framework/MessageBox.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchFile.h"
#include "tests/LoadedTreeCheck.h"
#include "tree/PropTree.h"

namespace {

int g_boxes = 0;

void Report(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

CRegisterCalculator* g_calculator = nullptr;

// A hex box text taken from the input: 40 bytes from `seed` on, up to a NUL.
std::string TypedText(const std::uint8_t* data, std::size_t size, std::size_t seed) {
    if (size == 0) return {};
    const std::size_t start = seed % size;
    std::string_view text(reinterpret_cast<const char*>(data + start), std::min<std::size_t>(40, size - start));
    return std::string(text.substr(0, text.find('\0')));
}

// Composes `reg` as selecting `row` does, then types into the hex box with
// `row` focused; the fields must hold exactly the typed bits they cover.
void CalculateRegister(CPropTree& tree, ChainedValueBox& hex, ChainedValueBox& decimal, CRegisterItem& reg, CPropTreeItem& row,
                       const std::string& typed) {
    CRegisterCalculator& calc = *g_calculator;
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

void CalculateEveryRegister(CPropTree& tree, ChainedValueBox& hex, ChainedValueBox& decimal, const std::uint8_t* data, std::size_t size) {
    std::size_t seed = 0;
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
        for (CPropTreeItem* row = set->GetChild(); row; row = row->GetSibling()) {
            auto* reg = dynamic_cast<CRegisterItem*>(row);
            FUZZ_CHECK(reg);
            CalculateRegister(tree, hex, decimal, *reg, *reg, TypedText(data, size, seed += 7919));
            if (CPropTreeItem* field = reg->GetChild()) {
                CalculateRegister(tree, hex, decimal, *reg, *field, TypedText(data, size, seed += 7919));
            }
        }
        tree.SetFocusedItem(set);
        hex.text = decimal.text = "x";
        g_calculator->OnTreeSelChanged(set);
        FUZZ_CHECK(hex.text.empty() && decimal.text.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AfxSetMessageBoxPresenter([](const std::string& text, UINT type) {
        ++g_boxes;
        FUZZ_CHECK(type == (MB_OK | MB_ICONEXCLAMATION));
        FUZZ_CHECK(!text.empty());
        return IDOK;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPropTree tree;
    CFieldTable table;
    g_boxes = 0;
    const LoadResult result = LoadDefinitionsFile(tree, table, WriteScratchFile(data, size), "tavlin.xml");
    FUZZ_CHECK(g_boxes <= 1);
    FUZZ_CHECK(g_boxes == (result.Ok() ? 0 : 1));

    const TreeCheckReport report = CheckLoadedTree(tree, table, result);
    if (!report.Ok()) Report(report.Describe());

    std::ostringstream dump;
    DumpTree(dump, tree, table);

    for (const auto& problem : ExerciseLoadedTree(tree)) Report(problem);

    ChainedValueBox hex;
    ChainedValueBox decimal;
    CRegisterCalculator calculator(tree, table, hex, decimal);
    g_calculator = &calculator;
    hex.onChange = [&calculator] { calculator.ApplyHexValue(); };
    CalculateEveryRegister(tree, hex, decimal, data, size);
    g_calculator = nullptr;

    const TreeCheckReport after = CheckLoadedTree(tree, table, result);
    if (!after.Ok()) Report("after calculating:\n" + after.Describe());
    return 0;
}
