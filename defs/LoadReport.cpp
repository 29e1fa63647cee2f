// SPDX-License-Identifier: MIT
#include "defs/LoadReport.h"

std::string LoadProblem::Format(std::string_view displayName) const {
    if (line == 0) return text;
    std::string out(displayName);
    out += ':' + std::to_string(line);
    if (column > 0) out += ':' + std::to_string(column);
    return out + ": " + Describe();
}

std::string LoadReport::Message() const {
    if (problems.empty()) return {};
    if (format == RegisterFileFormat::Definitions) return problems.front().text;
    if (!opened) return problems.front().Format(displayName);
    const std::size_t count = ProblemCount();
    std::string message = displayName + ": " + std::to_string(count) + (count == 1 ? " problem" : " problems") +
                          "; everything else was loaded.";
    for (std::size_t i = 0; i < problems.size() && i < kSvdProblemsShown; ++i) {
        message += "\nline " + std::to_string(problems[i].line) + ": " + problems[i].Describe();
    }
    if (count > kSvdProblemsShown) message += "\n... and " + std::to_string(count - kSvdProblemsShown) + " more.";
    return message;
}
