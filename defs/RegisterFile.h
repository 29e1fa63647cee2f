// SPDX-License-Identifier: MIT
#pragma once
// Opens a register file named by the user, in either format: CMSIS-SVD when
// its first element is <device, the definitions format otherwise. The file is
// read once, and only when it is a regular file; no box is shown here, the
// caller shows `message` (the dialog in a box, the command line on stderr).
#include <string>
#include <vector>

class CPropTree;
class CFieldTable;

enum class RegisterFileFormat { Definitions, Svd };

struct RegisterFileResult {
    RegisterFileFormat format = RegisterFileFormat::Definitions;
    // False when nothing could be loaded: the file cannot be read, is not
    // well-formed XML (SVD), or does not start as a definitions file. The
    // tree and table were then left as they were.
    bool opened = false;
    int registerSets = 0;
    int registers = 0;
    int fields = 0;
    // Every problem, one line each ("NAME:LINE: PATH: TEXT"), for the command line.
    std::vector<std::string> problems;
    // The one message to show for this load, empty when there is none.
    std::string message;

    bool Ok() const { return message.empty(); }
};

// Loads the file at `path` into `tree` and `table`, which should be empty;
// `displayName` names the file in messages.
RegisterFileResult LoadRegisterFile(CPropTree& tree, CFieldTable& table, const char* path, const char* displayName);
