// SPDX-License-Identifier: MIT
#pragma once
// tavlin --gdb HOST:PORT --read MAP NAME...      reads registers from the chip
// tavlin --gdb HOST:PORT --write MAP NAME=VALUE... writes them and reads them back
// and prints them as --decode does. NAME is a register's label path, a
// register set's label (--read: every register of it a read does not change)
// or the address "0x..." of a register.
#include <ostream>
#include <string>
#include <vector>

// Whether `arguments` (those after the program's name) ask for --read or --write.
bool IsChipCommand(const std::vector<std::string>& arguments);
// Returns the exit code: 0, 1 after any problem, 2 for bad usage (with the reason on `err`).
int RunChipCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
