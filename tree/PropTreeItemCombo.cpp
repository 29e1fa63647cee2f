// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemCombo.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "tree/PropTree.h"
#include "tree/RowArena.h"

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

// Entries are moved with memcpy and arrays from the arena are never destroyed.
static_assert(std::is_trivially_copyable_v<CPropTreeItemCombo::Entry> &&
              std::is_trivially_destructible_v<CPropTreeItemCombo::Entry>);

CPropTreeItemCombo::~CPropTreeItemCombo() {
    if (m_bOwnsLabels) {
        for (const Entry& entry : GetAllEntries()) delete[] entry.label.get();
    }
    if (!m_bArenaEntries) {
        delete[] m_pEntries;
        delete[] m_ppEntryInfo;
    }
}

const char** CPropTreeItemCombo::NewInfoArray(size_t capacity, CPropTree* tree) const {
    if (m_bArenaEntries && tree)
        return static_cast<const char**>(tree->m_arena.AllocateArray(capacity * sizeof(const char*)));
    return new const char*[capacity];
}

void CPropTreeItemCombo::Reserve(size_t capacity) {
    if (capacity <= m_nCapacity) return;
    if (capacity > 0xFFFFFFFFu) throw std::length_error("too many entries in one list");
    CPropTree* tree = GetPropTree();
    const size_t bytes = capacity * sizeof(Entry);
    const size_t infoBytes = capacity * sizeof(const char*);
    const bool fromArena = tree && bytes <= CRowArena::kMaxArrayBytes;
    // Both arrays are had before either is given up, so a failure changes nothing.
    std::unique_ptr<Entry[]> heapEntries;
    std::unique_ptr<const char*[]> heapInfo;
    Entry* grown = nullptr;
    const char** grownInfo = nullptr;
    if (fromArena) {
        grown = static_cast<Entry*>(tree->m_arena.AllocateArray(bytes));
        if (m_ppEntryInfo) grownInfo = static_cast<const char**>(tree->m_arena.AllocateArray(infoBytes));
    } else {
        heapEntries.reset(new Entry[capacity]);
        if (m_ppEntryInfo) heapInfo.reset(new const char*[capacity]);
        grown = heapEntries.release();
        grownInfo = heapInfo.release();
    }
    if (m_nEntries) std::memcpy(static_cast<void*>(grown), m_pEntries, m_nEntries * sizeof(Entry));
    if (m_ppEntryInfo && m_nEntries) std::memcpy(grownInfo, m_ppEntryInfo, m_nEntries * sizeof(const char*));
    if (!m_bArenaEntries) {
        delete[] m_pEntries;
        delete[] m_ppEntryInfo;
    } else if (tree) {
        tree->m_arena.ReleaseArray(m_pEntries, m_nCapacity * sizeof(Entry));
        if (m_ppEntryInfo) tree->m_arena.ReleaseArray(m_ppEntryInfo, m_nCapacity * sizeof(const char*));
    }
    m_pEntries = grown;
    m_ppEntryInfo = grownInfo;
    m_nCapacity = static_cast<unsigned>(capacity);
    m_bArenaEntries = fromArena;
}

BOOL CPropTreeItemCombo::CreateComboBox(DWORD style) {
    m_bCreated = true;
    m_bSorted = (style & CBS_SORT) != 0;
    return TRUE;
}

std::span<const CPropTreeItemCombo::Entry> CPropTreeItemCombo::GetNamingEntries() const {
    const unsigned end = m_nEntries - (m_bDefaultEntry ? 1u : 0u);
    return {m_pEntries + m_nReadFirst, end - m_nReadFirst};
}

void CPropTreeItemCombo::SetReadNamesFrom(size_t first) {
    // Beyond what the packed index holds, the read names are offered with the rest.
    if (first == 0 || first >= m_nEntries || first >= (1u << 27)) return;
    m_nReadFirst = static_cast<unsigned>(first);
}

std::string CPropTreeItemCombo::GetAttributeText() const {
    if (m_nReadFirst == 0 && m_nCurSel >= 0) return std::string(m_pEntries[m_nCurSel].label.c_str());
    if (m_nReadFirst != 0) {
        for (const Entry& entry : GetNamingEntries())
            if (entry.data == m_value) return std::string(entry.label.c_str());
    }
    if (m_bDefaultEntry) return std::string(m_pEntries[m_nEntries - 1].label.c_str());
    return std::to_string(m_value);
}

void CPropTreeItemCombo::SetItemValue(LPARAM value) {
    TakeValue(value);
    NotifyChanged();
}

void CPropTreeItemCombo::TakeValue(LPARAM value) {
    m_value = value;
    const auto entries = GetEntries();
    const auto it = std::find_if(entries.begin(), entries.end(), [value](const Entry& e) { return e.data == value; });
    m_nCurSel = it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

CPropTreeItem* CPropTreeItemCombo::NewEmptyInArena(CRowArena& arena) const {
    return typeid(*this) == typeid(CPropTreeItemCombo) ? MakeInArena<CPropTreeItemCombo>(arena) : nullptr;
}

void CPropTreeItemCombo::CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) {
    const auto& same = static_cast<const CPropTreeItemCombo&>(from);
    CPropTreeItem::CopyShownWithin(from, tree);
    if (same.m_bCreated) CopyEntriesFrom(same);
    m_nReadFirst = same.m_nReadFirst;
    m_bDefaultEntry = same.m_bDefaultEntry;
    TakeValue(same.m_value);
}

