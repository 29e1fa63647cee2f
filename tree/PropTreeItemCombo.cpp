#include "tree/PropTreeItemCombo.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {
// The list's alphabetical order: bytes compared without regard to ASCII case.
bool LabelLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}
}  // namespace

BOOL CPropTreeItemCombo::CreateComboBox(DWORD style) {
    m_bCreated = true;
    m_bSorted = (style & CBS_SORT) != 0;
    return TRUE;
}

std::string CPropTreeItemCombo::GetAttributeText() const {
    if (m_nCurSel >= 0) return m_entries[static_cast<size_t>(m_nCurSel)].label;
    return std::to_string(m_value);
}

void CPropTreeItemCombo::SetItemValue(LPARAM value) {
    m_value = value;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [value](const Entry& e) { return e.data == value; });
    m_nCurSel = it == m_entries.end() ? -1 : static_cast<int>(it - m_entries.begin());
    NotifyChanged();
}

LRESULT CPropTreeItemCombo::AddString(const char* label) {
    Entry entry{label ? label : "", 0};
    auto pos = m_entries.end();
    if (m_bSorted) {
        // Equal labels go after the ones already there, so entries keep file order.
        pos = std::upper_bound(m_entries.begin(), m_entries.end(), entry,
                               [](const Entry& a, const Entry& b) { return LabelLess(a.label, b.label); });
    }
    const auto index = pos - m_entries.begin();
    m_entries.insert(pos, std::move(entry));
    if (m_nCurSel >= index) ++m_nCurSel;
    return index;
}

LRESULT CPropTreeItemCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_bCreated) return CB_ERR;
    const auto count = static_cast<WPARAM>(m_entries.size());
    switch (message) {
    case CB_ADDSTRING:
        return AddString(reinterpret_cast<const char*>(lParam));
    case CB_GETCOUNT:
        return static_cast<LRESULT>(count);
    case CB_GETCURSEL:
        return m_nCurSel;
    case CB_SETCURSEL:
        if (wParam >= count) {
            m_nCurSel = -1;
            return CB_ERR;
        }
        m_nCurSel = static_cast<int>(wParam);
        return m_nCurSel;
    case CB_GETITEMDATA:
        return wParam < count ? m_entries[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
        if (wParam >= count) return CB_ERR;
        m_entries[wParam].data = lParam;
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
