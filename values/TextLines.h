// SPDX-License-Identifier: MIT
#pragma once
// Splits a values text into its lines and tells which are not text at all (a
// NUL byte, bytes that are not UTF-8, a line longer than any values line), so
// that a binary file gives one problem a line and never reaches the grammar.
#include <cstddef>
#include <string_view>

// Lines longer than this are no values line: the longest a debugger writes
// is well under 200 bytes.
constexpr std::size_t kValuesMaxLineBytes = 4096;

struct TextLine {
    std::string_view text;         // without the line feed and a trailing carriage return
    std::size_t number = 0;        // 1-based
    const char* notText = nullptr;  // why the line is not text, or null
};

class TextLines {
public:
    // A UTF-8 byte order mark at the start is passed over.
    explicit TextLines(std::string_view text);

    // The next line, or false at the end. A text ending in a line feed has no
    // empty line after it.
    bool Next(TextLine& line);

private:
    std::string_view m_rest;
    std::size_t m_number = 0;
    bool m_done = false;
};

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsUtf8(std::string_view bytes);
