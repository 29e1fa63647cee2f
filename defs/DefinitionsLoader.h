#pragma once
// Reads a register definitions file into rows of a property tree and into a
// field table: register sets at the top level, registers below them and the
// bit fields of each register below those.
#include <string>

class CPropTree;
class CFieldTable;

// The name of the definitions file, read from the current directory.
constexpr const char* kDefinitionsFileName = "tavlin.xml";

struct LoadResult {
    std::string message;  // the message shown, empty when the load succeeded
    int registerSets = 0;
    int registers = 0;
    int fields = 0;

    bool Ok() const { return message.empty(); }
};

// Loads `path` into `tree` and `table`. A format error is shown once with
// AfxMessageBox, naming the file as `displayName` (the file's own name when
// null); everything built before it stays in the tree and the table.
LoadResult LoadDefinitionsFile(CPropTree& tree, CFieldTable& table, const char* path,
                               const char* displayName = nullptr);
