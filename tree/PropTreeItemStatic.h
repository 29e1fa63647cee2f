// SPDX-License-Identifier: MIT
#pragma once
// A read-only row whose item value is a text it shows.
#include "tree/PropTreeItem.h"

class CPropTreeItemStatic : public CPropTreeItem {
public:
    ~CPropTreeItemStatic() override { ReleaseValueText(m_pszValue); }

    std::string GetAttributeText() const override { return GetValue(); }
    // The value is the row's text, handed over as a pointer to its characters.
    LPARAM GetItemValue() const override { return reinterpret_cast<LPARAM>(GetValue()); }
    void SetItemValue(LPARAM value) override;
    void CopyShownFrom(const CPropTreeItem& from) override;
    PropRowKind GetKind() const override { return PropRowKind::Static; }

protected:
    CPropTreeItem* NewEmptyInArena(CRowArena& arena) const override;
    void CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) override;

private:
    const char* GetValue() const { return m_pszValue ? m_pszValue : ""; }

    const char* m_pszValue = nullptr;
};
