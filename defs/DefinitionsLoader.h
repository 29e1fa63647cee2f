// SPDX-License-Identifier: MIT
#pragma once
// Reads a register definitions file into rows of a property tree and into a
// field table: register sets at the top level, registers below them and the
// bit fields of each register below those.
#include <string>
#include <string_view>

class CPropTree;
class CFieldTable;

// The name of the definitions file, read from the current directory.
constexpr const char* kDefinitionsFileName = "tavlin.xml";

struct LoadResult {
    std::string message;  // the message shown, empty when the load succeeded
    int registerSets = 0;
    int registers = 0;
    int fields = 0;
    // Whether the text began as a definitions file (it could be read and its
    // first word was the root tag), so rows may have been built.
    bool startedFile = false;

    bool Ok() const { return message.empty(); }
};

// Loads the file at `path` into `tree` and `table`. A format error ends the
// load with `message`, naming the file as `displayName` (the path when null);
// everything built before it stays in the tree and the table. No box is
// shown: the caller shows the message (the dialog in a box, the command line
// on standard error).
LoadResult LoadDefinitionsFile(CPropTree& tree, CFieldTable& table, const char* path,
                               const char* displayName = nullptr);

// The same load from memory. `block` is a text as ReadWholeFile leaves it, or null for a file that could
// not be read; the load takes it over.
LoadResult LoadDefinitionsBlock(CPropTree& tree, CFieldTable& table, char* block, const char* displayName);
// As LoadDefinitionsBlock, from a copy of `text`.
LoadResult LoadDefinitionsText(CPropTree& tree, CFieldTable& table, std::string_view text, const char* displayName);
