// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemStatic.h"

void CPropTreeItemStatic::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}
