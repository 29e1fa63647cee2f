#pragma once
// tavlin's command line. With no arguments tavlin opens its window; the
// options below work without one, for people who check the definitions
// files their scripts generate.
#include <optional>
#include <ostream>

// Runs the command line when it asks for something other than the window:
// --check [FILE], --dump [FILE], --help, --version. Returns the exit code
// then (0 ok, 1 the file has a fault, 2 bad usage), or nothing when the
// window should open.
std::optional<int> RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
