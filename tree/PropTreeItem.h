#pragma once
// A row of the property tree: label, info text, an item value and its place
// among its siblings. Rows are owned by the tree they are inserted into.
#include <string>
#include <vector>

#include "framework/AfxTypes.h"

class CPropTree;

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
    const char* GetLabelText() const { return m_strLabel.c_str(); }
    const char* GetInfoText() const { return m_strInfo.c_str(); }

    CPropTreeItem* GetParent() const { return m_pParent; }
    CPropTreeItem* GetChild() const { return m_children.empty() ? nullptr : m_children.front(); }
    CPropTreeItem* GetSibling() const;

    // Commits the row's value after a program-side change; raises nothing.
    void CommitChanges();

    // Structure for the tree and its views.
    CPropTree* GetPropTree() const { return m_pProp; }
    int GetChildCount() const { return static_cast<int>(m_children.size()); }
    CPropTreeItem* GetChildAt(int index) const { return m_children[static_cast<size_t>(index)]; }
    int GetIndexInParent() const { return m_nIndex; }

protected:
    // Tells the tree's view that what this row shows has changed.
    void NotifyChanged();

private:
    friend class CPropTree;

    CPropTree* m_pProp = nullptr;
    CPropTreeItem* m_pParent = nullptr;
    std::vector<CPropTreeItem*> m_children;
    int m_nIndex = -1;
    std::string m_strLabel;
    std::string m_strInfo;
};
