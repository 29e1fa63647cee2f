// SPDX-License-Identifier: MIT
#pragma once
// tavlin --gdb HOST:PORT --read MAP NAME...      reads registers from the chip
// tavlin --gdb HOST:PORT --write MAP NAME=VALUE... writes them and reads them back
// tavlin --gdb HOST:PORT --fault MAP              tells why the core faulted
// and prints them as --decode does. NAME is a register's label path, a
// register set's label (--read: every register of it a read does not change)
// or the address "0x..." of a register.
#include <ostream>
#include <string>
#include <vector>

#include "app/MapSource.h"

struct CoreInfo;

struct TargetRequest {
    std::string endpoint;            // --gdb HOST:PORT
    std::string trace;               // --trace FILE: where every packet is written; empty for nowhere
    bool write = false;              // --write rather than --read
    MapSource map;                   // MAP, or --device
    std::vector<std::string> names;  // NAME, or NAME=VALUE for --write
    const CoreInfo* core = nullptr;  // --core: the core whose registers the map gains
    bool fault = false;              // --fault: the fault report, read from the chip
};

// Returns the exit code: 0, or 1 after any problem.
int RunTargetCommand(const TargetRequest& request, std::ostream& out, std::ostream& err);
