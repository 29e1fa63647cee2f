// SPDX-License-Identifier: MIT
#pragma once
// The text a process is given and writes: its arguments as UTF-8, whatever
// code page the system would otherwise read them through, and a console that
// shows UTF-8 as written.
#include <string>
#include <vector>

// The program's arguments as UTF-8, the program's own name first. On Windows
// they come from the command line as the system holds it (UTF-16); `argv`
// there is only the ANSI code page's lossy copy. Elsewhere they are `argv`.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv);

// Has the console, where there is one, show what the program writes as UTF-8
// (Windows' console otherwise takes it in its own code page).
void WriteConsoleAsUtf8();
