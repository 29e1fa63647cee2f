// SPDX-License-Identifier: MIT
// CopyShownFrom: a row made like another shows the same, shares the pooled
// texts and keeps its own value when it changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"
#include "tree/PropTreeItemStatic.h"
#include "tree/PropTreeListener.h"

namespace {

TEST(PropTreeCopy, AnEditRowSharesPooledTextsAndOwnsItsLaterValue) {
    CPropTree tree;
    auto* first = tree.NewItem<CPropTreeItemEdit>();
    first->SetLabelText("EN");
    first->SetInfoText("Enables the timer");
    first->SetItemValue(reinterpret_cast<LPARAM>("0x1"));
    auto* copy = tree.NewItem<CPropTreeItemEdit>();
    copy->CopyShownFrom(*first);
    EXPECT_EQ(copy->GetLabelText(), first->GetLabelText());  // the same pooled text
    EXPECT_EQ(copy->GetInfoText(), first->GetInfoText());
    EXPECT_EQ(copy->GetText(), "0x1");
    copy->SetItemValue(reinterpret_cast<LPARAM>("0x0"));
    EXPECT_EQ(copy->GetText(), "0x0");
    EXPECT_EQ(first->GetText(), "0x1");

    // A row in no tree has no pool: its texts are copied.
    CPropTreeItemEdit loose;
    loose.CopyShownFrom(*first);
    EXPECT_STREQ(loose.GetLabelText(), "EN");
    EXPECT_NE(loose.GetLabelText(), first->GetLabelText());
    EXPECT_EQ(loose.GetText(), "0x1");
}

TEST(PropTreeCopy, ADropDownGetsTheEntriesDescriptionsAndChoice) {
    CPropTree tree;
    for (const bool inTree : {true, false}) {
        auto* first = tree.NewItem<CPropTreeItemCombo>();
        first->CreateComboBox(0);
        first->AddString("OFF");
        first->SetItemData(0, 0);
        first->AddString("ON");
        first->SetItemData(1, 1);
        first->SetEntryInfo(1, "running");
        first->SetItemValue(1);
        CPropTreeItemCombo loose;
        CPropTreeItemCombo* copy = inTree ? tree.NewItem<CPropTreeItemCombo>() : &loose;
        copy->CopyShownFrom(*first);
        ASSERT_EQ(copy->GetEntries().size(), 2u) << inTree;
        EXPECT_STREQ(copy->GetEntries()[1].label.c_str(), "ON");
        EXPECT_EQ(copy->GetEntries()[1].data, 1);
        EXPECT_STREQ(copy->GetEntryInfo(0), "");
        EXPECT_STREQ(copy->GetEntryInfo(1), inTree ? "running" : "");  // a loose row keeps no descriptions
        EXPECT_EQ(copy->GetCurSel(), 1);
        EXPECT_EQ(copy->GetAttributeText(), "ON");
        // Entries added later are the copy's own.
        copy->AddString("FAST");
        EXPECT_EQ(first->GetEntries().size(), 2u);
    }
}

LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }

// A register-like row with a row of each kind under it: an edit row, a
// drop-down with entries and a description, a static row and a plain row.
// Texts set once are pooled; the edit row's value and the static row's info
// are set twice, so they are the rows' own.
CPropTreeItem* ModelRows(CPropTree& tree) {
    auto* model = tree.NewItem<CPropTreeItem>();
    model->SetLabelText("MODEL");
    auto* edit = tree.NewItem<CPropTreeItemEdit>(model);
    edit->SetLabelText("EN");
    edit->SetInfoText("Enables it");
    edit->SetItemValue(Text("0x1"));
    edit->SetItemValue(Text("0x10"));
    auto* combo = tree.NewItem<CPropTreeItemCombo>(model);
    combo->CreateComboBox(0);
    combo->SetLabelText("MODE");
    for (const char* label : {"OFF", "SLOW", "FAST"}) {
        const LRESULT index = combo->AddString(label);
        combo->SetItemData(static_cast<WPARAM>(index), index * 2);
    }
    combo->SetEntryInfo(2, "as fast as it goes");
    combo->SetItemValue(2);
    auto* fixed = tree.NewItem<CPropTreeItemStatic>(model);
    fixed->SetLabelText("ID");
    fixed->SetInfoText("first");
    fixed->SetInfoText("second, longer than the first");
    fixed->SetItemValue(Text("0xCAFE"));
    tree.NewItem<CPropTreeItem>(model)->SetLabelText("PLAIN");
    return model;
}

std::string Shown(const CPropTreeItem& row) {
    std::string out = std::to_string(static_cast<int>(row.GetKind())) + " " + row.GetLabelText() + " | " +
                      row.GetInfoText() + " | " + row.GetAttributeText();
    if (const auto* combo = dynamic_cast<const CPropTreeItemCombo*>(&row)) {
        out += " | " + std::to_string(combo->GetCurSel());
        for (size_t i = 0; i < combo->GetEntries().size(); ++i)
            out += std::string(" ") + combo->GetEntries()[i].label.c_str() + "=" +
                   std::to_string(combo->GetEntries()[i].data) + "(" + combo->GetEntryInfo(i) + ")";
    }
    return out;
}

