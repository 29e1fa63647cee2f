// SPDX-License-Identifier: MIT
#pragma once
// Every option of tavlin's command line, declared and read in one place (by
// Qt's QCommandLineParser); each mode takes from it what it needs.
#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "problem/Result.h"

// Fault is --fault, the chip's fault report; a mistake on the command line is a UsageError.
enum class Option { Help, Version, Check, Dump, Decode, Read, Write, Desktop, Gdb, Trace, Base, Changed, Against, Core, Fault,
                    As, ListDevices, Device,
                    Count_ };  // no option: how many there are
inline constexpr std::size_t kOptionCount = static_cast<std::size_t>(Option::Count_);

// What a command line asks for: the first option given that names a mode
// (--help, --check, --decode, --read, --list-devices, ...) decides; without
// one, the window.
enum class Mode { Window, Help, Version, Check, Dump, Decode, Target, ListDevices };

class CParsedOptions {
public:
    // `arguments` start with the program's name.
    explicit CParsedOptions(const std::vector<std::string>& arguments);

    Mode GivenMode() const { return m_mode; }
    // Why `mode` cannot run with the options given: kUnknownOption, "unknown
    // option ARG", for the first one it has no use for (options of one dash
    // are let through with `windowSystemOptions`: the window system takes
    // those before the window reads its own), or kMissingOptionValue, "--gdb
    // needs HOST:PORT", for an option given without its value. For the modes
    // that check their options.
    Status UsageError(Mode mode, bool windowSystemOptions = false) const;

    int Count(Option option) const;  // how many times it was given
    bool Has(Option option) const { return Count(option) > 0; }
    const std::string& Value(Option option) const { return m_values[static_cast<std::size_t>(option)]; }
    const std::vector<std::string>& Positional() const { return m_positional; }

private:
    Mode m_mode = Mode::Window;
    std::vector<std::pair<Option, std::string>> m_given;  // each option given, as written ("-h", "--gdb")
    std::vector<std::string> m_unknown;                   // options tavlin has not, as written
    std::string m_missingValue;                           // "--gdb needs HOST:PORT"
    std::array<std::string, kOptionCount> m_values;       // the last value of each; empty if none
    std::vector<std::string> m_positional;
};
