// SPDX-License-Identifier: MIT
#include "framework/DropFiles.h"

#include <algorithm>
#include <cstring>

UINT DragQueryFile(HDROP hDrop, UINT iFile, LPTSTR file, UINT size) {
    if (!hDrop) return 0;
    if (iFile == 0xFFFFFFFF) return static_cast<UINT>(hDrop->files.size());
    if (iFile >= hDrop->files.size()) return 0;
    const std::string& path = hDrop->files[iFile];
    if (!file) return static_cast<UINT>(path.size());
    if (size == 0) return 0;
    const std::size_t length = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(file, path.data(), length);
    file[length] = '\0';
    return static_cast<UINT>(length);
}
