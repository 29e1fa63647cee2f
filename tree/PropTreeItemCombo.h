// SPDX-License-Identifier: MIT
#pragma once
// A drop-down row: a list of labelled entries, each carrying a number; the
// row's value is the number of the chosen entry. The row is also the list's
// window, so the list answers the combo-box messages sent to the row.
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

    // Shows the label of the entry carrying the value, or the value as a
    // number when no entry carries it.
    std::string GetAttributeText() const override;
    LPARAM GetItemValue() const override { return m_value; }
    // Selects the first entry carrying `value`; a value no entry carries is
    // kept as it is, so no bits are lost.
    void SetItemValue(LPARAM value) override;
    PropRowKind GetKind() const override { return PropRowKind::Combo; }
    // Also the entries, their descriptions and the chosen value.
    void CopyShownFrom(const CPropTreeItem& from) override;

    std::span<const Entry> GetEntries() const { return {m_pEntries, m_nEntries}; }

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
    bool m_bCreated = false;
    bool m_bSorted = false;
    // Labels are the row's own heap blocks when the first was added while the
    // row was in no tree; otherwise they live in the tree's text pool.
    bool m_bOwnsLabels = false;
    bool m_bArenaEntries = false;  // m_pEntries is from the tree's arena, not the heap
};
