// SPDX-License-Identifier: MIT
#pragma once
// Opens a register file named by the user, in either format: CMSIS-SVD when
// its first element is <device, the definitions format otherwise. The file is
// read once, and only when it is a regular file; no box is shown here, the
// caller shows the report's message (the dialog in a box, the command line
// its problems on stderr).
#include "defs/LoadReport.h"

class CRegisterMap;

struct CoreInfo;

// Loads the file at `path` into `map`, which should be empty; `displayName`
// names the file in messages (the path when null). With `core`, the core's
// registers are added after the file's own (as --core and the window's "Add
// core registers" ask), the sets whose names the file uses left out.
LoadReport LoadRegisterFile(CRegisterMap& map, const char* path, const char* displayName,
                            const CoreInfo* core = nullptr);
