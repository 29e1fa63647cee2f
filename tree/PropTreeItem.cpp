// SPDX-License-Identifier: MIT
#include "tree/PropTreeItem.h"

#include <cstring>
#include <stdexcept>
#include <typeinfo>
#include <utility>

#include "tree/PropTree.h"
#include "tree/RowArena.h"

namespace {

// Size of the heap block a row allocates for a text of `length` characters;
// a block keeps this size, so any text that rounds to no more fits in it.
size_t BlockSize(size_t length) { return (length + 16) & ~size_t{15}; }

// Capacity of a children array of `count` rows: 1, 2, 3, 4, 6, 8, 12, 16, ...,
// so at most a third of an array stands empty.
size_t ChildCapacity(size_t count) {
    if (count <= 2) return count;
    size_t power = 1;
    while (power * 2 <= count) power *= 2;
    if (count == power) return count;
    return count <= power + power / 2 ? power + power / 2 : power * 2;
}

constexpr size_t kMaxChildren = (size_t{1} << 28) - 1;

}  // namespace

CPropTreeItem::~CPropTreeItem() {
    // Rows made in the tree's arena give their memory back with the arena.
    for (unsigned i = 0; i < m_nChildren; ++i) {
        CPropTreeItem* child = m_ppChildren[i];
        if (child->m_bArenaRow)
            child->~CPropTreeItem();
        else
            delete child;
    }
    if (!m_bArenaChildren) delete[] m_ppChildren;
    ReleaseText(m_pszLabel, m_bOwnLabel);
    ReleaseText(m_pszInfo, m_bOwnInfo);
}

CPropTree* CPropTreeItem::GetPropTree() const {
    const CPropTreeItem* top = this;
    while (top->m_pParent) top = top->m_pParent;
    return top->m_bIsRoot ? static_cast<const CPropTree::CRootItem*>(top)->m_pTree : nullptr;
}

bool CPropTreeItem::AssignText(const char*& slot, bool owned, const char* text) const {
    if (!text) text = "";
    const size_t length = std::strlen(text);
    if (owned) {
        if (BlockSize(length) <= BlockSize(std::strlen(slot))) {
            std::memmove(const_cast<char*>(slot), text, length + 1);
            return true;
        }
    } else if (length == 0) {
        slot = nullptr;
        return false;
    } else if (!slot) {
        if (CPropTree* tree = GetPropTree()) {
            slot = tree->m_texts.Add(text, length);
            return false;
        }
    }
    char* block = new char[BlockSize(length)];
    std::memcpy(block, text, length + 1);
    if (owned) delete[] slot;
    slot = block;
    return true;
}

void CPropTreeItem::ReleaseText(const char*& slot, bool owned) {
    if (owned) delete[] slot;
    slot = nullptr;
}

void CPropTreeItem::ReleaseValueText(const char*& slot) {
    ReleaseText(slot, m_bOwnValue);
    m_bOwnValue = 0;
}

void CPropTreeItem::AppendChild(CPropTreeItem* child, CRowArena* arena) {
    const size_t count = m_nChildren;
    if (count == kMaxChildren) throw std::length_error("too many rows under one parent");
    if (ChildCapacity(count) == count) {
        const size_t capacity = ChildCapacity(count + 1);
        const size_t bytes = capacity * sizeof(CPropTreeItem*);
        const bool fromArena = arena && bytes <= CRowArena::kMaxArrayBytes;
        auto** grown = fromArena ? static_cast<CPropTreeItem**>(arena->AllocateArray(bytes)) : new CPropTreeItem*[capacity];
        if (count) std::memcpy(grown, m_ppChildren, count * sizeof *grown);
        if (!m_bArenaChildren)
            delete[] m_ppChildren;
        else if (arena)
            arena->ReleaseArray(m_ppChildren, count * sizeof *grown);
        m_ppChildren = grown;
        m_bArenaChildren = fromArena;
    }
    m_ppChildren[count] = child;
    child->m_pParent = this;
    child->m_nIndex = static_cast<int>(count);
    m_nChildren = static_cast<unsigned>(count + 1);
}

