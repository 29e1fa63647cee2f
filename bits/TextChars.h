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

// Whether number text is hexadecimal by the one rule: "0" and a lower-case "x".
inline bool HasHexPrefix(std::string_view text) { return text.size() >= 2 && text[0] == '0' && text[1] == 'x'; }
