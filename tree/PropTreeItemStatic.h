#pragma once
// A read-only row whose item value is a text it shows.
#include "tree/PropTreeItem.h"

class CPropTreeItemStatic : public CPropTreeItem {
public:
    std::string GetAttributeText() const override { return m_strValue; }
    // The value is the row's text, handed over as a pointer to its characters.
    LPARAM GetItemValue() const override { return reinterpret_cast<LPARAM>(m_strValue.c_str()); }
    void SetItemValue(LPARAM value) override;
    PropRowKind GetKind() const override { return PropRowKind::Static; }

private:
    std::string m_strValue;
};
