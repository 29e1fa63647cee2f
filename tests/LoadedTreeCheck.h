#pragma once
// Walks a tree built by the definitions loader and checks that every row is
// in a shape the calculator and the view can use: sets at the top level,
// register rows below them, field rows (with a span in the field table) below
// those, every text within the reader's limits, every drop-down consistent.
// Shared by the hostile-input tests and the fuzz targets, so it reports
// problems as text instead of asserting.
#include <string>
#include <vector>

class CPropTree;
class CFieldTable;
struct LoadResult;

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

// Checks the rows and the table against each other and against `result`.
TreeCheckReport CheckLoadedTree(CPropTree& tree, const CFieldTable& table, const LoadResult& result);

// Uses the tree as the user would: selects every row, commits a new value
// into every field row and reads it back. Returns the problems found.
std::vector<std::string> ExerciseLoadedTree(CPropTree& tree);
