// SPDX-License-Identifier: MIT
#pragma once
// The framework's narrow text type.
#include <string>
#include <utility>

#include "framework/AfxTypes.h"

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}  // NOLINT: converts like the text it holds
    CString(std::string text) : m_text(std::move(text)) {}   // NOLINT

    operator LPCTSTR() const { return m_text.c_str(); }  // NOLINT
    bool IsEmpty() const { return m_text.empty(); }
    const std::string& str() const { return m_text; }

    // Loads string resource `id`; false (and empty) when there is none.
    BOOL LoadString(UINT id);

private:
    std::string m_text;
};
