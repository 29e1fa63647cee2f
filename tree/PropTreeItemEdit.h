// SPDX-License-Identifier: MIT
#pragma once
// A row the user edits as text; its item value is its current text.
#include "tree/PropTreeItem.h"

class CPropTreeItemEdit : public CPropTreeItem {
public:
    ~CPropTreeItemEdit() override { ReleaseValueText(m_pszValue); }

    std::string GetAttributeText() const override { return GetValue(); }
    LPARAM GetItemValue() const override { return reinterpret_cast<LPARAM>(GetValue()); }
    void SetItemValue(LPARAM value) override;
    void CopyShownFrom(const CPropTreeItem& from) override;
    PropRowKind GetKind() const override { return PropRowKind::Edit; }

    std::string GetText() const { return GetValue(); }

protected:
    CPropTreeItem* NewEmptyInArena(CRowArena& arena) const override;
    void CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) override;

private:
    const char* GetValue() const { return m_pszValue ? m_pszValue : ""; }

    const char* m_pszValue = nullptr;
};