void CPropTreeItemCombo::SetEntryInfo(size_t index, const char* text) {
    if (index >= m_nEntries || !text || !*text) return;
    CPropTree* tree = GetPropTree();
    // A row in no tree has no pool to keep the text in; its entries have no descriptions.
    if (!tree) return;
    if (!m_ppEntryInfo) {
        m_ppEntryInfo = NewInfoArray(m_nCapacity, tree);
        std::fill_n(m_ppEntryInfo, m_nCapacity, nullptr);
    }
    m_ppEntryInfo[index] = tree->m_texts.Add(text, std::strlen(text));
}

void CPropTreeItemCombo::CopyShownFrom(const CPropTreeItem& from) {
    const auto& same = dynamic_cast<const CPropTreeItemCombo&>(from);
    CPropTreeItem::CopyShownFrom(from);
    if (same.m_bCreated && m_nEntries == 0) {
        CopyEntriesFrom(same);
        m_nReadFirst = same.m_nReadFirst;
        m_bDefaultEntry = same.m_bDefaultEntry;
    }
    SetItemValue(same.m_value);
}

void CPropTreeItemCombo::CopyEntriesFrom(const CPropTreeItemCombo& same) {
    CreateComboBox(same.m_bSorted ? CBS_SORT : 0);
    CPropTree* tree = GetPropTree();
    if (same.m_bOwnsLabels || !tree || tree != same.GetPropTree()) {
        // Labels of another tree, or of none, are copied one by one.
        for (unsigned i = 0; i < same.m_nEntries; ++i) {
            const LRESULT index = AddString(same.m_pEntries[i].label.c_str());
            SetItemData(static_cast<WPARAM>(index), same.m_pEntries[i].data);
            SetEntryInfo(static_cast<size_t>(index), same.GetEntryInfo(i));
        }
    } else {
        // Pooled labels and descriptions are shared; the entry array is this row's own.
        Reserve(same.m_nEntries);
        if (same.m_nEntries) std::memcpy(static_cast<void*>(m_pEntries), same.m_pEntries, same.m_nEntries * sizeof(Entry));
        m_nEntries = same.m_nEntries;
        if (same.m_ppEntryInfo && m_nEntries) {
            m_ppEntryInfo = NewInfoArray(m_nCapacity, tree);
            std::memcpy(m_ppEntryInfo, same.m_ppEntryInfo, m_nEntries * sizeof(const char*));
        }
    }
}

const char* CPropTreeItemCombo::GetEntryInfo(size_t index) const {
    if (!m_ppEntryInfo || index >= m_nEntries || !m_ppEntryInfo[index]) return "";
    return m_ppEntryInfo[index];
}

LRESULT CPropTreeItemCombo::AddString(const char* label) {
    if (!m_bCreated) return CB_ERR;
    if (!label) label = "";
    const size_t length = std::strlen(label);
    CPropTree* tree = GetPropTree();
    if (m_nEntries == 0 && !tree) m_bOwnsLabels = true;
    const char* stored = nullptr;
    if (m_bOwnsLabels) {
        char* copy = new char[length + 1];
        std::memcpy(copy, label, length + 1);
        stored = copy;
    } else {
        stored = tree->m_texts.Add(label, length);
    }
    const Entry* end = m_pEntries + m_nEntries;
    const Entry* pos = end;
    if (m_bSorted) {
        // Equal labels go after the ones already there, so entries keep file order.
        pos = std::upper_bound(static_cast<const Entry*>(m_pEntries), end, stored,
                               [](const char* text, const Entry& e) { return LabelLess(text, e.label.c_str()); });
    }
    const auto index = pos - m_pEntries;
    // Lists are short and many: grow by half rather than doubling.
    if (m_nEntries == m_nCapacity) Reserve(size_t{m_nCapacity} + m_nCapacity / 2 + 1);
    Entry* at = m_pEntries + index;
    std::memmove(static_cast<void*>(at + 1), at, (m_nEntries - static_cast<size_t>(index)) * sizeof(Entry));
    *at = Entry{CEntryLabel(stored), 0};
    ++m_nEntries;
    if (m_ppEntryInfo) {
        const char** info = m_ppEntryInfo + index;
        std::memmove(info + 1, info, (m_nEntries - 1 - static_cast<size_t>(index)) * sizeof *info);
        *info = nullptr;
    }
    if (m_nCurSel >= index) ++m_nCurSel;
    return index;
}

LRESULT CPropTreeItemCombo::SetItemData(WPARAM index, LPARAM data) {
    if (!m_bCreated || index >= m_nEntries) return CB_ERR;
    m_pEntries[index].data = data;
    return 0;
}

LRESULT CPropTreeItemCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_bCreated) return CB_ERR;
    const auto count = static_cast<WPARAM>(m_nEntries);
    switch (message) {
    case CB_ADDSTRING:
        return AddString(reinterpret_cast<const char*>(lParam));
    case CB_INITSTORAGE:
        Reserve(size_t{m_nEntries} + wParam);
        return static_cast<LRESULT>(m_nCapacity);
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
        return wParam < count ? m_pEntries[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
        return SetItemData(wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
