// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemEdit.h"

void CPropTreeItemEdit::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}

void CPropTreeItemEdit::CopyShownFrom(const CPropTreeItem& from) {
    const auto& same = dynamic_cast<const CPropTreeItemEdit&>(from);
    CopyValueText(m_pszValue, same, same.m_pszValue);
    CPropTreeItem::CopyShownFrom(from);
}
