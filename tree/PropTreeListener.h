#pragma once
// What a view of the tree is told about changes, so it can follow them
// without asking for the whole tree again.
class CPropTreeItem;

class CPropTreeListener {
public:
    virtual ~CPropTreeListener() = default;
    virtual void OnItemInserted(CPropTreeItem* item) = 0;
    virtual void OnItemChanged(CPropTreeItem* item) = 0;
    virtual void OnItemsRefreshed() = 0;
    virtual void OnFocusChanged(CPropTreeItem* item) = 0;
    // Many rows are about to change at once (a load); the view should start
    // afresh at OnResetEnd instead of following each row.
    virtual void OnResetBegin() = 0;
    virtual void OnResetEnd() = 0;
};
