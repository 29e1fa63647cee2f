#include "tree/PropTreeItem.h"

#include "tree/PropTree.h"

CPropTreeItem::~CPropTreeItem() {
    for (CPropTreeItem* child : m_children) delete child;
}

void CPropTreeItem::SetLabelText(const char* text) {
    m_strLabel.assign(text ? text : "");
    NotifyChanged();
}

void CPropTreeItem::SetInfoText(const char* text) {
    m_strInfo.assign(text ? text : "");
    NotifyChanged();
}

CPropTreeItem* CPropTreeItem::GetSibling() const {
    if (!m_pParent) return nullptr;
    const auto next = static_cast<size_t>(m_nIndex) + 1;
    return next < m_pParent->m_children.size() ? m_pParent->m_children[next] : nullptr;
}

void CPropTreeItem::CommitChanges() {
    OnCommit();
    NotifyChanged();
}

void CPropTreeItem::NotifyChanged() {
    if (m_pProp) m_pProp->ItemChanged(this);
}
