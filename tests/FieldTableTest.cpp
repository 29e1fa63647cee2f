// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "defs/FieldTable.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemEdit.h"

namespace {

TEST(FieldTable, LastWriteForARowWinsInAnyOrder) {
    CPropTree tree;
    std::vector<CPropTreeItem*> rows;
    for (int i = 0; i < 100; ++i) rows.push_back(tree.InsertItem(new CPropTreeItemEdit));
    CFieldTable table;
    for (int i = 99; i >= 0; i -= 2) table.Set(rows[static_cast<size_t>(i)], FieldSpan{i, i, false});
    EXPECT_EQ(table.Find(rows[1])->nLowBit, 1);
    for (int i = 0; i < 100; ++i) table.Set(rows[static_cast<size_t>(i)], FieldSpan{i, i + 1, i % 2 == 0});
    table.Set(rows[5], FieldSpan{50, 60, true});
    for (int i = 0; i < 100; ++i) {
        const FieldSpan* span = table.Find(rows[static_cast<size_t>(i)]);
        ASSERT_NE(span, nullptr) << i;
        EXPECT_EQ(span->nLowBit, i == 5 ? 50 : i);
        EXPECT_EQ(span->bCombo, i == 5 || i % 2 == 0);
    }
    EXPECT_EQ(table.Find(tree.GetRootItem()), nullptr);
}

}  // namespace

namespace {

// Shrinking keeps every entry (the last write for a row winning, whatever
// the order of the writes) and, for rows entered once each as a load enters
// them, leaves at most an eighth of the table as room to spare.
TEST(FieldTable, ShrinkToFitKeepsEveryEntryAndLittleRoom) {
    for (const int count : {0, 1, 7, 100, 1000, 4097}) {
        CPropTree tree;
        std::vector<CPropTreeItem*> rows;
        for (int i = 0; i < count; ++i) rows.push_back(tree.NewItem<CPropTreeItemEdit>());
        CFieldTable once;
        for (CPropTreeItem* row : rows) once.Set(row, FieldSpan{1, 2, false});
        once.ShrinkToFit();
        ASSERT_EQ(once.Size(), static_cast<size_t>(count));
        EXPECT_LE(once.Capacity() - once.Size(), once.Size() / 8) << count;
        for (CPropTreeItem* row : rows) ASSERT_NE(once.Find(row), nullptr);

        CFieldTable table;
        for (int i = count - 1; i >= 0; --i) table.Set(rows[static_cast<size_t>(i)], FieldSpan{0, 0, false});
        for (int i = 0; i < count; ++i) table.Set(rows[static_cast<size_t>(i)], FieldSpan{i, i + 1, i % 3 == 0});
        table.ShrinkToFit();
        ASSERT_EQ(table.Size(), static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const FieldSpan* span = table.Find(rows[static_cast<size_t>(i)]);
            ASSERT_NE(span, nullptr) << count << "/" << i;
            EXPECT_EQ(span->nLowBit, i);
            EXPECT_EQ(span->nHighBit, i + 1);
            EXPECT_EQ(span->bCombo, i % 3 == 0);
        }
        table.Set(tree.GetRootItem(), FieldSpan{3, 4, true});  // still takes entries after
        EXPECT_EQ(table.Find(tree.GetRootItem())->nHighBit, 4);
    }
}

}  // namespace
