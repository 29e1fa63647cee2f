// SPDX-License-Identifier: MIT
#pragma once
// Runs tavlin's command line in the test's process, as `tavlin ARGS...`.
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

struct Outcome {
    std::optional<int> code;
    std::string out, err;
};

inline Outcome RunTavlin(std::vector<std::string> args) {
    args.insert(args.begin(), "tavlin");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    Outcome o;
    o.code = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    o.out = out.str();
    o.err = err.str();
    return o;
}
