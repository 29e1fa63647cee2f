// SPDX-License-Identifier: MIT
#pragma once
// A drop-down row: a list of labelled entries, each carrying a number; the
// row's value is the number of the chosen entry. The row is also the list's
// window, so the list answers the combo-box messages sent to the row.
//
// A field whose file names its values twice, once for what a read gives and
// once for what a write does, keeps both sets in the one list: the offered
// entries first (the write names, which the drop-down offers to compose a
// value), then the read names, which name the value the row shows. Either
// naming set may end with a default entry, which names every value no other
// entry of its set names.
#include <span>
#include <string>

#include "framework/Wnd.h"
#include "tree/EntryLabel.h"
#include "tree/PropTreeItem.h"

class CPropTreeItemCombo : public CWnd, public CPropTreeItem {
public:
    struct Entry {
        CEntryLabel label;
        LPARAM data = 0;
    };

    CPropTreeItemCombo() = default;
    ~CPropTreeItemCombo() override;

    // Creates the list; until then the list answers every message with CB_ERR.
    // With CBS_SORT in `style` the list keeps its entries in label order.
    BOOL CreateComboBox(DWORD style);

    // Shows the label of the naming entry carrying the value, else the
    // default entry's label, else the value as a number.
    std::string GetAttributeText() const override;
    LPARAM GetItemValue() const override { return m_value; }
    // Selects the first entry carrying `value`; a value no entry carries is
    // kept as it is, so no bits are lost.
    void SetItemValue(LPARAM value) override;
    PropRowKind GetKind() const override { return PropRowKind::Combo; }
    // Also the entries, their descriptions and the chosen value.
    void CopyShownFrom(const CPropTreeItem& from) override;

    // The entries the drop-down offers: all of them, but for the read names
    // and a default entry of a row that has them.
    std::span<const Entry> GetEntries() const { return {m_pEntries, OfferedCount()}; }
    // Every entry, offered, read names and default alike (the find looks at all).
    std::span<const Entry> GetAllEntries() const { return {m_pEntries, m_nEntries}; }
    // The entries that name the row's value: the read names where there are
    // any, else the offered entries; without a default entry.
    std::span<const Entry> GetNamingEntries() const;
    // Whether the row names its value by read names of its own.
    bool HasReadNames() const { return m_nReadFirst != 0; }

    // The entries from `first` on are the read names (`first` > 0: some are
    // offered before them); call once every entry is in.
    void SetReadNamesFrom(size_t first);
    // The last entry names every value no other naming entry names; it is
    // not offered.
    void SetLastEntryDefault() { m_bDefaultEntry = m_nEntries > 0; }
    // The default entry's label, or null when the row has none.
    const char* GetDefaultLabel() const { return m_bDefaultEntry ? m_pEntries[m_nEntries - 1].label.c_str() : nullptr; }

    // What CB_ADDSTRING and CB_SETITEMDATA do, without the message: loaders
    // add millions of entries.
    LRESULT AddString(const char* label);
    LRESULT SetItemData(WPARAM index, LPARAM data);

    // A description of entry `index` (kept in the tree's text pool), shown
    // beside the entry; files that describe their named values set it.
    void SetEntryInfo(size_t index, const char* text);
    // The description of entry `index`, or "" when it has none.
    const char* GetEntryInfo(size_t index) const;
    int GetCurSel() const { return m_nCurSel; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CPropTreeItem* NewEmptyInArena(CRowArena& arena) const override;
    void CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) override;

private:
    // Makes room for `capacity` entries (and their descriptions). The arrays
    // come from the tree's arena while the row is in a tree, else from the heap.
    void Reserve(size_t capacity);
    // A descriptions array of `capacity` entries, from where the entries are.
    const char** NewInfoArray(size_t capacity, CPropTree* tree) const;
    // The entries of `same`, for CopyShownFrom; this list is empty.
    void CopyEntriesFrom(const CPropTreeItemCombo& same);
    // The value, and the first entry carrying it chosen; SetItemValue without the notice.
    void TakeValue(LPARAM value);

    // The entries: an array sized by its capacity, as lists are short and many.
    Entry* m_pEntries = nullptr;
    unsigned m_nEntries = 0;
    unsigned m_nCapacity = 0;
    // Entry descriptions by entry index, of as many as m_pEntries has room
    // for and from where it is; most lists have none, so the array exists
    // only once one is set.
    const char** m_ppEntryInfo = nullptr;
    LPARAM m_value = 0;
    int m_nCurSel = -1;
    // Where the read names begin; 0 when the row has none. Packed with the
    // flags so a row is no larger for it.
    unsigned m_nReadFirst : 27 = 0;
    unsigned m_bDefaultEntry : 1 = 0;  // the last entry is the naming set's default
    unsigned m_bCreated : 1 = 0;
    unsigned m_bSorted : 1 = 0;
    // Labels are the row's own heap blocks when the first was added while the
    // row was in no tree; otherwise they live in the tree's text pool.
    unsigned m_bOwnsLabels : 1 = 0;
    unsigned m_bArenaEntries : 1 = 0;  // m_pEntries is from the tree's arena, not the heap

    // How many entries the drop-down offers.
    unsigned OfferedCount() const {
        if (m_nReadFirst != 0) return m_nReadFirst;
        return m_nEntries - (m_bDefaultEntry ? 1u : 0u);
    }
};
