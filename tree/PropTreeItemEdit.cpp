// SPDX-License-Identifier: MIT
#include "tree/PropTreeItemEdit.h"

void CPropTreeItemEdit::SetItemValue(LPARAM value) {
    SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
    NotifyChanged();
}
