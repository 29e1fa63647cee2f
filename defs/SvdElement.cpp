// SPDX-License-Identifier: MIT
#include "defs/SvdElement.h"

#include <algorithm>
#include <cstring>

#include "defs/SvdNumbers.h"

namespace {

bool Is(const char* name, const char* wanted) { return SvdNameIs(name, wanted); }

// Which child a name is, looked up by its first letter: this runs for every
// child of every element of the file.
SvdChild ChildOf(const char* name) {
    switch (name[0]) {
    case 'a':
        if (Is(name, "addressOffset")) return SvdChild::AddressOffset;
        if (Is(name, "access")) return SvdChild::Access;
        break;
    case 'b':
        if (Is(name, "bitOffset")) return SvdChild::BitOffset;
        if (Is(name, "bitWidth")) return SvdChild::BitWidth;
        if (Is(name, "bitRange")) return SvdChild::BitRange;
        if (Is(name, "baseAddress")) return SvdChild::BaseAddress;
        break;
    case 'd':
        if (Is(name, "description")) return SvdChild::Description;
        if (Is(name, "dim")) return SvdChild::Dim;
        if (Is(name, "dimIncrement")) return SvdChild::DimIncrement;
        if (Is(name, "dimIndex")) return SvdChild::DimIndex;
        break;
    case 'e':
        if (Is(name, "enumeratedValues")) return SvdChild::EnumeratedValues;
        break;
    case 'f':
        if (Is(name, "fields")) return SvdChild::Fields;
        break;
    case 'i':
        if (Is(name, "isDefault")) return SvdChild::IsDefault;
        break;
    case 'l':
        if (Is(name, "lsb")) return SvdChild::Lsb;
        break;
    case 'm':
        if (Is(name, "msb")) return SvdChild::Msb;
        if (Is(name, "modifiedWriteValues")) return SvdChild::ModifiedWriteValues;
        break;
    case 'n':
        if (Is(name, "name")) return SvdChild::Name;
        break;
    case 'r':
        if (Is(name, "resetValue")) return SvdChild::ResetValue;
        if (Is(name, "registers")) return SvdChild::Registers;
        if (Is(name, "readAction")) return SvdChild::ReadAction;
        break;
    case 's':
        if (Is(name, "size")) return SvdChild::Size;
        break;
    case 'u':
        if (Is(name, "usage")) return SvdChild::Usage;
        break;
    case 'v':
        if (Is(name, "value")) return SvdChild::Value;
        break;
    default:
        break;
    }
    return SvdChild::Count;
}

}  // namespace

SvdChildren::SvdChildren(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const SvdChild which = ChildOf(child.name());
        if (which == SvdChild::Count) continue;
        pugi::xml_node& slot = nodes[static_cast<size_t>(which)];
        if (!slot) slot = child;
    }
}

std::string SvdPath::Text() const {
    std::vector<std::string_view> names;
    for (const SvdPath* at = this; at; at = at->parent)
        if (!at->name.empty()) names.push_back(at->name);
    std::string text;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!text.empty()) text += '.';
        text += *it;
    }
    return text;
}

std::string_view SvdText(pugi::xml_node element) {
    if (!element) return {};
    return TrimSvdText(element.text().get());
}

bool SvdIsOneLine(std::string_view text) {
    if (text.empty()) return true;
    if (IsAsciiSpace(text.front()) || IsAsciiSpace(text.back())) return false;
    // The ends are no space, so a space is never last.
    for (size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c > ' ') continue;
        if (c != ' ' ? IsAsciiSpace(c) : text[at + 1] == ' ') return false;
    }
    return true;
}

std::string SvdOneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsAsciiSpace(text[at])) ++at;
        const size_t word = at;
        while (at < text.size() && !IsAsciiSpace(text[at])) ++at;
        if (word == at) break;
        if (!line.empty()) line += ' ';
        line.append(text.substr(word, at - word));
    }
    return line;
}

SvdLines::SvdLines(std::string_view text) : m_text(text) {}

void SvdLines::Index() const {
    m_lineStarts.push_back(0);
    const char* begin = m_text.data();
    const char* end = begin + m_text.size();
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))));)
        m_lineStarts.push_back(++p - begin);
}

int SvdLines::LineOf(std::ptrdiff_t offset) const {
    if (m_lineStarts.empty()) Index();
    const auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return static_cast<int>(it - m_lineStarts.begin());
}

int SvdLines::ColumnOf(std::ptrdiff_t offset) const {
    const int line = LineOf(offset);
    return static_cast<int>(offset - m_lineStarts[static_cast<size_t>(line - 1)]) + 1;
}
