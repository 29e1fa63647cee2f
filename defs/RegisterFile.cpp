// SPDX-License-Identifier: MIT
#include "defs/RegisterFile.h"

#include <memory>
#include <string_view>

#include "defs/DefinitionsLoader.h"
#include "defs/SvdLoader.h"
#include "defs/TokenReader.h"

RegisterFileResult LoadRegisterFile(CPropTree& tree, CFieldTable& table, const char* path, const char* displayName) {
    if (!displayName) displayName = path ? path : "";
    char* block = nullptr;
    const std::int32_t length = ReadWholeFile(path, block);
    if (length == 0) {
        // The definitions loader's own message for a file it cannot read.
        RegisterFileResult result;
        result.message = LoadDefinitionsBlock(tree, table, nullptr, displayName).message;
        result.problems.push_back(result.message);
        return result;
    }
    const std::string_view bytes(block, static_cast<size_t>(length));
    RegisterFileResult result;
    if (IsSvdText(bytes)) {
        std::unique_ptr<char[]> owned(block);
        const SvdLoadResult svd = LoadSvdText(tree, table, bytes, displayName);
        result.format = RegisterFileFormat::Svd;
        result.opened = svd.parsed;
        result.registerSets = svd.registerSets;
        result.registers = svd.registers;
        result.fields = svd.fields;
        if (!svd.parsed) result.problems.push_back(svd.parseError);
        for (const SvdProblem& problem : svd.problems) result.problems.push_back(problem.Format(displayName));
        result.message = svd.Message();
        return result;
    }
    const LoadResult definitions = LoadDefinitionsBlock(tree, table, block, displayName);
    result.opened = definitions.startedFile;
    result.registerSets = definitions.registerSets;
    result.registers = definitions.registers;
    result.fields = definitions.fields;
    result.message = definitions.message;
    if (!result.message.empty()) result.problems.push_back(result.message);
    return result;
}