// Copying a row's children at once gives what copying them one by one with
// NewItem and CopyShownFrom gives, sharing the pooled texts.
TEST(PropTreeCopy, ChildrenCopiedAtOnceShowWhatTheOriginalsShow) {
    CPropTree tree;
    const CPropTreeItem* model = ModelRows(tree);
    auto* copy = tree.NewItem<CPropTreeItem>();
    ASSERT_TRUE(tree.CopyChildren(*copy, *model));
    ASSERT_EQ(copy->GetChildCount(), model->GetChildCount());
    for (int i = 0; i < model->GetChildCount(); ++i) {
        const CPropTreeItem& from = *model->GetChildAt(i);
        const CPropTreeItem& row = *copy->GetChildAt(i);
        EXPECT_EQ(Shown(row), Shown(from)) << i;
        EXPECT_EQ(row.GetParent(), copy);
        EXPECT_EQ(row.GetIndexInParent(), i);
        EXPECT_EQ(row.GetPropTree(), &tree);
        EXPECT_EQ(row.GetLabelText(), from.GetLabelText()) << "a pooled label is shared: " << i;
        // And one by one, for comparison.
        CPropTreeItem* single = nullptr;
        switch (from.GetKind()) {
        case PropRowKind::Edit: single = tree.NewItem<CPropTreeItemEdit>(); break;
        case PropRowKind::Combo: single = tree.NewItem<CPropTreeItemCombo>(); break;
        case PropRowKind::Static: single = tree.NewItem<CPropTreeItemStatic>(); break;
        case PropRowKind::Plain: single = tree.NewItem<CPropTreeItem>(); break;
        }
        single->CopyShownFrom(from);
        EXPECT_EQ(Shown(row), Shown(*single)) << i;
    }
    EXPECT_STREQ(copy->GetChildAt(0)->GetAttributeText().c_str(), "0x10");
    // Texts the original owns are copied, not shared.
    EXPECT_NE(copy->GetChildAt(2)->GetInfoText(), model->GetChildAt(2)->GetInfoText());
    EXPECT_NE(reinterpret_cast<const char*>(copy->GetChildAt(0)->GetItemValue()),
              reinterpret_cast<const char*>(model->GetChildAt(0)->GetItemValue()));

    // The copies are rows of their own: values, entries and children change apart.
    copy->GetChildAt(0)->SetItemValue(Text("0x0"));
    auto* copiedCombo = static_cast<CPropTreeItemCombo*>(copy->GetChildAt(1));
    copiedCombo->AddString("ZERO");
    copiedCombo->SetItemValue(0);
    EXPECT_EQ(model->GetChildAt(0)->GetAttributeText(), "0x10");
    EXPECT_EQ(Shown(*model->GetChildAt(1)), "3 MODE |  | SLOW | 1 OFF=0() SLOW=2() FAST=4(as fast as it goes)");
    EXPECT_EQ(Shown(*copiedCombo), "3 MODE |  | OFF | 0 OFF=0() SLOW=2() FAST=4(as fast as it goes) ZERO=0()");
    for (int i = 0; i < 10; ++i) tree.NewItem<CPropTreeItemEdit>(copy)->SetLabelText(std::to_string(i).c_str());
    ASSERT_EQ(copy->GetChildCount(), model->GetChildCount() + 10);
    for (int i = 0; i < copy->GetChildCount(); ++i) EXPECT_EQ(copy->GetChildAt(i)->GetIndexInParent(), i);
    EXPECT_STREQ(copy->GetChildAt(copy->GetChildCount() - 1)->GetLabelText(), "9");
    EXPECT_EQ(copy->GetChildAt(3)->GetSibling(), copy->GetChildAt(4));
}

// Rows of many children get an array from the heap rather than the arena.
TEST(PropTreeCopy, ManyChildrenAreCopiedAtOnceToo) {
    CPropTree tree;
    auto* model = tree.NewItem<CPropTreeItem>();
    for (int i = 0; i < 1500; ++i) tree.NewItem<CPropTreeItemEdit>(model)->SetLabelText(std::to_string(i).c_str());
    auto* copy = tree.NewItem<CPropTreeItem>();
    ASSERT_TRUE(tree.CopyChildren(*copy, *model));
    ASSERT_EQ(copy->GetChildCount(), 1500);
    for (int i = 0; i < 1500; ++i) ASSERT_STREQ(copy->GetChildAt(i)->GetLabelText(), std::to_string(i).c_str());
    tree.NewItem<CPropTreeItemEdit>(copy)->SetLabelText("more");
    EXPECT_STREQ(copy->GetChildAt(1500)->GetLabelText(), "more");
}

