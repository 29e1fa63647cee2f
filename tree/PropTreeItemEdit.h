#pragma once
// A row the user edits as text; its item value is its current text.
#include "tree/PropTreeItem.h"

class CPropTreeItemEdit : public CPropTreeItem {
public:
    std::string GetAttributeText() const override { return m_strValue; }
    LPARAM GetItemValue() const override { return reinterpret_cast<LPARAM>(m_strValue.c_str()); }
    void SetItemValue(LPARAM value) override;
    PropRowKind GetKind() const override { return PropRowKind::Edit; }

    const std::string& GetText() const { return m_strValue; }

private:
    std::string m_strValue;
};
