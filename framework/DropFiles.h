// SPDX-License-Identifier: MIT
#pragma once
// The files of a drop on a window, as its WM_DROPFILES handler reads them.
#include <string>
#include <vector>

#include "framework/AfxTypes.h"

struct DropFiles {
    std::vector<std::string> files;  // local paths, in the order dropped
};

// With `iFile` 0xFFFFFFFF: how many files were dropped. Otherwise the length
// of file `iFile` without its terminator, and with `file` not null, copies as
// much of it as fits in `size` characters, terminator included, and returns
// the length copied. 0 for a file that was not dropped.
UINT DragQueryFile(HDROP hDrop, UINT iFile, LPTSTR file, UINT size);
