// SPDX-License-Identifier: MIT
#include "defs/LoadReport.h"

std::optional<std::string> LoadReport::Message() const {
    if (problems.Empty()) return std::nullopt;
    if (format == RegisterFileFormat::Definitions) return problems.Front().detail;
    if (!opened) return problems.Front().Format(displayName);
    const std::size_t count = ProblemCount();
    std::string message = displayName + ": " + std::to_string(count) + (count == 1 ? " problem" : " problems") +
                          "; everything else was loaded.";
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < problems.Kept().size() && i < kSvdProblemsShown; ++i)
        lines.push_back(problems.Kept()[i].AtLine());
    for (const std::string& line : FirstLinesAndMore(lines, kSvdProblemsShown, count - lines.size()))
        message += "\n" + line;
    return message;
}
