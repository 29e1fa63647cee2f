// SPDX-License-Identifier: MIT
#pragma once
// What a view of the tree is told about changes, so it can follow them
// without asking for the whole tree again.
class CPropTreeItem;

class CPropTreeListener {
public:
    virtual ~CPropTreeListener() = default;
    // `parent` is about to get a new last child, at index `row`.
    virtual void OnItemInserting(CPropTreeItem* /*parent*/, int /*row*/) {}
    virtual void OnItemInserted(CPropTreeItem* /*item*/) {}
    virtual void OnItemChanged(CPropTreeItem* /*item*/) {}
    virtual void OnItemsRefreshed() {}
    virtual void OnFocusChanged(CPropTreeItem* /*item*/) {}
    // Many rows are about to change at once (a load); the view should start
    // afresh at OnResetEnd instead of following each row.
    virtual void OnResetBegin() {}
    virtual void OnResetEnd() {}
    // The tree and its rows are going away.
    virtual void OnTreeDestroyed() {}
};
