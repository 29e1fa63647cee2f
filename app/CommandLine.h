// SPDX-License-Identifier: MIT
#pragma once
// tavlin's command line. Without options tavlin opens its window, on FILE
// when one is named; the options below work without one, for people who
// check the register files their scripts generate.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "packs/DeviceCatalog.h"

// Runs the command line when it asks for something other than the window:
// --check [FILE], --dump [FILE], --decode, --read, --write, --list-devices,
// --help, --version.
// Returns the exit code then (0 ok, 1 a fault in the files or on the chip,
// 2 bad usage), or nothing when the window should open.
// The arguments are UTF-8 text, the program's name first.
std::optional<int> RunCommandLine(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);
std::optional<int> RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

struct CoreInfo;

// What the window is started with.
struct WindowArguments {
    std::string file;      // the file to open; empty when none was named
    bool desktop = false;  // --desktop: started by the desktop entry
    std::string gdb;       // --gdb HOST:PORT: the GDB server to connect to at start; empty for none
    const CoreInfo* core = nullptr;  // --core NAME: the core whose registers the map gains; null for none
    std::optional<DeviceChoice> device;  // --device NAME: the installed device whose map opens; none when not named
};

// Reads the window's command line, as left after the window system took its
// own options (the program's name first): at most one FILE to open,
// --desktop, --gdb HOST:PORT, --core NAME and --device NAME (resolved here).
// Returns 2 after printing the usage to `err` for anything else, the exit
// code after telling why a --device cannot be opened, or nothing with
// `window` set.
std::optional<int> ParseWindowArguments(const std::vector<std::string>& arguments, WindowArguments& window,
                                        std::ostream& err);