bool CPropTreeItem::CopyChildrenFrom(const CPropTreeItem& from, CPropTree& tree, CRowArena& arena) {
    const unsigned count = from.m_nChildren;
    if (count == 0) return true;
    // The children array AppendChild would have grown to `count` rows, at once.
    const size_t capacity = ChildCapacity(count);
    const size_t bytes = capacity * sizeof(CPropTreeItem*);
    const bool fromArena = bytes <= CRowArena::kMaxArrayBytes;
    auto** children = fromArena ? static_cast<CPropTreeItem**>(arena.AllocateArray(bytes)) : new CPropTreeItem*[capacity];
    // All rows are made before any is linked, so that a kind not made so
    // leaves nothing behind (the empty rows' places stay in the arena).
    unsigned made = 0;
    const auto discard = [&] {
        for (unsigned i = 0; i < made; ++i) children[i]->~CPropTreeItem();
        if (fromArena)
            arena.ReleaseArray(children, bytes);
        else
            delete[] children;
    };
    try {
        for (; made < count; ++made) {
            children[made] = from.m_ppChildren[made]->NewEmptyInArena(arena);
            if (!children[made]) {
                discard();
                return false;
            }
        }
    } catch (...) {
        discard();
        throw;
    }
    if (!m_bArenaChildren)
        delete[] m_ppChildren;
    else
        arena.ReleaseArray(m_ppChildren, 0);
    m_ppChildren = children;
    m_bArenaChildren = fromArena;
    for (unsigned i = 0; i < count; ++i) {
        CPropTreeItem* child = children[i];
        child->m_pParent = this;
        child->m_nIndex = static_cast<int>(i);
        m_nChildren = i + 1;
        child->CopyShownWithin(*from.m_ppChildren[i], tree);
    }
    return true;
}

CPropTreeItem* CPropTreeItem::NewEmptyInArena(CRowArena& arena) const {
    return typeid(*this) == typeid(CPropTreeItem) ? MakeInArena<CPropTreeItem>(arena) : nullptr;
}

void CPropTreeItem::CopyTextWithin(const char*& slot, const char* text, bool owned, CPropTree& tree) {
    if (!owned) {
        slot = text;
        return;
    }
    const size_t length = std::strlen(text);
    slot = length ? tree.m_texts.Add(text, length) : nullptr;
}

void CPropTreeItem::CopyShownWithin(const CPropTreeItem& from, CPropTree& tree) {
    CopyTextWithin(m_pszLabel, from.m_pszLabel, from.m_bOwnLabel, tree);
    CopyTextWithin(m_pszInfo, from.m_pszInfo, from.m_bOwnInfo, tree);
}

void CPropTreeItem::CopyValueWithin(const char*& slot, const CPropTreeItem& from, const char* fromSlot, CPropTree& tree) {
    CopyTextWithin(slot, fromSlot, from.m_bOwnValue, tree);
    m_bOwnValue = 0;
}

void CPropTreeItem::SetLabelText(const char* text) {
    m_bOwnLabel = AssignText(m_pszLabel, m_bOwnLabel, text);
    NotifyChanged();
}

void CPropTreeItem::SetInfoText(const char* text) {
    m_bOwnInfo = AssignText(m_pszInfo, m_bOwnInfo, text);
    NotifyChanged();
}

bool CPropTreeItem::SharePooledText(const char*& slot, bool owned, const CPropTreeItem& from, const char* text,
                                    bool fromOwned) const {
    if (owned || slot || fromOwned || !text) return false;
    const CPropTree* tree = GetPropTree();
    return tree && tree == from.GetPropTree() && (slot = text, true);
}

void CPropTreeItem::CopyShownFrom(const CPropTreeItem& from) {
    if (!SharePooledText(m_pszLabel, m_bOwnLabel, from, from.m_pszLabel, from.m_bOwnLabel))
        m_bOwnLabel = AssignText(m_pszLabel, m_bOwnLabel, from.GetLabelText());
    if (!SharePooledText(m_pszInfo, m_bOwnInfo, from, from.m_pszInfo, from.m_bOwnInfo))
        m_bOwnInfo = AssignText(m_pszInfo, m_bOwnInfo, from.GetInfoText());
    NotifyChanged();
}

void CPropTreeItem::CopyValueText(const char*& slot, const CPropTreeItem& from, const char* fromSlot) {
    if (!SharePooledText(slot, m_bOwnValue, from, fromSlot, from.m_bOwnValue))
        SetValueText(slot, fromSlot ? fromSlot : "");
}

CPropTreeItem* CPropTreeItem::GetSibling() const {
    if (!m_pParent) return nullptr;
    const auto next = static_cast<unsigned>(m_nIndex) + 1;
    return next < m_pParent->m_nChildren ? m_pParent->m_ppChildren[next] : nullptr;
}

void CPropTreeItem::CommitChanges() {
    OnCommit();
    NotifyChanged();
}

void CPropTreeItem::NotifyChanged() {
    if (CPropTree* tree = GetPropTree()) tree->ItemChanged(this);
}

void CPropTreeItem::SwapChildren(CPropTreeItem& other) {
    std::swap(m_ppChildren, other.m_ppChildren);
    const unsigned arenaChildren = m_bArenaChildren;
    m_bArenaChildren = other.m_bArenaChildren;
    other.m_bArenaChildren = arenaChildren;
    const unsigned count = m_nChildren;
    m_nChildren = other.m_nChildren;
    other.m_nChildren = count;
    for (unsigned i = 0; i < m_nChildren; ++i) m_ppChildren[i]->m_pParent = this;
    for (unsigned i = 0; i < other.m_nChildren; ++i) other.m_ppChildren[i]->m_pParent = &other;
}
