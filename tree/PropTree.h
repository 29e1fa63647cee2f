#pragma once
// The property tree: owns its rows, keeps the focused row and tells its
// parent window about what the user does, as WM_NOTIFY messages.
#include "framework/Wnd.h"
#include "tree/PropTreeItem.h"
#include "tree/TextPool.h"

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

    // Records the parent and id; the on-screen view is attached by the
    // windowing layer when one is installed (see SetViewFactory).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Adds `item` as the last child of `parent` (null: the top level) and
    // takes ownership of it.
    CPropTreeItem* InsertItem(CPropTreeItem* item, CPropTreeItem* parent = nullptr);
    CPropTreeItem* GetRootItem() { return &m_root; }
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

    void SetListener(CPropTreeListener* listener) { m_pListener = listener; }
    CPropTreeListener* GetListener() const { return m_pListener; }

    // Builds the on-screen view of a tree created under a window; installed by
    // the windowing layer, absent when there is no display.
    using ViewFactory = void (*)(CPropTree& tree, const RECT& rect, CWnd* parent);
    static void SetViewFactory(ViewFactory factory);

private:
    friend class CPropTreeItem;
    friend class CPropTreeItemCombo;  // stores its entry labels in m_texts
    void ItemChanged(CPropTreeItem* item);
    LRESULT SendNotify(UINT code, CPropTreeItem* item);

    // The invisible parent of the top-level rows; rows find their tree
    // through it instead of each keeping a pointer to the tree.
    struct CRootItem : CPropTreeItem {
        CPropTree* m_pTree = nullptr;
    };

    CTextPool m_texts;  // the texts of all rows; declared first so it outlives them
    CRootItem m_root;
    CPropTreeItem* m_pFocus = nullptr;
    CPropTreeListener* m_pListener = nullptr;
    int m_nResetDepth = 0;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nID = 0;
};
