// SPDX-License-Identifier: MIT
#include "defs/RegisterFile.h"

#include <memory>
#include <string_view>

#include "defs/CoreRegisters.h"
#include "defs/DefinitionsLoader.h"
#include "defs/SvdLoader.h"
#include "defs/TokenReader.h"

namespace {

LoadReport LoadEitherFormat(CRegisterMap& map, const char* path, const char* displayName) {
    // "-" is standard input, as for Unix tools; messages name it as grep does.
    const bool standardInput = path && std::string_view(path) == "-";
    if (!displayName || (standardInput && std::string_view(displayName) == "-"))
        displayName = standardInput ? "(standard input)" : path ? path : "";
    char* block = nullptr;
    const std::int32_t length = standardInput ? ReadStandardInput(block) : ReadWholeFile(path, block);
    // A file that cannot be read gets the definitions loader's own message.
    if (length == 0) return LoadDefinitionsBlock(map, nullptr, displayName);
    const std::string_view bytes(block, static_cast<size_t>(length));
    if (!IsSvdText(bytes)) return LoadDefinitionsBlock(map, block, displayName);
    std::unique_ptr<char[]> owned(block);
    return LoadSvdText(map, bytes, displayName);
}

}  // namespace

LoadReport LoadRegisterFile(CRegisterMap& map, const char* path, const char* displayName, const CoreInfo* core) {
    LoadReport report = LoadEitherFormat(map, path, displayName);
    if (core && report.opened) AddCoreRegisters(map, *core, report);
    return report;
}
