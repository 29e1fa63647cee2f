// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"
#include "tree/PropTreeItemStatic.h"
#include "tree/PropTreeListener.h"

namespace {

// A parent window that records the tree's notifications, and may act on
// the tree from inside one, as the dialog does.
class NotifyLog : public CWnd {
public:
    struct Seen {
        UINT code;
        std::uintptr_t id;
        CPropTreeItem* row;
        CPropTreeItem* focused;
    };
    CPropTree* tree = nullptr;
    std::vector<Seen> seen;
    std::function<void(CPropTreeItem*)> onNotify;

protected:
    LRESULT WindowProc(UINT message, WPARAM, LPARAM lParam) override {
        if (message != WM_NOTIFY) return 0;
        const auto* nm = reinterpret_cast<const TreeNotification*>(lParam);
        seen.push_back({nm->hdr.code, nm->hdr.idFrom, nm->pRow, tree->GetFocusedItem()});
        if (onNotify) onNotify(nm->pRow);
        return 0;
    }
};

LPARAM Text(const char* s) { return reinterpret_cast<LPARAM>(s); }
std::string ValueText(const CPropTreeItem* row) { return reinterpret_cast<const char*>(row->GetItemValue()); }

CPropTreeItemCombo* NewCombo(CPropTree& tree, CPropTreeItem* parent) {
    auto* combo = new CPropTreeItemCombo;
    tree.InsertItem(combo, parent);
    combo->CreateComboBox(WS_CHILD | WS_VSCROLL | CBS_SORT | CBS_DROPDOWNLIST);
    return combo;
}

TEST(PropTree, RowsKeepInsertionOrderAndNavigate) {
    CPropTree tree;
    auto* set = tree.InsertItem(new CPropTreeItem);
    auto* reg = tree.InsertItem(new CPropTreeItemStatic, set);
    auto* f1 = tree.InsertItem(new CPropTreeItemEdit, reg);
    auto* f2 = tree.InsertItem(new CPropTreeItemEdit, reg);
    auto* set2 = tree.InsertItem(new CPropTreeItem, nullptr);
    EXPECT_EQ(set->GetParent(), tree.GetRootItem());
    EXPECT_EQ(tree.GetRootItem()->GetChild(), set);
    EXPECT_EQ(set->GetSibling(), set2);
    EXPECT_EQ(set2->GetSibling(), nullptr);
    EXPECT_EQ(reg->GetChild(), f1);
    EXPECT_EQ(f1->GetSibling(), f2);
    EXPECT_EQ(f2->GetParent(), reg);
    EXPECT_EQ(f2->GetChild(), nullptr);
    EXPECT_EQ(f2->GetIndexInParent(), 1);
    EXPECT_EQ(tree.GetFocusedItem(), nullptr);
    EXPECT_EQ(tree.InsertItem(nullptr, set), nullptr);
}

TEST(PropTree, TextsAreCopied) {
    CPropTree tree;
    auto* edit = tree.InsertItem(new CPropTreeItemEdit);
    char buffer[16] = "label";
    edit->SetLabelText(buffer);
    edit->SetInfoText(buffer);
    edit->SetItemValue(Text(buffer));
    buffer[0] = 'X';
    EXPECT_STREQ(edit->GetLabelText(), "label");
    EXPECT_STREQ(edit->GetInfoText(), "label");
    EXPECT_EQ(ValueText(edit), "label");
    edit->SetItemValue(edit->GetItemValue());  // its own text again
    EXPECT_EQ(ValueText(edit), "label");
    edit->SetLabelText(nullptr);
    EXPECT_STREQ(edit->GetLabelText(), "");
}

TEST(PropTreeCombo, ListIsSortedAndAnswersMessages) {
    CPropTree tree;
    auto* combo = NewCombo(tree, nullptr);
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, 0), CB_ERR) << "empty list";
    EXPECT_EQ(combo->SendMessage(CB_SETCURSEL, 0), CB_ERR);
    const struct {
        const char* label;
        LPARAM data;
        LRESULT index;
    } adds[] = {{"Slow", 0, 0}, {"Fast", 2, 0}, {"medium", 1, 1}, {"Fast", 3, 1}};
    for (const auto& a : adds) {
        const LRESULT index = combo->SendMessage(CB_ADDSTRING, 0, Text(a.label));
        EXPECT_EQ(index, a.index) << a.label;
        EXPECT_EQ(combo->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), a.data), 0);
    }
    std::vector<std::string> labels;
    for (const auto& e : combo->GetEntries()) labels.push_back(e.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Fast", "Fast", "medium", "Slow"}));
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, 0), 2);
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, 9), CB_ERR);
    EXPECT_EQ(combo->SendMessage(CB_SETITEMDATA, 9, 1), CB_ERR);
    EXPECT_EQ(combo->SendMessage(CB_SETCURSEL, 0), 0);
}

