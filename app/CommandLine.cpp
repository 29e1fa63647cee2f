#include "app/CommandLine.h"

#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/TreeDump.h"
#include "framework/MessageBox.h"
#include "res/TavlinResources.h"
#include "tree/PropTree.h"

namespace {

void PrintUsage(std::ostream& out, const char* program) {
    out << "Usage: " << program << " [--check [FILE] | --dump [FILE] | --help | --version]\n"
        << "\n"
        << "Without options, opens the register tree of tavlin.xml in the current directory.\n"
        << "\n"
        << "  --check [FILE]  load FILE (default tavlin.xml) without a window; print the\n"
        << "                  loader's message, or a one-line summary; exit 1 after a message\n"
        << "  --dump [FILE]   as --check, then print the tree, one row a line\n"
        << "  --help          show this help\n"
        << "  --version       show the version\n";
}

int Check(const char* path, bool dump, std::ostream& out, std::ostream& err) {
    // The message goes to the error stream instead of a box.
    const MessageBoxPresenter previous = AfxSetMessageBoxPresenter([&err](const std::string& text, UINT) {
        err << text << '\n';
        return IDOK;
    });
    CPropTree tree;
    CFieldTable table;
    const LoadResult result = LoadDefinitionsFile(tree, table, path, path);
    AfxSetMessageBoxPresenter(previous);
    if (result.Ok())
        out << path << ": " << result.registerSets << " register sets, " << result.registers << " registers, "
            << result.fields << " fields\n";
    if (dump) DumpTree(out, tree, table);
    return result.Ok() ? 0 : 1;
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
        return Check(argc == 3 ? argv[2] : kDefinitionsFileName, option == "--dump", out, err);
    }
    if (option.rfind("--", 0) == 0) {
        err << program << ": unknown option " << option << '\n';
        PrintUsage(err, program);
        return 2;
    }
    // Anything else is for the window system (-platform, -display, ...).
    return std::nullopt;
}
