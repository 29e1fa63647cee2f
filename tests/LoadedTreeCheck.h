// SPDX-License-Identifier: MIT
#pragma once
// Walks a tree built by a loader (the definitions loader or the SVD loader)
// and checks that every row is in a shape the calculator and the view can use:
// sets at the top level, register rows below them, field rows (with a span in
// the field table) below those, every text within the loader's limits, every
// drop-down consistent. Shared by the hostile-input tests and the fuzz
// targets, so it reports problems as text instead of asserting.
#include <cstddef>
#include <string>
#include <vector>

class CPropTree;
class CRegisterMap;
struct LoadReport;

struct TreeCheckReport {
    int sets = 0;
    int registers = 0;
    int fields = 0;
    int choices = 0;
    std::vector<std::string> problems;

    bool Ok() const { return problems.empty(); }
    // Every problem on its own line, for a test failure or a crash report.
    std::string Describe() const;
};

// What a loader promises about its rows beyond their shape; the two formats
// differ in their text limits, the order of drop-down entries and spans.
struct TreeRules {
    std::size_t textLimit = 0;         // labels of sets and registers, infos, register value texts
    std::size_t fieldLabelLimit = 0;   // labels of field rows
    std::size_t choiceLabelLimit = 0;  // labels of drop-down entries
    bool sortedChoices = false;        // drop-down entries in label order (else in file order)
    // Every field row has a span, from bit 0 up and inside its register's width.
    bool spansInsideRegister = false;
};

// The definitions loader: the token reader's 1024 characters, names cut to
// 255, sorted lists; a field cut off by the end of the file may lack a span,
// and a span may lie anywhere.
TreeRules DefinitionsTreeRules();
// The SVD loader: texts of any length, entries in file order, and every
// field inside its register.
TreeRules SvdTreeRules();

// How many rows of each kind the loader says it built.
struct LoadedCounts {
    int registerSets = 0;
    int registers = 0;
    int fields = 0;
};

// Checks the map's rows, field table and list of registers against each
// other, against `counts` and `rules`.
TreeCheckReport CheckLoadedTree(CRegisterMap& map, const LoadedCounts& counts, const TreeRules& rules);
// The same for a definitions load, which must also have a message exactly when it failed.
TreeCheckReport CheckLoadedTree(CRegisterMap& map, const LoadReport& result);

// Uses the tree as the user would: selects every row, commits a new value
// into every field row and reads it back. Returns the problems found.
std::vector<std::string> ExerciseLoadedTree(CPropTree& tree);
