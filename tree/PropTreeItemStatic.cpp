#include "tree/PropTreeItemStatic.h"

void CPropTreeItemStatic::SetItemValue(LPARAM value) {
    const char* text = reinterpret_cast<const char*>(value);
    m_strValue.assign(text ? text : "");
    NotifyChanged();
}
