// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "app/TargetCommandLine.h"
#include "app/Decode.h"
#include "app/DeviceOption.h"
#include "app/MapSource.h"
#include "app/ParsedOptions.h"

#include <algorithm>
#include <string>

#include "defs/CoreRegisters.h"
#include "defs/DefinitionsLoader.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "defs/SvdNumbers.h"
#include "defs/TreeDump.h"
#include "res/TavlinResources.h"
#include "ui/PackFileDevices.h"

namespace {

void PrintUsage(std::ostream& out, const std::string& program) {
    out << "Usage: " << program << " [--desktop] [--gdb HOST:PORT] [--core NAME] [FILE]\n"
        << "       " << program << " --check [FILE] | --dump [FILE] | --help | --version\n"
        << "       " << program << " --decode MAP VALUES... [--base ADDRESS] [--changed] [--against BASELINE] [--fault]\n"
        << "       " << std::string(program.size(), ' ') << "          [--as c]\n"
        << "       " << program << " --gdb HOST:PORT [--trace FILE] --read MAP NAME... | --write MAP NAME=VALUE...\n"
        << "       " << program << " --gdb HOST:PORT --fault MAP\n"
        << "       " << program << " --list-devices [TEXT]\n"
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
        << "                  or from the values of BASELINE with --against; with\n"
        << "                  --as c, each as one line of C (a CMSIS device header's\n"
        << "                  names), which values files can hold too\n"
        << "  --gdb HOST:PORT connect to a GDB server (OpenOCD, pyOCD, J-Link, QEMU) to read\n"
        << "                  and write the chip's registers; with FILE or alone, the\n"
        << "                  window starts connected\n"
        << "  --read MAP NAME...  read each named register (its label path as --decode\n"
        << "                  prints it, or its address 0x...) or register set from the\n"
        << "                  chip and print it as --decode does\n"
        << "  --write MAP NAME=VALUE...  write each register, read it back and print it\n"
        << "  --fault         why the core faulted: with --gdb, read SCB's fault status from\n"
        << "                  the chip; with --decode, take it from the values; print a line\n"
        << "                  for each fault bit set, then the active exception\n"
        << "  --core NAME     add the registers of Cortex-M core NAME (CM0, CM0PLUS, CM3,\n"
        << "                  CM4, CM7, CM23, CM33, CM55, ...) to the map, leaving out sets\n"
        << "                  it has; an SVD file's <cpu> adds them by itself\n"
        << "  --device NAME[:PROCESSOR]  in place of FILE or MAP, the map of a device of\n"
        << "                  the installed CMSIS packs (the pack folders of the settings,\n"
        << "                  $CMSIS_PACK_ROOT, cmsis-toolbox, Keil MDK, pyOCD): its name\n"
        << "                  or variant ignoring case, a unique prefix being enough, and\n"
        << "                  for a device of several cores the processor's name\n"
        << "  --list-devices [TEXT]  print a line for each installed device (and\n"
        << "                  processor) whose name, vendor, family or core holds TEXT:\n"
        << "                  name, processor, vendor, pack, version and SVD file,\n"
        << "                  tab-separated\n"
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

// The window's and the first option's mistakes are told with the usage.
int TellUsageError(const std::string& program, const Status& usage, std::ostream& err) {
    err << program << ": " << usage.Text() << '\n';
    PrintUsage(err, program);
    return 2;
}

// A mistake a mode finds in its options once the parser has found none.
int TellModeUsageError(const Status& usage, std::ostream& err) {
    err << "tavlin: " << usage.Text() << '\n';
    return 2;
}

// Keeps the first usage error: `usage` becomes the failure when it is still
// fine and `wrong` holds.
void RefuseIf(Status& usage, bool wrong, ProblemCode code, const std::string& words) {
    if (usage && wrong) usage = Status::Failure(code, words);
}

// The core --core names (none without --core), or the usage error of a name tavlin does not know.
Result<const CoreInfo*> CoreOption(const CParsedOptions& options) {
    using Core = Result<const CoreInfo*>;
    if (!options.Has(Option::Core)) return Core::Success(nullptr);
    if (const CoreInfo* core = FindCore(options.Value(Option::Core))) return Core::Success(core);
    return Core::Failure(ProblemCode::kBadOptionValue,
                         "--core takes one of " + KnownCoreNames() + ", not \"" + options.Value(Option::Core) + "\"");
}

// The core --core names once `usage` holds no error; the first error in `usage` otherwise.
const CoreInfo* CoreOption(const CParsedOptions& options, Status& usage) {
    if (!usage) return nullptr;
    const Result<const CoreInfo*> core = CoreOption(options);
    if (!core) {
        usage = Status::FailureOf(core);
        return nullptr;
    }
    return core.Value();
}

// Whether the MAP is a pack (a .pack file or a lone .pdsc): --device then
// chooses among its devices.
bool MapIsPack(const std::vector<std::string>& words) { return !words.empty() && IsPackFile(words.front()); }

// Resolves --device once the options hold no usage error: nothing when it
// was not given or names a device, which `source` then holds; the exit code
// after telling why otherwise.
std::optional<int> DeviceOption(const CParsedOptions& options, MapSource& source, std::ostream& err) {
    const std::vector<std::string>& words = options.Positional();
    if (MapIsPack(words)) return ResolvePackDevice(words.front(), options.Value(Option::Device), source.device, err);
    if (!options.Has(Option::Device)) return std::nullopt;
    return ResolveDevice(options.Value(Option::Device), source.device, err);
}

// Whether an installed device named with --device stands for the MAP (a
// .pack file as the MAP is chosen in with --device instead).
bool InstalledDeviceNamed(const CParsedOptions& options) {
    return options.Has(Option::Device) && !MapIsPack(options.Positional());
}

constexpr const char* kMapAndDevice = "a MAP and --device go one at a time";

// --check [FILE], --dump [FILE]: without FILE, tavlin.xml by the definitions rules; a named file in either format.
int RunCheck(const CParsedOptions& options, const std::string& program, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& files = options.Positional();
    Status usage = options.UsageError(options.GivenMode());
    if (!usage || files.size() > 1) {
        PrintUsage(err, program);
        return 2;
    }
    const bool device = InstalledDeviceNamed(options);
    RefuseIf(usage, device && !files.empty(), ProblemCode::kOptionsClash, kMapAndDevice);
    const CoreInfo* core = CoreOption(options, usage);
    if (!usage) return TellModeUsageError(usage, err);
    MapSource source{files.empty() ? std::string() : files[0], std::nullopt};
    if (const auto code = DeviceOption(options, source, err)) return *code;
    CRegisterMap map;
    LoadReport report = files.empty() && !device ? LoadDefinitionsFile(map, kDefinitionsFileName, kDefinitionsFileName)
                                                 : LoadMapSource(map, source, core);
    if (files.empty() && !device && core && report.opened) AddCoreRegisters(map, *core, report);
    return Report(report, map, options.GivenMode() == Mode::Dump, out, err);
}

int RunDecodeMode(const CParsedOptions& options, std::ostream& out, std::ostream& err) {
    Status usage = options.UsageError(Mode::Decode);
    const std::vector<std::string>& files = options.Positional();
    const std::optional<std::uint64_t> base = ParseSvdNumber(options.Value(Option::Base));
    const bool as = options.Has(Option::As);
    RefuseIf(usage, options.Has(Option::Base) && !base, ProblemCode::kBadOptionValue,
             "--base takes an address, not \"" + options.Value(Option::Base) + "\"");
    RefuseIf(usage, as && options.Value(Option::As) != "c", ProblemCode::kBadOptionValue,
             "--as takes c, not \"" + options.Value(Option::As) + "\"");
    RefuseIf(usage, as && options.Has(Option::Fault), ProblemCode::kOptionsClash, "--fault and --as go one at a time");
    // With --device, every word is a values file.
    const bool device = InstalledDeviceNamed(options);
    RefuseIf(usage, device && files.empty(), ProblemCode::kWrongArguments,
             "--decode --device needs at least one values file");
    RefuseIf(usage, !device && files.size() < 2, ProblemCode::kWrongArguments,
             "--decode needs a map and at least one values file");
    const CoreInfo* core = CoreOption(options, usage);
    if (!usage) return TellModeUsageError(usage, err);
    MapSource source;
    if (const auto code = DeviceOption(options, source, err)) return *code;
    if (!device) source.file = files[0];
    return RunDecode({std::move(source), std::vector<std::string>(files.begin() + (device ? 0 : 1), files.end()),
                      options.Has(Option::Base) ? base : std::nullopt, options.Has(Option::Changed),
                      options.Value(Option::Against), core, options.Has(Option::Fault), as},
                     out, err);
}

int RunTargetMode(const CParsedOptions& options, std::ostream& out, std::ostream& err) {
    Status usage = options.UsageError(Mode::Target);
    const std::vector<std::string>& words = options.Positional();
    const bool write = options.Has(Option::Write);
    const bool faultReport = options.Has(Option::Fault);
    const char* mode = write ? "--write" : faultReport ? "--fault" : "--read";
    RefuseIf(usage, options.Count(Option::Read) + options.Count(Option::Write) > 1, ProblemCode::kOptionsClash,
             "--read and --write go one at a time");
    RefuseIf(usage, faultReport && (options.Count(Option::Fault) > 1 || options.Has(Option::Read) || write),
             ProblemCode::kOptionsClash, "--fault goes alone, without --read or --write");
    RefuseIf(usage, options.Value(Option::Gdb).empty(), ProblemCode::kMissingOptionValue,
             mode + std::string(" needs --gdb HOST:PORT"));
    // With --device, every word is a NAME (or NAME=VALUE).
    const bool device = InstalledDeviceNamed(options);
    const std::size_t map = device ? 0 : 1;
    RefuseIf(usage, device && faultReport && !words.empty(), ProblemCode::kOptionsClash, kMapAndDevice);
    RefuseIf(usage, !device && faultReport && words.size() != 1, ProblemCode::kWrongArguments,
             "--fault needs a map and nothing more");
    RefuseIf(usage, !faultReport && words.size() < map + 1, ProblemCode::kWrongArguments,
             write ? (device ? "--write needs NAME=VALUE" : "--write needs a map and NAME=VALUE")
                   : (device ? "--read needs a NAME" : "--read needs a map and a NAME"));
    const CoreInfo* core = CoreOption(options, usage);
    if (!usage) return TellModeUsageError(usage, err);
    MapSource source;
    if (const auto code = DeviceOption(options, source, err)) return *code;
    if (!device) source.file = words[0];
    return RunTargetCommand({options.Value(Option::Gdb), options.Value(Option::Trace), write, std::move(source),
                             std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(map), words.end()),
                             core, faultReport},
                            out, err);
}

// --list-devices [TEXT].
int RunListDevices(const CParsedOptions& options, const std::string& program, std::ostream& out, std::ostream& err) {
    Status usage = options.UsageError(Mode::ListDevices);
    RefuseIf(usage, options.Count(Option::ListDevices) > 1 || options.Positional().size() > 1,
             ProblemCode::kWrongArguments, "--list-devices takes at most one TEXT");
    if (!usage) return TellUsageError(program, usage, err);
    return ListDevices(options.Positional().empty() ? std::string() : options.Positional().front(), out);
}

// The window's map and --device clash, and the first mistake of --core.
Status WindowUsageError(const CParsedOptions& options, bool windowSystemOptions) {
    Status usage = options.UsageError(Mode::Window, windowSystemOptions);
    RefuseIf(usage, InstalledDeviceNamed(options) && !options.Positional().empty(), ProblemCode::kOptionsClash,
             kMapAndDevice);
    return usage;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "tavlin");
    return RunCommandLine(std::move(arguments), out, err);
}

