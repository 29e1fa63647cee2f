#include "tree/PropTreeItemCombo.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "tree/PropTree.h"

namespace {

unsigned char AsciiLower(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

// The list's alphabetical order: bytes compared without regard to ASCII case.
bool LabelLess(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const unsigned char x = AsciiLower(*a);
        const unsigned char y = AsciiLower(*b);
        if (x != y || x == 0) return x < y;
    }
}

}  // namespace

CPropTreeItemCombo::~CPropTreeItemCombo() {
    if (m_bOwnsLabels) {
        for (const Entry& entry : m_entries) delete[] entry.label.get();
    }
}

BOOL CPropTreeItemCombo::CreateComboBox(DWORD style) {
    m_bCreated = true;
    m_bSorted = (style & CBS_SORT) != 0;
    return TRUE;
}

std::string CPropTreeItemCombo::GetAttributeText() const {
    if (m_nCurSel >= 0) return std::string(m_entries[static_cast<size_t>(m_nCurSel)].label.c_str());
    return std::to_string(m_value);
}

void CPropTreeItemCombo::SetItemValue(LPARAM value) {
    m_value = value;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [value](const Entry& e) { return e.data == value; });
    m_nCurSel = it == m_entries.end() ? -1 : static_cast<int>(it - m_entries.begin());
    NotifyChanged();
}

void CPropTreeItemCombo::SetEntryInfo(size_t index, const char* text) {
    if (index >= m_entries.size() || !text || !*text) return;
    if (!m_pEntryInfo) m_pEntryInfo = std::make_unique<std::vector<const char*>>();
    if (m_pEntryInfo->size() <= index) m_pEntryInfo->resize(m_entries.size(), nullptr);
    CPropTree* tree = GetPropTree();
    // A row in no tree has no pool to keep the text in; its entries have no descriptions.
    if (!tree) return;
    (*m_pEntryInfo)[index] = tree->m_texts.Add(text, std::strlen(text));
}

const char* CPropTreeItemCombo::GetEntryInfo(size_t index) const {
    if (!m_pEntryInfo || index >= m_pEntryInfo->size() || !(*m_pEntryInfo)[index]) return "";
    return (*m_pEntryInfo)[index];
}

LRESULT CPropTreeItemCombo::AddString(const char* label) {
    if (!label) label = "";
    const size_t length = std::strlen(label);
    CPropTree* tree = GetPropTree();
    if (m_entries.empty() && !tree) m_bOwnsLabels = true;
    const char* stored = nullptr;
    if (m_bOwnsLabels) {
        char* copy = new char[length + 1];
        std::memcpy(copy, label, length + 1);
        stored = copy;
    } else {
        stored = tree->m_texts.Add(label, length);
    }
    auto pos = m_entries.end();
    if (m_bSorted) {
        // Equal labels go after the ones already there, so entries keep file order.
        pos = std::upper_bound(m_entries.begin(), m_entries.end(), stored,
                               [](const char* text, const Entry& e) { return LabelLess(text, e.label.c_str()); });
    }
    const auto index = pos - m_entries.begin();
    // Lists are short and many: grow by half rather than doubling.
    if (m_entries.size() == m_entries.capacity()) {
        m_entries.reserve(m_entries.capacity() + m_entries.capacity() / 2 + 1);
        pos = m_entries.begin() + index;
    }
    m_entries.insert(pos, Entry{CEntryLabel(stored), 0});
    if (m_pEntryInfo && m_pEntryInfo->size() > static_cast<size_t>(index))
        m_pEntryInfo->insert(m_pEntryInfo->begin() + index, nullptr);
    if (m_nCurSel >= index) ++m_nCurSel;
    return index;
}

LRESULT CPropTreeItemCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_bCreated) return CB_ERR;
    const auto count = static_cast<WPARAM>(m_entries.size());
    switch (message) {
    case CB_ADDSTRING:
        return AddString(reinterpret_cast<const char*>(lParam));
    case CB_INITSTORAGE:
        m_entries.reserve(m_entries.size() + wParam);
        return static_cast<LRESULT>(m_entries.capacity());
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
