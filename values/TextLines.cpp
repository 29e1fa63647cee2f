// SPDX-License-Identifier: MIT
#include "values/TextLines.h"

#include <cstring>

TextLines::TextLines(std::string_view text) : m_rest(text) {
    if (m_rest.substr(0, 3) == "\xEF\xBB\xBF") m_rest.remove_prefix(3);
}

bool TextLines::Next(TextLine& line) {
    if (m_done || m_rest.empty()) return false;
    const void* feed = std::memchr(m_rest.data(), '\n', m_rest.size());
    std::string_view text = m_rest;
    if (feed) {
        const auto length = static_cast<std::size_t>(static_cast<const char*>(feed) - m_rest.data());
        text = m_rest.substr(0, length);
        m_rest.remove_prefix(length + 1);
    } else {
        m_done = true;
    }
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    line.text = text;
    line.number = ++m_number;
    line.notText = nullptr;
    if (text.size() > kValuesMaxLineBytes) {
        line.notText = "line longer than 4096 bytes: not a values text";
    } else if (std::memchr(text.data(), '\0', text.size())) {
        line.notText = "NUL byte: not a values text";
    } else if (!IsUtf8(text)) {
        line.notText = "bytes that are not UTF-8: not a values text";
    }
    return true;
}

bool IsUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trailing = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the first trailing byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trailing = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trailing = 2;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trailing = 3;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= trailing) return false;
        if (p[1] < low || p[1] > high) return false;
        for (int i = 2; i <= trailing; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
        }
        p += trailing + 1;
    }
    return true;
}
