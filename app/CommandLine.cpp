// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "app/ChipCommand.h"
#include "app/Decode.h"

#include <string>

#include "defs/DefinitionsLoader.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "defs/TreeDump.h"
#include "res/TavlinResources.h"

namespace {

void PrintUsage(std::ostream& out, const char* program) {
    out << "Usage: " << program << " [--desktop] [--gdb HOST:PORT] [FILE]\n"
        << "       " << program << " --check [FILE] | --dump [FILE] | --help | --version\n"
        << "       " << program << " --decode MAP VALUES... [--base ADDRESS] [--changed] [--against BASELINE]\n"
        << "       " << program << " --gdb HOST:PORT [--trace FILE] --read MAP NAME... | --write MAP NAME=VALUE...\n"
        << "\n"
        << "Without options, opens the register tree of FILE, a CMSIS-SVD file or a\n"
        << "definitions file, or of tavlin.xml in the current directory.\n"
        << "\n"
        << "  --desktop       as the desktop entry starts tavlin: without FILE, an empty\n"
        << "                  window that lists the recent maps instead of tavlin.xml,\n"
        << "                  no About box, and the window where it was last\n"
        << "  --check [FILE]  load FILE (default tavlin.xml) without a window; print every\n"
        << "                  problem, then a one-line summary; exit 1 after a problem\n"
        << "  --dump [FILE]   as --check, then print the tree, one row a line\n"
        << "  --decode MAP VALUES...  give the registers of MAP the values of each VALUES\n"
        << "                  file (a GDB or OpenOCD dump, ADDRESS VALUE or NAME = VALUE\n"
        << "                  lines; with --base, a raw memory image starting at ADDRESS)\n"
        << "                  and print each register given a value with its fields;\n"
        << "                  --changed only those that differ from their reset value,\n"
        << "                  or from the values of BASELINE with --against\n"
        << "  --gdb HOST:PORT connect to a GDB server (OpenOCD, pyOCD, J-Link, QEMU) to read\n"
        << "                  and write the chip's registers; with FILE or alone, the\n"
        << "                  window starts connected\n"
        << "  --read MAP NAME...  read each named register (its label path as --decode\n"
        << "                  prints it, or its address 0x...) or register set from the\n"
        << "                  chip and print it as --decode does\n"
        << "  --write MAP NAME=VALUE...  write each register, read it back and print it\n"
        << "  --trace FILE    with --read or --write, write every packet sent to and\n"
        << "                  received from the GDB server to FILE (TAVLIN_TRACE=FILE in\n"
        << "                  the environment does the same for the window)\n"
        << "  --help          show this help\n"
        << "  --version       show the version\n";
}

void PrintSummary(std::ostream& out, const char* path, int registerSets, int registers, int fields) {
    out << path << ": " << registerSets << " register sets, " << registers << " registers, " << fields << " fields\n";
}

// Prints a load's problems and, when its counts describe the file, its summary.
int Report(const LoadReport& report, const CRegisterMap& map, bool dump, std::ostream& out, std::ostream& err) {
    for (const Problem& problem : report.problems.Kept()) err << problem.Format(report.displayName) << '\n';
    if (report.Complete())
        PrintSummary(out, report.displayName.c_str(), report.registerSets, report.registers, report.fields);
    if (dump) DumpTree(out, map);
    return report.Ok() ? 0 : 1;
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
        // Without FILE, tavlin.xml by the definitions rules; a named file in either format.
        CRegisterMap map;
        const LoadReport report = argc == 3 ? LoadRegisterFile(map, argv[2], argv[2])
                                            : LoadDefinitionsFile(map, kDefinitionsFileName, kDefinitionsFileName);
        return Report(report, map, dump, out, err);
    }
    if (option == "--decode") return RunDecode(std::vector<std::string>(argv + 2, argv + argc), out, err);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (IsChipCommand(arguments)) return RunChipCommand(arguments, out, err);
    if (option == "--desktop" || option == "--gdb") return std::nullopt;  // the window's own
    if (option.rfind("--", 0) == 0) {
        err << program << ": unknown option " << option << '\n';
        PrintUsage(err, program);
        return 2;
    }
    // Anything else is for the window: a file, or the window system's options
    // (-platform, -display, ...), which the window system takes first.
    return std::nullopt;
}

std::optional<int> ParseWindowArguments(const std::vector<std::string>& arguments, WindowArguments& window,
                                        std::ostream& err) {
    const char* program = arguments.empty() ? "tavlin" : arguments.front().c_str();
    std::vector<std::string> files;
    window = {};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--desktop") {
            window.desktop = true;
            continue;
        }
        if (argument == "--gdb") {
            if (i + 1 >= arguments.size()) {
                err << program << ": --gdb needs HOST:PORT\n";
                PrintUsage(err, program);
                return 2;
            }
            window.gdb = arguments[++i];
            continue;
        }
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
    window.file = files.empty() ? std::string() : files.front();
    return std::nullopt;
}
