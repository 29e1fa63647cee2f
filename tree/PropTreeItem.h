// SPDX-License-Identifier: MIT
#pragma once
// A row of the property tree: label, info text, an item value and its place
// among its siblings. Rows are owned by the tree they are inserted into.
#include <new>
#include <string>

#include "framework/AfxTypes.h"
#include "tree/RowArena.h"

class CPropTree;
class CRowArena;

enum class PropRowKind { Plain, Static, Edit, Combo };

class CPropTreeItem {
public:
    CPropTreeItem() = default;
    CPropTreeItem(const CPropTreeItem&) = delete;
    CPropTreeItem& operator=(const CPropTreeItem&) = delete;
    virtual ~CPropTreeItem();

    // The text the value column shows for this row.
    virtual std::string GetAttributeText() const { return {}; }
    virtual LPARAM GetItemValue() const { return 0; }
    virtual void SetItemValue(LPARAM) {}
    virtual void OnRefresh() {}
    virtual void OnCommit() {}
    virtual void OnActivate() {}
    virtual PropRowKind GetKind() const { return PropRowKind::Plain; }

    // Texts are copied: callers may reuse their buffers at once.
    void SetLabelText(const char* text);
    void SetInfoText(const char* text);
    const char* GetLabelText() const { return m_pszLabel ? m_pszLabel : ""; }
    const char* GetInfoText() const { return m_pszInfo ? m_pszInfo : ""; }

    // Makes this row, new and of the same kind as `from`, show what `from`
    // shows: label, info and value (and a drop-down's entries). Texts `from`
    // keeps in the text pool of this row's tree are shared, not copied, as
    // pooled texts are never written again; loaders use this for the many
    // rows of a file that are alike (the instances of an array, say).
    virtual void CopyShownFrom(const CPropTreeItem& from);

    CPropTreeItem* GetParent() const { return m_pParent; }
    CPropTreeItem* GetChild() const { return m_nChildren ? m_ppChildren[0] : nullptr; }
    CPropTreeItem* GetSibling() const;

    // Commits the row's value after a program-side change; raises nothing.
    void CommitChanges();

    // Structure for the tree and its views.
    // The tree the row is inserted in, or null.
    CPropTree* GetPropTree() const;
    int GetChildCount() const { return static_cast<int>(m_nChildren); }
    CPropTreeItem* GetChildAt(int index) const { return m_ppChildren[index]; }
    int GetIndexInParent() const { return m_nIndex; }

protected:
    // Tells the tree's view that what this row shows has changed.
    void NotifyChanged();

    // For CPropTree::CopyChildren, which makes many rows alike at once:
    // a new empty row of this row's own kind, made in `arena`, or null when
    // the kind is not made so. Each kind of tree/ makes its own; a kind
    // derived from one of them gets null unless it makes its own too.
    virtual CPropTreeItem* NewEmptyInArena(CRowArena& arena) const;
    // Then this row, new, empty and inserted in `tree`, shows what `from`,
    // a row of `tree` of the same kind, shows: as CopyShownFrom does, without
    // looking the tree up again or telling it.
    virtual void CopyShownWithin(const CPropTreeItem& from, CPropTree& tree);
    // A row of type T made in `arena`, as CPropTree::NewItem makes its rows.
    template <class T>
    static T* MakeInArena(CRowArena& arena);
    // CopyShownWithin for a value text: `from`'s slot, of a row of `tree`.
    void CopyValueWithin(const char*& slot, const CPropTreeItem& from, const char* fromSlot, CPropTree& tree);

    // The value text of rows whose value is a text (null reads as "").
    void SetValueText(const char*& slot, const char* text) { m_bOwnValue = AssignText(slot, m_bOwnValue, text); }
    void ReleaseValueText(const char*& slot);
    // CopyShownFrom for a value text: `from`'s slot of another row of this tree.
    void CopyValueText(const char*& slot, const CPropTreeItem& from, const char* fromSlot);

private:
    friend class CPropTree;

    // Copies `text` into `slot` and returns whether the slot now owns a heap
    // block. The first text of a row in a tree goes to the tree's text pool
    // (texts like labels are set once); a text set again gets a block of the
    // row's own, reused while new texts fit, so frequent changes such as an
    // edit row's value never pile up in the pool.
    bool AssignText(const char*& slot, bool owned, const char* text) const;
    static void ReleaseText(const char*& slot, bool owned);
    // Shares `text` when this row is fresh and `text` is a pooled text of
    // `from` in this row's tree; returns false (nothing done) otherwise.
    bool SharePooledText(const char*& slot, bool owned, const CPropTreeItem& from, const char* text, bool fromOwned) const;
    // Adds `child` as the last child. The children array comes from `arena`
    // (that of the tree this row is in) when there is one, else from the heap.
    void AppendChild(CPropTreeItem* child, CRowArena* arena);
    // CPropTree::CopyChildren, this row having no children: false, with
    // nothing made, when a child of `from` is of a kind not made so.
    bool CopyChildrenFrom(const CPropTreeItem& from, CPropTree& tree, CRowArena& arena);
    // A text slot of a new row of `tree` set from a slot of a row of `tree`
    // (`owned`: that row's own block): a pooled text is shared, as pooled
    // texts are never written again; a text of the row's own goes to the pool.
    static void CopyTextWithin(const char*& slot, const char* text, bool owned, CPropTree& tree);
    // Exchanges the children of two rows, each child taking its new parent.
    void SwapChildren(CPropTreeItem& other);

    // Rows are many, so they are kept small: texts are single pointers and
    // the children an array sized by its count.
    CPropTreeItem* m_pParent = nullptr;
    CPropTreeItem** m_ppChildren = nullptr;
    const char* m_pszLabel = nullptr;
    const char* m_pszInfo = nullptr;
    int m_nIndex : 29 = -1;  // -1 until inserted; never more than 28 bits, as m_nChildren
    unsigned m_bArenaRow : 1 = 0;       // made in its tree's arena (CPropTree::NewItem), not with new
    unsigned m_bArenaChildren : 1 = 0;  // the children array is from the tree's arena, not the heap
    unsigned m_nChildren : 28 = 0;
    unsigned m_bOwnLabel : 1 = 0;
    unsigned m_bOwnInfo : 1 = 0;
    unsigned m_bOwnValue : 1 = 0;
    unsigned m_bIsRoot : 1 = 0;  // the tree's invisible root, a CPropTree::CRootItem
};

template <class T>
T* CPropTreeItem::MakeInArena(CRowArena& arena) {
    static_assert(alignof(T) <= CRowArena::kAlignment, "the arena's places are 8-byte aligned");
    T* row = new (arena.Allocate(sizeof(T))) T;
    static_cast<CPropTreeItem*>(row)->m_bArenaRow = 1;
    return row;
}
