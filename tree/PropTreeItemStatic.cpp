// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemStatic.h"

#include <typeinfo>

void CPropTreeItemStatic::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}

void CPropTreeItemStatic::CopyShownFrom(const CPropTreeItem& from) {
    const auto& same = dynamic_cast<const CPropTreeItemStatic&>(from);
    CopyValueText(m_pszValue, same, same.m_pszValue);
    CPropTreeItem::CopyShownFrom(from);
}

CPropTreeItem* CPropTreeItemStatic::NewEmptyInArena(CRowArena& arena) const {
    return typeid(*this) == typeid(CPropTreeItemStatic) ? MakeInArena<CPropTreeItemStatic>(arena) : nullptr;
}

void CPropTreeItemStatic::CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) {
    const auto& same = static_cast<const CPropTreeItemStatic&>(from);
    CopyValueWithin(m_pszValue, same, same.m_pszValue, tree);
    CPropTreeItem::CopyShownWithin(from, tree);
}
