// SPDX-License-Identifier: MIT
#pragma once
// The character classes every reader of number text and file text shares.
// Inline: they run for every character a loader reads.
#include <string_view>

// White space as the C locale has it: space, tab, line feed, vertical tab,
// form feed and carriage return.
inline bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The value of a hex digit of either case, or -1.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The one "0x" rule. Number text in rows and boxes is hexadecimal only after
// "0" and a lower-case "x"; dumps, values files, SVD numbers and names on the
// command line take either case, as C and the tools writing them do.
enum class HexPrefixCase { kLowerOnly, kEither };

inline bool HasHexPrefix(std::string_view text, HexPrefixCase accepted = HexPrefixCase::kLowerOnly) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || (accepted == HexPrefixCase::kEither && text[1] == 'X'));
}

// `text` without its "0x" (of either case), if it has one.
inline std::string_view WithoutHexPrefix(std::string_view text) {
    return HasHexPrefix(text, HexPrefixCase::kEither) ? text.substr(2) : text;
}
