// SPDX-License-Identifier: MIT
#pragma once
// What the SVD reader's parts share: an element's place by names for
// problems, its text, descriptions made one line, and line numbers.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

// Where an element stands, for problems: its name below its parent's.
// Built on the stack as the walk goes down, and made text only for a problem.
struct SvdPath {
    const SvdPath* parent = nullptr;
    std::string_view name;

    // The names from the top down, joined by '.'.
    std::string Text() const;
};

// Whether `name` is `wanted`; inline, since names are compared for every
// element of the file.
inline bool SvdNameIs(const char* name, const char* wanted) {
    while (*wanted && *name == *wanted) ++name, ++wanted;
    return *name == *wanted;
}

// The text of an element without white space at either end ("" for none).
std::string_view SvdText(pugi::xml_node element);

// Whether `text`, trimmed, is one line already: no tabs or line breaks and no
// runs of spaces. Most descriptions are, and are used as they stand.
bool SvdIsOneLine(std::string_view text);
// `text` as one line: runs of white space (vendor files wrap their
// descriptions over several indented lines) become one space, none at the ends.
std::string SvdOneLine(std::string_view text);
// The same written to `out`, which has room for text.size() characters;
// returns how many it wrote.
size_t SvdOneLineInto(std::string_view text, char* out);

// Parses an SVD file's bytes as every SVD reader here does (CDATA, escapes,
// text kept in elements that hold others); the bytes must outlive the document.
pugi::xml_parse_result ParseSvdDocument(pugi::xml_document& document, std::string_view bytes);

// Line numbers of byte offsets in the parsed text.
class SvdLines {
public:
    explicit SvdLines(std::string_view text);
    // The 1-based line of byte `offset`.
    int LineOf(std::ptrdiff_t offset) const;
    // The 1-based column of byte `offset` within its line.
    int ColumnOf(std::ptrdiff_t offset) const;

private:
    // Lines are counted only when a problem asks for one.
    void Index() const;

    std::string_view m_text;
    mutable std::vector<std::ptrdiff_t> m_lineStarts;
};