TEST(PropTreeCombo, ListAnswersNothingBeforeItIsCreated) {
    CPropTree tree;
    auto* combo = new CPropTreeItemCombo;
    tree.InsertItem(combo);
    EXPECT_EQ(combo->SendMessage(CB_ADDSTRING, 0, Text("a")), CB_ERR);
}

TEST(PropTreeCombo, ValueSelectsItsEntryOrIsKeptAsANumber) {
    CPropTree tree;
    auto* combo = NewCombo(tree, nullptr);
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text("Off")), 0);
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text("On")), 1);
    combo->SetItemValue(1);
    EXPECT_EQ(combo->GetItemValue(), 1);
    EXPECT_EQ(combo->GetAttributeText(), "On");
    combo->SetItemValue(3);  // no entry carries 3: keep it
    EXPECT_EQ(combo->GetItemValue(), 3);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetAttributeText(), "3");
    const LPARAM wide = static_cast<LPARAM>(0x123456789LL);
    combo->SetItemValue(wide);
    EXPECT_EQ(combo->GetItemValue(), wide) << "no bits lost above 32";
}

TEST(PropTreeNotify, UserActionsNotifyWithTheRowFocused) {
    CPropTree tree;
    NotifyLog parent;
    parent.tree = &tree;
    tree.Create(WS_CHILD | WS_VISIBLE | 1, RECT{}, &parent, 100);
    auto* set = tree.InsertItem(new CPropTreeItem);
    auto* edit = tree.InsertItem(new CPropTreeItemEdit, set);

    tree.UserSelectItem(set);
    tree.UserSelectItem(set);  // no change, no notification
    tree.UserCommitValue(edit, Text("0x5"));
    ASSERT_EQ(parent.seen.size(), 3u);
    EXPECT_EQ(parent.seen[0].code, static_cast<UINT>(-1107));
    EXPECT_EQ(parent.seen[0].id, 100u);
    EXPECT_EQ(parent.seen[0].row, set);
    EXPECT_EQ(parent.seen[0].focused, set);
    EXPECT_EQ(parent.seen[1].code, PTN_SELCHANGE) << "committing a row focuses it first";
    EXPECT_EQ(parent.seen[2].code, static_cast<UINT>(-1105));
    EXPECT_EQ(parent.seen[2].row, edit);
    EXPECT_EQ(parent.seen[2].focused, edit);
    EXPECT_EQ(ValueText(edit), "0x5");
    EXPECT_EQ((parent.seen[2].code & 0xFFFF), 64431u);
    EXPECT_EQ((parent.seen[0].code & 0xFFFF), 64429u);
}

TEST(PropTreeNotify, ProgramChangesRaiseNothingAndRowsMayChangeInsideANotification) {
    CPropTree tree;
    NotifyLog parent;
    parent.tree = &tree;
    tree.Create(0, RECT{}, &parent, 100);
    auto* reg = tree.InsertItem(new CPropTreeItemStatic);
    auto* a = tree.InsertItem(new CPropTreeItemEdit, reg);
    auto* b = tree.InsertItem(new CPropTreeItemEdit, reg);
    parent.onNotify = [&](CPropTreeItem*) {
        b->SetItemValue(Text("0x9"));
        b->CommitChanges();
        tree.RefreshItems(nullptr);
    };
    a->SetItemValue(Text("1"));
    a->CommitChanges();
    tree.SetFocusedItem(b);
    tree.RefreshItems(nullptr);
    EXPECT_TRUE(parent.seen.empty());
    tree.UserCommitValue(a, Text("2"));
    EXPECT_EQ(parent.seen.size(), 2u) << "selection change, then value change";
    EXPECT_EQ(ValueText(b), "0x9");
}

TEST(PropTreeNotify, NoParentMeansNoNotification) {
    CPropTree tree;
    auto* edit = tree.InsertItem(new CPropTreeItemEdit);
    tree.UserCommitValue(edit, Text("3"));
    EXPECT_EQ(tree.GetFocusedItem(), edit);
    tree.UserCommitValue(nullptr, 0);
    tree.UserSelectItem(tree.GetRootItem());
    EXPECT_EQ(tree.GetFocusedItem(), nullptr);
}

}  // namespace

