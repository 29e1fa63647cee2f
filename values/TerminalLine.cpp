// SPDX-License-Identifier: MIT
#include "values/TerminalLine.h"

#include <array>

#include "bits/TextChars.h"
#include "values/HexWord.h"

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsCommandChar(char c) { return IsLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-'; }

// `text` without its leading blanks.
std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    return text;
}

// The first word of `line` (up to a blank), and what follows it without leading blanks.
struct Split {
    std::string_view word;
    std::string_view rest;
};

Split FirstWord(std::string_view line) {
    std::size_t end = 0;
    while (end < line.size() && !IsAsciiSpace(line[end])) ++end;
    return {line.substr(0, end), SkipBlanks(line.substr(end))};
}

// What follows a values line's address or name, when it is no command's argument.
bool FollowsValuesHead(std::string_view rest) {
    return !rest.empty() && (rest.front() == ':' || rest.front() == '=' || rest.front() == '<');
}

// GDB's x: "x/FMT ...", a lone "x", or "x" and an address expression.
bool IsGdbExamine(const Split& split) {
    if (split.word.starts_with("x/")) return true;
    if (split.word != "x") return false;
    if (split.rest.empty()) return true;
    const char first = split.rest.front();
    return HasHexPrefix(split.rest, HexPrefixCase::kEither) || first == '&' || first == '$' || first == '*';
}

// A command of the list, echoed alone, with its arguments or none.
bool IsDumpCommand(const Split& split) {
    static constexpr std::array<std::string_view, 6> kCommands = {"mdw", "mdh", "mdb", "mdd", "dump", "monitor"};
    for (const std::string_view command : kCommands) {
        if (split.word == command) return !FollowsValuesHead(split.rest);
    }
    return false;
}

// What may follow OpenOCD's '>': nothing, or a command word that is no hex
// number (a line quoted with '>' keeps being a problem) and not a name given a value.
bool IsOpenOcdCommand(std::string_view afterPrompt) {
    if (afterPrompt.empty()) return true;
    const Split split = FirstWord(afterPrompt);
    std::size_t end = 0;
    while (end < split.word.size() && IsCommandChar(split.word[end])) ++end;
    const std::string_view command = split.word.substr(0, end);
    if (command.empty() || !IsLetter(command.front())) return false;
    if (end < split.word.size() || FollowsValuesHead(split.rest)) return false;  // "RCC:", "X=1", "X = 1"
    return !ReadHexWord(command);
}

}  // namespace

bool IsTerminalLine(std::string_view line) {
    constexpr std::string_view kGdbPrompt = "(gdb)";
    if (line.starts_with(kGdbPrompt)) return line.size() == kGdbPrompt.size() || IsAsciiSpace(line[kGdbPrompt.size()]);
    if (line.starts_with('>')) return IsOpenOcdCommand(SkipBlanks(line.substr(1)));
    const Split split = FirstWord(line);
    return IsGdbExamine(split) || IsDumpCommand(split);
}
