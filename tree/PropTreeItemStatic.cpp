// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemStatic.h"

void CPropTreeItemStatic::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}

void CPropTreeItemStatic::CopyShownFrom(const CPropTreeItem& from) {
    const auto& same = dynamic_cast<const CPropTreeItemStatic&>(from);
    CopyValueText(m_pszValue, same, same.m_pszValue);
    CPropTreeItem::CopyShownFrom(from);
}