std::optional<int> RunCommandLine(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) arguments.emplace_back("tavlin");
    const std::string& program = arguments.front();
    const CParsedOptions options(arguments);
    switch (options.GivenMode()) {
    case Mode::Help:
        PrintUsage(out, program);
        return 0;
    case Mode::Version:
        out << "tavlin " << TavlinVersion() << '\n';
        return 0;
    case Mode::Check:
    case Mode::Dump:
        return RunCheck(options, program, out, err);
    case Mode::Decode:
        return RunDecodeMode(options, out, err);
    case Mode::Target:
        return RunTargetMode(options, out, err);
    case Mode::ListDevices:
        return RunListDevices(options, program, out, err);
    case Mode::Window:
        break;
    }
    // The rest is the window's, told once the window system has taken its own
    // options (-platform, -display, ...) and their values.
    const Status usage = WindowUsageError(options, true);
    if (!usage) return TellUsageError(program, usage, err);
    // A device that cannot be opened is told here, before any window; a
    // .pack file alone opens on the chooser of its devices.
    MapSource source;
    return options.Has(Option::Device) ? DeviceOption(options, source, err) : std::nullopt;
}

std::optional<int> ParseWindowArguments(const std::vector<std::string>& arguments, WindowArguments& window,
                                        std::ostream& err) {
    const CParsedOptions options(arguments);
    Status usage = WindowUsageError(options, false);
    RefuseIf(usage, options.Positional().size() > 1, ProblemCode::kWrongArguments, "one file at a time");
    const CoreInfo* core = CoreOption(options, usage);
    if (!usage) return TellUsageError(arguments.empty() ? "tavlin" : arguments.front(), usage, err);
    MapSource source;
    if (options.Has(Option::Device))
        if (const auto code = DeviceOption(options, source, err)) return *code;
    window = {options.Positional().empty() ? std::string() : options.Positional().front(),
              options.Has(Option::Desktop), options.Value(Option::Gdb), core, std::move(source.device)};
    return std::nullopt;
}
