// SPDX-License-Identifier: MIT
#pragma once
// A row whose value is a text it holds, handed over as a pointer to its
// characters. The edit row and the static row differ only by their kind, so
// both are this one class, named by the row type `Row` it makes.
#include <typeinfo>

#include "tree/PropTreeItem.h"

template <typename Row, PropRowKind Kind>
class CPropTreeItemText : public CPropTreeItem {
public:
    ~CPropTreeItemText() override { ReleaseValueText(m_pszValue); }

    std::string GetAttributeText() const override { return GetValue(); }
    LPARAM GetItemValue() const override { return reinterpret_cast<LPARAM>(GetValue()); }
    void SetItemValue(LPARAM value) override {
        SetValueText(m_pszValue, reinterpret_cast<const char*>(value));
        NotifyChanged();
    }
    void CopyShownFrom(const CPropTreeItem& from) override {
        const CPropTreeItemText& same = dynamic_cast<const Row&>(from);
        CopyValueText(m_pszValue, same, same.m_pszValue);
        CPropTreeItem::CopyShownFrom(from);
    }
    PropRowKind GetKind() const override { return Kind; }

protected:
    // Only a row of exactly this type is made empty in the arena; a type
    // derived from it (a register row) is copied its own way.
    CPropTreeItem* NewEmptyInArena(CRowArena& arena) const override {
        return typeid(*this) == typeid(Row) ? MakeInArena<Row>(arena) : nullptr;
    }
    void CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) override {
        const CPropTreeItemText& same = static_cast<const Row&>(from);
        CopyValueWithin(m_pszValue, same, same.m_pszValue, tree);
        CPropTreeItem::CopyShownWithin(from, tree);
    }
    const char* GetValue() const { return m_pszValue ? m_pszValue : ""; }

private:
    const char* m_pszValue = nullptr;
};