// A row of a kind made outside tree/ cannot be made by the tree: nothing is
// copied. Nor is anything when the target has children, a row is of another
// tree, or a view is told of each row.
TEST(PropTreeCopy, ChildrenAreCopiedAtOnceOnlyWhereTheOnesByOneWouldBeTheSame) {
    struct OwnEdit : CPropTreeItemEdit {};
    struct Heard : CPropTreeListener {
        int inserted = 0;
        void OnItemInserted(CPropTreeItem*) override { ++inserted; }
    } heard;
    CPropTree tree;
    CPropTree other;
    const CPropTreeItem* model = ModelRows(tree);
    auto* odd = tree.NewItem<CPropTreeItem>();
    tree.NewItem<CPropTreeItemEdit>(odd);
    tree.InsertItem(new OwnEdit, odd);

    auto* target = tree.NewItem<CPropTreeItem>();
    EXPECT_FALSE(tree.CopyChildren(*target, *odd));
    EXPECT_EQ(target->GetChildCount(), 0);
    auto* elsewhere = other.NewItem<CPropTreeItem>();
    EXPECT_FALSE(tree.CopyChildren(*elsewhere, *model));
    EXPECT_FALSE(other.CopyChildren(*elsewhere, *model));
    EXPECT_EQ(elsewhere->GetChildCount(), 0);
    tree.SetListener(&heard);
    EXPECT_FALSE(tree.CopyChildren(*target, *model));
    EXPECT_EQ(target->GetChildCount(), 0);
    // Inside a reset the view is told nothing of single rows, so they may be copied at once.
    tree.BeginReset();
    EXPECT_TRUE(tree.CopyChildren(*target, *model));
    tree.EndReset();
    tree.SetListener(nullptr);
    EXPECT_EQ(heard.inserted, 0);
    EXPECT_EQ(target->GetChildCount(), model->GetChildCount());
    EXPECT_FALSE(tree.CopyChildren(*target, *model)) << "the target has children now";
    EXPECT_EQ(target->GetChildCount(), model->GetChildCount());
    auto* empty = tree.NewItem<CPropTreeItem>();
    EXPECT_TRUE(tree.CopyChildren(*empty, *tree.NewItem<CPropTreeItem>()));
    EXPECT_EQ(empty->GetChildCount(), 0);
}

// Rows copied inside an update are among its changes, as rows copied one by one are.
TEST(PropTreeCopy, RowsCopiedInsideAnUpdateAreToldAtItsEnd) {
    struct Counts : CPropTreeListener {
        int refreshed = 0;
        void OnItemsRefreshed() override { ++refreshed; }
    } counts;
    CPropTree tree;
    const CPropTreeItem* model = ModelRows(tree);
    auto* target = tree.NewItem<CPropTreeItem>();
    tree.SetListener(&counts);
    tree.BeginUpdate();
    tree.BeginReset();
    ASSERT_TRUE(tree.CopyChildren(*target, *model));
    tree.EndReset();
    tree.EndUpdate();
    EXPECT_EQ(counts.refreshed, 1);
    tree.SetListener(nullptr);
}

// Entry descriptions follow their entries as entries are added in order,
// grow the list, and are copied with it.
TEST(PropTreeCopy, EntryDescriptionsStayWithTheirEntries) {
    CPropTree tree;
    for (const bool sorted : {false, true}) {
        auto* combo = tree.NewItem<CPropTreeItemCombo>();
        combo->CreateComboBox(sorted ? CBS_SORT : 0);
        combo->AddString("M");
        combo->SetEntryInfo(0, "middle");
        combo->SetEntryInfo(5, "no such entry");
        for (const char* label : {"A", "Z", "B", "Y", "C", "X", "D"}) combo->AddString(label);
        combo->SetEntryInfo(static_cast<size_t>(combo->SendMessage(CB_GETCOUNT, 0, 0) - 1), "last");
        std::string seen;
        for (size_t i = 0; i < combo->GetEntries().size(); ++i)
            seen += std::string(combo->GetEntries()[i].label.c_str()) + "(" + combo->GetEntryInfo(i) + ")";
        EXPECT_EQ(seen, sorted ? "A()B()C()D()M(middle)X()Y()Z(last)" : "M(middle)A()Z()B()Y()C()X()D(last)");
        EXPECT_STREQ(combo->GetEntryInfo(99), "");
        auto* copy = tree.NewItem<CPropTreeItemCombo>();
        copy->CopyShownFrom(*combo);
        copy->AddString("0");
        copy->SetEntryInfo(0, "zero");
        std::string copied;
        for (size_t i = 0; i < copy->GetEntries().size(); ++i)
            copied += std::string(copy->GetEntries()[i].label.c_str()) + "(" + copy->GetEntryInfo(i) + ")";
        EXPECT_EQ(copied, sorted ? "0(zero)A()B()C()D()M(middle)X()Y()Z(last)" : "M(zero)A()Z()B()Y()C()X()D(last)0()");
        EXPECT_STREQ(combo->GetEntryInfo(0), sorted ? "" : "middle") << "the original keeps its own";
    }
}

}  // namespace
