// SPDX-License-Identifier: MIT
#pragma once
// The label of a drop-down entry. Lists are many and labels short, so an
// entry keeps only a pointer to its text, which the tree (or, for a row
// outside any tree, the row) stores. Reads like a read-only std::string.
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

class CEntryLabel {
public:
    CEntryLabel() = default;
    explicit CEntryLabel(const char* text) : m_pszText(text) {}

    const char* c_str() const { return m_pszText ? m_pszText : ""; }
    // The stored pointer itself, null for an empty label never set.
    const char* get() const { return m_pszText; }
    const char* data() const { return c_str(); }
    size_t size() const { return std::strlen(c_str()); }
    size_t length() const { return size(); }
    bool empty() const { return *c_str() == '\0'; }
    const char* begin() const { return c_str(); }
    const char* end() const { return c_str() + size(); }
    size_t find(char c, size_t pos = 0) const { return std::string_view(*this).find(c, pos); }

    operator std::string_view() const { return std::string_view(c_str()); }
    operator std::string() const { return std::string(c_str()); }

    friend bool operator==(const CEntryLabel& a, std::string_view b) { return std::string_view(a) == b; }
    friend std::ostream& operator<<(std::ostream& out, const CEntryLabel& label) { return out << label.c_str(); }

private:
    const char* m_pszText = nullptr;
};
