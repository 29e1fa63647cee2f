// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterFile.h"
#include "defs/TreeDump.h"
#include "res/TavlinResources.h"
#include "tree/PropTree.h"

namespace {

void PrintUsage(std::ostream& out, const char* program) {
    out << "Usage: " << program << " [FILE | --check [FILE] | --dump [FILE] | --help | --version]\n"
        << "\n"
        << "Without options, opens the register tree of FILE, a CMSIS-SVD file or a\n"
        << "definitions file, or of tavlin.xml in the current directory.\n"
        << "\n"
        << "  --check [FILE]  load FILE (default tavlin.xml) without a window; print every\n"
        << "                  problem, then a one-line summary; exit 1 after a problem\n"
        << "  --dump [FILE]   as --check, then print the tree, one row a line\n"
        << "  --help          show this help\n"
        << "  --version       show the version\n";
}

void PrintSummary(std::ostream& out, const char* path, int registerSets, int registers, int fields) {
    out << path << ": " << registerSets << " register sets, " << registers << " registers, " << fields << " fields\n";
}

// tavlin.xml by the definitions rules: the message goes to the error stream.
int CheckDefinitions(bool dump, std::ostream& out, std::ostream& err) {
    CPropTree tree;
    CFieldTable table;
    const LoadResult result = LoadDefinitionsFile(tree, table, kDefinitionsFileName, kDefinitionsFileName);
    if (!result.Ok()) err << result.message << '\n';
    if (result.Ok()) PrintSummary(out, kDefinitionsFileName, result.registerSets, result.registers, result.fields);
    if (dump) DumpTree(out, tree, table);
    return result.Ok() ? 0 : 1;
}

// A file named by the user, in either format.
int CheckFile(const char* path, bool dump, std::ostream& out, std::ostream& err) {
    CPropTree tree;
    CFieldTable table;
    const RegisterFileResult result = LoadRegisterFile(tree, table, path, path);
    for (const std::string& problem : result.problems) err << problem << '\n';
    const bool svd = result.format == RegisterFileFormat::Svd;
    if ((svd && result.opened) || (!svd && result.message.empty()))
        PrintSummary(out, path, result.registerSets, result.registers, result.fields);
    if (dump) DumpTree(out, tree, table);
    return result.problems.empty() && result.message.empty() ? 0 : 1;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) return std::nullopt;
    const std::string option = argv[1];
    const char* program = argv[0] ? argv[0] : "tavlin";
    if (option == "--help" || option == "-h") {
        PrintUsage(out, program);
        return 0;
    }
    if (option == "--version") {
        out << "tavlin " << TavlinVersion() << '\n';
        return 0;
    }
    if (option == "--check" || option == "--dump") {
        if (argc > 3) {
            PrintUsage(err, program);
            return 2;
        }
        const bool dump = option == "--dump";
        return argc == 3 ? CheckFile(argv[2], dump, out, err) : CheckDefinitions(dump, out, err);
    }
    if (option.rfind("--", 0) == 0) {
        err << program << ": unknown option " << option << '\n';
        PrintUsage(err, program);
        return 2;
    }
    // Anything else is for the window: a file, or the window system's options
    // (-platform, -display, ...), which the window system takes first.
    return std::nullopt;
}

std::optional<int> ParseWindowArguments(const std::vector<std::string>& arguments, std::string& file,
                                        std::ostream& err) {
    const char* program = arguments.empty() ? "tavlin" : arguments.front().c_str();
    std::vector<std::string> files;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() > 1 && argument.front() == '-') {
            err << program << ": unknown option " << argument << '\n';
            PrintUsage(err, program);
            return 2;
        }
        files.push_back(argument);
    }
    if (files.size() > 1) {
        err << program << ": one file at a time\n";
        PrintUsage(err, program);
        return 2;
    }
    file = files.empty() ? std::string() : files.front();
    return std::nullopt;
}
