// SPDX-License-Identifier: MIT
// Fuzzes the definitions loader: any bytes as tavlin.xml, loaded from memory
// into a fresh tree and field table. A load gives at most one message, and whatever it
// leaves behind must be a tree the calculator and the view can walk and use:
// every register composes, and a number typed into the hex box (taken from
// the input) splits into its fields and composes back to its field bits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "defs/TreeDump.h"
#include "fuzz/CompositionCheck.h"
#include "fuzz/FuzzCheck.h"
#include "tests/LoadedTreeCheck.h"
#include "tree/PropTree.h"

namespace {

void Report(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LoadReport result = LoadDefinitionsText(map, text, "tavlin.xml");

    const TreeCheckReport report = CheckLoadedTree(map, result);
    if (!report.Ok()) Report(report.Describe());

    std::ostringstream dump;
    DumpTree(dump, map);

    for (const auto& problem : ExerciseLoadedTree(tree)) Report(problem);

    CheckEveryRegisterComposes(map, data, size);

    const TreeCheckReport after = CheckLoadedTree(map, result);
    if (!after.Ok()) Report("after calculating:\n" + after.Describe());
    return 0;
}
