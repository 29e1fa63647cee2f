// SPDX-License-Identifier: MIT
#include "tree/PropTree.h"

#include "tree/PropTreeListener.h"

CPropTree::CPropTree() {
    m_root.m_pTree = this;
    m_root.m_bIsRoot = 1;
}

CPropTree::~CPropTree() {
    if (m_pListener) m_pListener->OnTreeDestroyed();
}

BOOL CPropTree::Create(DWORD, const RECT&, CWnd* parent, UINT id) {
    m_pParentWnd = parent;
    m_nID = id;
    return TRUE;
}

CPropTreeItem* CPropTree::InsertItem(CPropTreeItem* item, CPropTreeItem* parent) {
    if (!item) return nullptr;
    if (!parent) parent = &m_root;
    Insert(item, parent, ArenaFor(parent));
    return item;
}

CRowArena* CPropTree::ArenaFor(CPropTreeItem* parent) {
    if (parent == &m_root) return &m_arena;
    CPropTree* tree = parent->GetPropTree();
    return tree ? &tree->m_arena : nullptr;
}

void CPropTree::Insert(CPropTreeItem* item, CPropTreeItem* parent, CRowArena* arena) {
    const bool tell = m_pListener && m_nResetDepth == 0;
    if (tell) m_pListener->OnItemInserting(parent, parent->GetChildCount());
    parent->AppendChild(item, arena);
    if (tell) m_pListener->OnItemInserted(item);
}

bool CPropTree::CopyChildren(CPropTreeItem& to, const CPropTreeItem& from) {
    if (to.GetChildCount() != 0 || (m_pListener && m_nResetDepth == 0)) return false;
    if (to.GetPropTree() != this || from.GetPropTree() != this) return false;
    if (!to.CopyChildrenFrom(from, *this, m_arena)) return false;
    // What the rows' notices would have done: no listener hears them here.
    if (from.GetChildCount() && m_nUpdateDepth > 0) m_bChangedInUpdate = true;
    return true;
}

void CPropTree::SetFocusedItem(CPropTreeItem* item) {
    if (item == &m_root) item = nullptr;
    if (m_pFocus == item) return;
    m_pFocus = item;
    if (m_pListener) m_pListener->OnFocusChanged(item);
}

void CPropTree::RefreshItems(CPropTreeItem* item) {
    if (item) item->OnRefresh();
    if (m_pListener) m_pListener->OnItemsRefreshed();
}

void CPropTree::ItemChanged(CPropTreeItem* item) {
    if (m_nUpdateDepth > 0) {
        m_bChangedInUpdate = true;
        return;
    }
    if (m_pListener && m_nResetDepth == 0 && item != &m_root) m_pListener->OnItemChanged(item);
}

void CPropTree::BeginUpdate() { ++m_nUpdateDepth; }

void CPropTree::EndUpdate() {
    if (m_nUpdateDepth == 0 || --m_nUpdateDepth > 0) return;
    if (m_bChangedInUpdate && m_pListener && m_nResetDepth == 0) m_pListener->OnItemsRefreshed();
    m_bChangedInUpdate = false;
}

LRESULT CPropTree::SendNotify(UINT code, CPropTreeItem* item) {
    if (!m_pParentWnd) return 0;
    TreeNotification nm;
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = m_nID;
    nm.hdr.code = code;
    nm.pRow = item;
    return m_pParentWnd->SendMessage(WM_NOTIFY, m_nID, reinterpret_cast<LPARAM>(&nm));
}

void CPropTree::UserSelectItem(CPropTreeItem* item) {
    if (item == &m_root) item = nullptr;
    if (item == m_pFocus) return;
    SetFocusedItem(item);
    SendNotify(PTN_SELCHANGE, item);
}

void CPropTree::UserCommitValue(CPropTreeItem* item, LPARAM value) {
    if (!item || item == &m_root) return;
    // The focused row is always the row a notification names.
    UserSelectItem(item);
    item->SetItemValue(value);
    item->CommitChanges();
    SendNotify(PTN_ITEMCHANGED, item);
}

void CPropTree::BeginReset() {
    if (m_nResetDepth++ == 0 && m_pListener) m_pListener->OnResetBegin();
}

void CPropTree::EndReset() {
    if (m_nResetDepth > 0 && --m_nResetDepth == 0 && m_pListener) m_pListener->OnResetEnd();
}

void CPropTree::SwapRows(CPropTree& other) {
    if (&other == this) return;
    BeginReset();
    other.BeginReset();
    SetFocusedItem(nullptr);
    other.SetFocusedItem(nullptr);
    // The rows' storage goes with them.
    m_texts.Swap(other.m_texts);
    m_arena.Swap(other.m_arena);
    m_root.SwapChildren(other.m_root);
    other.EndReset();
    EndReset();
}
