// SPDX-License-Identifier: MIT
// Fuzzes the SVD loader: any bytes as an SVD file, loaded from memory into a
// fresh tree and field table. The loader shows no box and throws nothing: its
// problems come back in the result, as one message text given exactly
// when the load was not clean. Bytes that are not well-formed XML leave the tree
// and table untouched. Whatever a load builds must be a tree the calculator
// and the view can walk and use: every register row shows its reset value as
// the hex box writes it, its field rows start from that value, and it
// composes and decomposes like a register of a definitions file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "bits/NumberFormatting.h"
#include "bits/NumberReading.h"
#include "calc/RegisterCalculator.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "defs/TreeDump.h"
#include "framework/MessageBox.h"
#include "fuzz/CompositionCheck.h"
#include "fuzz/FuzzCheck.h"
#include "tests/ChainedValueBox.h"
#include "tests/LoadedTreeCheck.h"
#include "tree/PropTree.h"

namespace {

constexpr std::string_view kDisplayName = "fuzzed.svd";
// The row and problem budgets of a fuzzed load. A few kilobytes of dim can
// ask for the loader's full limit of millions of rows, or a problem for each
// of them; under the sanitizers each row and problem costs microseconds, and
// a corpus full of inputs that reach a large budget runs at a few hundred
// executions a second. Small budgets are reached the same way and exercise
// the same refusals, so a long run keeps thousands of executions a second.
constexpr std::size_t kFuzzMaxRows = 512;
constexpr std::size_t kFuzzMaxProblems = 64;

int g_boxes = 0;

void Report(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

LoadReport Load(CRegisterMap& map, std::string_view bytes) {
    try {
        return LoadSvdText(map, bytes, kDisplayName, kFuzzMaxRows, kFuzzMaxProblems);
    } catch (const std::exception& error) {
        Report(std::string("LoadSvdText threw: ") + error.what());
    } catch (...) {
        Report("LoadSvdText threw");
    }
    return {};
}

void CheckResult(const LoadReport& result, const std::optional<std::string>& message) {
    FUZZ_CHECK(result.displayName == kDisplayName);
    FUZZ_CHECK(message.has_value() != result.Ok());
    if (message) FUZZ_CHECK(!message->empty() && message->find(kDisplayName) != std::string::npos);
    FUZZ_CHECK(result.problems.Kept().size() <= kFuzzMaxProblems + 1 && result.problems.LeftOut() == 0);
    for (const Problem& problem : result.problems.Kept()) {
        FUZZ_CHECK(problem.line >= 1);
        FUZZ_CHECK(!problem.detail.empty());
    }
    const std::size_t rows = static_cast<std::size_t>(result.registerSets) + static_cast<std::size_t>(result.registers) +
                             static_cast<std::size_t>(result.fields);
    FUZZ_CHECK(result.registerSets >= 0 && result.registers >= 0 && result.fields >= 0);
    FUZZ_CHECK(rows <= kFuzzMaxRows);
}

// Before anything was typed or chosen: each register row's text is a value as
// the hex box writes it for the register's width, the map holds it as the
// register's reset and current value, from the file, beside its address, and
// the field rows compose to that value's bits under them.
void CheckRegistersStartFromTheirValue(CRegisterMap& map) {
    CPropTree& tree = map.Tree();
    ChainedValueBox hex;
    ChainedValueBox decimal;
    const CRegisterCalculator calc(map, hex, decimal);
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
        for (CPropTreeItem* row = set->GetChild(); row; row = row->GetSibling()) {
            const auto* reg = dynamic_cast<const CRegisterItem*>(row);
            FUZZ_CHECK(reg);
            const std::string text = reinterpret_cast<const char*>(reg->GetItemValue());
            const std::uint64_t value = ParseNumberText(text);
            if (text != FormatRegisterHex(value, reg->m_nBits))
                Report("register '" + std::string(reg->GetLabelText()) + "' of " + std::to_string(reg->m_nBits) +
                       " bits shows \"" + text + "\", not a hex box text");
            const auto held = map.ValueOf(*reg);
            if (!map.AddressOf(*reg) || map.ResetValueOf(*reg) != value || !held || held->value != value ||
                held->source != ValueSource::File)
                Report("the map does not hold the address and reset value of register '" +
                       std::string(reg->GetLabelText()) + "'");
            if (calc.ComposeRegister(*reg) != (value & calc.FieldBitsOf(*reg)))
                Report("the fields of register '" + std::string(reg->GetLabelText()) + "' do not start from " + text);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AfxSetMessageBoxPresenter([](const std::string&, UINT) {
        ++g_boxes;
        return IDOK;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)IsSvdText(bytes);

    CRegisterMap map;
    CPropTree& tree = map.Tree();
    g_boxes = 0;
    const LoadReport result = Load(map, bytes);
    FUZZ_CHECK(g_boxes == 0);
    CheckResult(result, result.Message());

    if (!result.opened) {
        FUZZ_CHECK(result.problems.Count() == 1 && result.problems.Front().column >= 1);
        FUZZ_CHECK(result.registerSets == 0 && result.registers == 0 && result.fields == 0);
        FUZZ_CHECK(tree.GetRootItem()->GetChildCount() == 0);
        FUZZ_CHECK(map.Fields().Size() == 0 && map.Registers().empty());
        return 0;
    }
    const LoadedCounts counts{result.registerSets, result.registers, result.fields};
    const TreeCheckReport report = CheckLoadedTree(map, counts, SvdTreeRules());
    if (!report.Ok()) Report(report.Describe());
    CheckRegistersStartFromTheirValue(map);

    std::ostringstream dump;
    DumpTree(dump, map);

    for (const auto& problem : ExerciseLoadedTree(tree)) Report(problem);

    CheckEveryRegisterComposes(map, data, size);

    const TreeCheckReport after = CheckLoadedTree(map, counts, SvdTreeRules());
    if (!after.Ok()) Report("after calculating:\n" + after.Describe());
    return 0;
}
