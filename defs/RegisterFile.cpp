// SPDX-License-Identifier: MIT
#include "defs/RegisterFile.h"

#include <memory>
#include <string_view>

#include "defs/DefinitionsLoader.h"
#include "defs/SvdLoader.h"
#include "defs/TokenReader.h"

LoadReport LoadRegisterFile(CRegisterMap& map, const char* path, const char* displayName) {
    if (!displayName) displayName = path ? path : "";
    char* block = nullptr;
    const std::int32_t length = ReadWholeFile(path, block);
    // A file that cannot be read gets the definitions loader's own message.
    if (length == 0) return LoadDefinitionsBlock(map, nullptr, displayName);
    const std::string_view bytes(block, static_cast<size_t>(length));
    if (!IsSvdText(bytes)) return LoadDefinitionsBlock(map, block, displayName);
    std::unique_ptr<char[]> owned(block);
    return LoadSvdText(map, bytes, displayName);
}
