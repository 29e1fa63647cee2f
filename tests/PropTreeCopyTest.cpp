// SPDX-License-Identifier: MIT
// CopyShownFrom: a row made like another shows the same, shares the pooled
// texts and keeps its own value when it changes.
#include <gtest/gtest.h>

#include <string>

#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

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

}  // namespace