namespace {

// Row texts live in the tree's pool or in blocks the rows reuse: texts set
// over and over, from the row's own text, or before the row is in a tree
// must all read back exactly.
TEST(PropTreeStorage, TextsSetAgainReadBackExactly) {
    CPropTree tree;
    auto* edit = new CPropTreeItemEdit;
    edit->SetLabelText("before insertion");
    edit->SetItemValue(Text("0x1"));
    tree.InsertItem(edit);
    EXPECT_STREQ(edit->GetLabelText(), "before insertion");
    EXPECT_EQ(ValueText(edit), "0x1");
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        expected = std::string(static_cast<size_t>(i % 70), 'a' + static_cast<char>(i % 26)) + std::to_string(i);
        edit->SetItemValue(Text(expected.c_str()));
        ASSERT_EQ(ValueText(edit), expected) << i;
    }
    edit->SetItemValue(edit->GetItemValue() + 3);  // a tail of its own text
    EXPECT_EQ(ValueText(edit), expected.substr(3));
    for (const char* label : {"EN", "EN", "MODE", "a much longer label than the one before", "EN"}) {
        edit->SetLabelText(label);
        EXPECT_STREQ(edit->GetLabelText(), label);
    }
    auto* twin = tree.InsertItem(new CPropTreeItemEdit);
    twin->SetLabelText("EN");
    edit->SetLabelText("changed");
    EXPECT_STREQ(twin->GetLabelText(), "EN") << "shared texts stay with the rows that keep them";
}

TEST(PropTreeStorage, ListFilledBeforeInsertionKeepsItsLabels) {
    CPropTree tree;
    auto* combo = new CPropTreeItemCombo;
    combo->CreateComboBox(CBS_SORT);
    std::string label = "Zeta";
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text(label.c_str())), 7);
    label = "Alpha";
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text(label.c_str())), 1);
    label.assign("overwritten");
    tree.InsertItem(combo);
    combo->SendMessage(CB_ADDSTRING, 0, Text("Mid"));
    ASSERT_EQ(combo->GetEntries().size(), 3u);
    EXPECT_STREQ(combo->GetEntries()[0].label.c_str(), "Alpha");
    EXPECT_STREQ(combo->GetEntries()[1].label.c_str(), "Mid");
    EXPECT_STREQ(combo->GetEntries()[2].label.c_str(), "Zeta");
    combo->SetItemValue(7);
    EXPECT_EQ(combo->GetAttributeText(), "Zeta");
}

TEST(PropTreeStorage, ManyChildrenKeepOrderAndPlace) {
    CPropTree tree;
    auto* reg = tree.InsertItem(new CPropTreeItemStatic);
    std::vector<CPropTreeItem*> rows;
    for (int i = 0; i < 1000; ++i) rows.push_back(tree.InsertItem(new CPropTreeItemEdit, reg));
    ASSERT_EQ(reg->GetChildCount(), 1000);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(reg->GetChildAt(i), rows[static_cast<size_t>(i)]);
        EXPECT_EQ(rows[static_cast<size_t>(i)]->GetIndexInParent(), i);
        EXPECT_EQ(rows[static_cast<size_t>(i)]->GetSibling(), i + 1 < 1000 ? rows[static_cast<size_t>(i) + 1] : nullptr);
        EXPECT_EQ(rows[static_cast<size_t>(i)]->GetPropTree(), &tree);
    }
}

}  // namespace

// Rows changed inside an update reach the view as one refresh at its end,
// also when updates nest; outside one, each change is told.
TEST(PropTreeNotify, UpdateTellsTheViewOnceAtItsEnd) {
    struct Counts : CPropTreeListener {
        int changed = 0;
        int refreshed = 0;
        void OnItemChanged(CPropTreeItem*) override { ++changed; }
        void OnItemsRefreshed() override { ++refreshed; }
    } counts;
    CPropTree tree;
    auto* row = tree.InsertItem(new CPropTreeItemEdit());
    tree.SetListener(&counts);

    tree.BeginUpdate();
    tree.BeginUpdate();
    row->SetItemValue(reinterpret_cast<LPARAM>("1"));
    row->SetItemValue(reinterpret_cast<LPARAM>("2"));
    tree.EndUpdate();
    EXPECT_EQ(counts.refreshed, 0);
    tree.EndUpdate();
    EXPECT_EQ(counts.changed, 0);
    EXPECT_EQ(counts.refreshed, 1);

    tree.BeginUpdate();
    tree.EndUpdate();
    EXPECT_EQ(counts.refreshed, 1) << "an update that changed nothing tells nothing";
    row->SetItemValue(reinterpret_cast<LPARAM>("3"));
    EXPECT_EQ(counts.changed, 1);
    tree.SetListener(nullptr);
}
