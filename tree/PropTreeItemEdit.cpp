#include "tree/PropTreeItemEdit.h"

void CPropTreeItemEdit::SetItemValue(LPARAM value) {
    const char* text = reinterpret_cast<const char*>(value);
    m_strValue.assign(text ? text : "");
    NotifyChanged();
}
