// SPDX-License-Identifier: MIT
#pragma once
// The property tree: owns its rows, keeps the focused row and tells its
// parent window about what the user does, as WM_NOTIFY messages.
#include <new>
#include <type_traits>

#include "framework/Wnd.h"
#include "tree/PropTreeItem.h"
#include "tree/RowArena.h"
#include "tree/TextPool.h"

class CPropTreeDescriber;
class CPropTreeListener;

// The record sent with the tree's notifications.
struct TreeNotification {
    NMHDR hdr;
    CPropTreeItem* pRow = nullptr;
};

constexpr UINT PTN_ITEMCHANGED = static_cast<UINT>(-1105);  // the user changed a row's value
constexpr UINT PTN_SELCHANGE = static_cast<UINT>(-1107);    // the selected row changed

class CPropTree : public CWnd {
public:
    CPropTree();
    ~CPropTree() override;

    // Records the parent and id the notifications go to. The tree is shown
    // by a CPropTreeWindow made over it (tree/PropTreeView.h).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds `item` as the last child of `parent` (null: the top level) and
    // takes ownership of it.
    CPropTreeItem* InsertItem(CPropTreeItem* item, CPropTreeItem* parent = nullptr);
    // Makes a new row of type T and adds it as InsertItem does. The row lives
    // in the tree's own storage, made in one pass with the others and freed
    // with all of them, which is how loaders build their rows; under a parent
    // of another tree (or of none) it is made with new instead.
    template <class T>
    T* NewItem(CPropTreeItem* parent = nullptr);
    // Gives `to`, a row of this tree without children, a new child like
    // each child of `from`, a row of this tree: of the same kind and showing
    // the same, as NewItem and CopyShownFrom would make them one by one, but
    // made at once (one children array, no lookups of the tree for each
    // row), as loaders do for the many registers of a file that are alike.
    // False, with nothing made, when the view is told of each row as it comes
    // (a listener outside BeginReset/EndReset), or a child is of a kind not
    // made so (CPropTreeItem::NewEmptyInArena).
    bool CopyChildren(CPropTreeItem& to, const CPropTreeItem& from);
    CPropTreeItem* GetRootItem() { return &m_root; }
    const CPropTreeItem* GetRootItem() const { return &m_root; }
    CPropTreeItem* GetFocusedItem() const { return m_pFocus; }
    // Sets the focused row without notifying anyone.
    void SetFocusedItem(CPropTreeItem* item);
    void RefreshItems(CPropTreeItem* item = nullptr);

    // What the user does, as the view reports it: these raise notifications.
    void UserSelectItem(CPropTreeItem* item);
    void UserCommitValue(CPropTreeItem* item, LPARAM value);

    // Exchanges all rows (and their texts) with `other`, as one change of the
    // view: opening a file builds its rows in a tree of its own and swaps them
    // in only when the file could be opened. Neither tree has a focused row after.
    void SwapRows(CPropTree& other);

    // Brackets a bulk change such as a load: the view is told once, at the
    // end, instead of once per row. Calls nest.
    void BeginReset();
    void EndReset();

    // Brackets many rows changing their values at once (values given to
    // every register): the view is told once, at the end, to show them
    // afresh, instead of once per row; what it shows (expanded rows, the
    // focus) stays. Calls nest.
    void BeginUpdate();
    void EndUpdate();

    // Who tells the view a row's bits and access; none by default.
    void SetDescriber(const CPropTreeDescriber* describer) { m_pDescriber = describer; }
    const CPropTreeDescriber* GetDescriber() const { return m_pDescriber; }

    void SetListener(CPropTreeListener* listener) { m_pListener = listener; }
    CPropTreeListener* GetListener() const { return m_pListener; }

private:
    friend class CPropTreeItem;
    friend class CPropTreeItemCombo;  // stores its entry labels in m_texts
    void ItemChanged(CPropTreeItem* item);
    void Insert(CPropTreeItem* item, CPropTreeItem* parent, CRowArena* arena);
    LRESULT SendNotify(UINT code, CPropTreeItem* item);

    // The invisible parent of the top-level rows; rows find their tree
    // through it instead of each keeping a pointer to the tree.
    struct CRootItem : CPropTreeItem {
        CPropTree* m_pTree = nullptr;
    };

    // The arena of `parent`'s tree (this tree for null), or null when
    // `parent` is in no tree.
    CRowArena* ArenaFor(CPropTreeItem* parent);

    CTextPool m_texts;   // the texts of all rows; declared first so it outlives them
    CRowArena m_arena;   // rows made by NewItem and short arrays; outlives the rows too
    CRootItem m_root;
    CPropTreeItem* m_pFocus = nullptr;
    CPropTreeListener* m_pListener = nullptr;
    const CPropTreeDescriber* m_pDescriber = nullptr;
    int m_nResetDepth = 0;
    int m_nUpdateDepth = 0;
    bool m_bChangedInUpdate = false;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nID = 0;
};

template <class T>
T* CPropTree::NewItem(CPropTreeItem* parent) {
    static_assert(std::is_base_of_v<CPropTreeItem, T>, "rows derive from CPropTreeItem");
    static_assert(alignof(T) <= CRowArena::kAlignment, "the arena's places are 8-byte aligned");
    if (!parent) parent = &m_root;
    CRowArena* arena = ArenaFor(parent);
    if (arena != &m_arena) return static_cast<T*>(InsertItem(new T, parent));
    T* row = new (m_arena.Allocate(sizeof(T))) T;
    CPropTreeItem* item = row;
    item->m_bArenaRow = 1;
    try {
        Insert(item, parent, arena);
    } catch (...) {
        row->~T();  // its place stays in the arena until the tree goes
        throw;
    }
    return row;
}
