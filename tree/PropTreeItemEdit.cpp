// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemEdit.h"

#include <typeinfo>

void CPropTreeItemEdit::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}

void CPropTreeItemEdit::CopyShownFrom(const CPropTreeItem& from) {
    const auto& same = dynamic_cast<const CPropTreeItemEdit&>(from);
    CopyValueText(m_pszValue, same, same.m_pszValue);
    CPropTreeItem::CopyShownFrom(from);
}

CPropTreeItem* CPropTreeItemEdit::NewEmptyInArena(CRowArena& arena) const {
    return typeid(*this) == typeid(CPropTreeItemEdit) ? MakeInArena<CPropTreeItemEdit>(arena) : nullptr;
}

void CPropTreeItemEdit::CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) {
    const auto& same = static_cast<const CPropTreeItemEdit&>(from);
    CopyValueWithin(m_pszValue, same, same.m_pszValue, tree);
    CPropTreeItem::CopyShownWithin(from, tree);
}
