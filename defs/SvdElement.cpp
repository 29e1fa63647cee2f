// SPDX-License-Identifier: MIT
#include "defs/SvdElement.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "defs/SvdNumbers.h"

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
    size_t at = 0;
#if defined(__SSE2__)
    // 16 bytes at a time while the byte after them is in the text too: a
    // tab, line feed, vertical tab, form feed or carriage return (9 to 13),
    // or a space followed by a space, makes more than one line. Descriptions
    // are the longest texts of a file, and nearly every element has one.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i four = _mm_set1_epi8(4);
    for (; at + 17 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + 1));
        const __m128i twoSpaces = _mm_and_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(next, space));
        const __m128i fromTab = _mm_sub_epi8(bytes, tab);  // 0..4 for 9..13, as unsigned bytes
        const __m128i lineBreak = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, four), fromTab);
        if (_mm_movemask_epi8(_mm_or_si128(twoSpaces, lineBreak))) return false;
    }
#endif
    // The ends are no space, so a space is never last.
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c > ' ') continue;
        if (c != ' ' ? IsAsciiSpace(c) : text[at + 1] == ' ') return false;
    }
    return true;
}

std::string SvdOneLine(std::string_view text) {
    std::string line(text.size(), '\0');
    line.resize(SvdOneLineInto(text, line.data()));
    return line;
}

size_t SvdOneLineInto(std::string_view text, char* out) {
    size_t length = 0;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsAsciiSpace(text[at])) ++at;
        const size_t word = at;
        while (at < text.size() && !IsAsciiSpace(text[at])) ++at;
        if (word == at) break;
        if (length) out[length++] = ' ';
        text.copy(out + length, at - word, word);
        length += at - word;
    }
    return length;
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

pugi::xml_parse_result ParseSvdDocument(pugi::xml_document& document, std::string_view bytes) {
    return document.load_buffer(bytes.data(), bytes.size(),
                                pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata, pugi::encoding_utf8);
}
