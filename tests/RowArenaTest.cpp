// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"
#include "tree/PropTreeItemStatic.h"
#include "tree/RowArena.h"

namespace {

bool Aligned(const void* place) { return reinterpret_cast<std::uintptr_t>(place) % CRowArena::kAlignment == 0; }

// Places never overlap, are aligned and hold what is written to them, for
// sizes from one byte to more than a block.
TEST(RowArena, PlacesAreAlignedAndApart) {
    CRowArena arena;
    struct Placed {
        unsigned char* place;
        size_t bytes;
    };
    std::vector<Placed> placed;
    const size_t sizes[] = {1, 7, 8, 9, 48, 56, 112, 4096, 16 * 1024 + 1, 70 * 1024, 3};
    for (int round = 0; round < 40; ++round) {
        for (const size_t bytes : sizes) {
            auto* place = static_cast<unsigned char*>(arena.Allocate(bytes));
            ASSERT_TRUE(Aligned(place)) << bytes;
            std::memset(place, static_cast<int>(placed.size() & 0xFF), bytes);
            placed.push_back({place, bytes});
        }
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t b = 0; b < placed[i].bytes; ++b)
            ASSERT_EQ(placed[i].place[b], static_cast<unsigned char>(i & 0xFF)) << "place " << i << " byte " << b;
    }
    EXPECT_GE(arena.Capacity(), size_t{40} * (70 * 1024 + 16 * 1024));
}

// A released array is handed out again for the next array of its size and
// of no other size; arrays too large to be kept are not reused.
TEST(RowArena, ReleasedArraysComeBackBySize) {
    CRowArena arena;
    const struct {
        size_t released;
        size_t asked;
        bool reused;
    } cases[] = {
        {8, 8, true},   {24, 24, true},  {20, 24, true},  {24, 32, false}, {32, 24, false},
        {4096, 4096, true}, {4104, 4104, false}, {48, 40, false},
    };
    for (const auto& c : cases) {
        void* array = arena.AllocateArray(c.released);
        arena.ReleaseArray(array, c.released);
        void* again = arena.AllocateArray(c.asked);
        EXPECT_EQ(again == array, c.reused) << c.released << " then " << c.asked;
        ASSERT_TRUE(Aligned(again));
    }
    arena.ReleaseArray(nullptr, 8);  // nothing to keep
    EXPECT_NE(arena.AllocateArray(8), nullptr);
}

TEST(RowArena, ReleasedArraysOfOneSizeAreAllReused) {
    CRowArena arena;
    std::set<void*> released;
    for (int i = 0; i < 5; ++i) released.insert(arena.AllocateArray(48));
    for (void* array : released) arena.ReleaseArray(array, 48);
    std::set<void*> again;
    for (int i = 0; i < 5; ++i) again.insert(arena.AllocateArray(48));
    EXPECT_EQ(again, released);
    EXPECT_EQ(released.count(arena.AllocateArray(48)), 0u) << "the lists are used up";
}

TEST(RowArena, SwapExchangesBlocksAndLists) {
    CRowArena a;
    CRowArena b;
    void* kept = a.AllocateArray(16);
    a.ReleaseArray(kept, 16);
    const size_t capacity = a.Capacity();
    a.Swap(b);
    EXPECT_EQ(a.Capacity(), 0u);
    EXPECT_EQ(b.Capacity(), capacity);
    EXPECT_EQ(b.AllocateArray(16), kept);
    EXPECT_NE(a.AllocateArray(16), kept);
}

LPARAM Text(const char* s) { return reinterpret_cast<LPARAM>(s); }
std::string ValueText(const CPropTreeItem* row) { return reinterpret_cast<const char*>(row->GetItemValue()); }

// Rows made by the tree read and behave as rows made with new, and both
// kinds can stand side by side under one parent.
TEST(PropTreeNewItem, RowsOfEveryKindBehaveAsRowsMadeWithNew) {
    CPropTree tree;
    auto* set = tree.NewItem<CPropTreeItem>();
    auto* reg = tree.NewItem<CPropTreeItemStatic>(set);
    auto* heapRow = tree.InsertItem(new CPropTreeItemEdit, reg);
    auto* edit = tree.NewItem<CPropTreeItemEdit>(reg);
    auto* combo = tree.NewItem<CPropTreeItemCombo>(reg);
    set->SetLabelText("SET");
    reg->SetItemValue(Text("0x12"));
    edit->SetLabelText("EN");
    for (int i = 0; i < 50; ++i) edit->SetItemValue(Text(std::string(static_cast<size_t>(i), 'x').c_str()));
    combo->CreateComboBox(CBS_SORT);
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text("On")), 1);
    combo->SendMessage(CB_SETITEMDATA, combo->SendMessage(CB_ADDSTRING, 0, Text("Off")), 0);
    combo->SetItemValue(1);

    EXPECT_EQ(tree.GetRootItem()->GetChild(), set);
    EXPECT_EQ(reg->GetParent(), set);
    ASSERT_EQ(reg->GetChildCount(), 3);
    EXPECT_EQ(reg->GetChildAt(0), heapRow);
    EXPECT_EQ(reg->GetChildAt(1), edit);
    EXPECT_EQ(reg->GetChildAt(2), combo);
    EXPECT_EQ(combo->GetIndexInParent(), 2);
    EXPECT_EQ(heapRow->GetSibling(), edit);
    EXPECT_EQ(combo->GetPropTree(), &tree);
    EXPECT_STREQ(set->GetLabelText(), "SET");
    EXPECT_EQ(ValueText(reg), "0x12");
    EXPECT_EQ(ValueText(edit), std::string(49, 'x'));
    EXPECT_EQ(combo->GetAttributeText(), "On");
    EXPECT_EQ(combo->GetKind(), PropRowKind::Combo);
}

// Under a row of another tree, or of no tree, the row is made with new: it
// must outlive the tree it was asked of.
TEST(PropTreeNewItem, UnderAnotherTreesRowTheRowOutlivesTheTreeAsked) {
    CPropTree owner;
    auto* reg = owner.NewItem<CPropTreeItemStatic>();
    CPropTreeItemEdit* edit = nullptr;
    {
        CPropTree asked;
        edit = asked.NewItem<CPropTreeItemEdit>(reg);
    }
    edit->SetItemValue(Text("0x7"));
    EXPECT_EQ(edit->GetParent(), reg);
    EXPECT_EQ(edit->GetPropTree(), &owner);
    EXPECT_EQ(ValueText(edit), "0x7");

    auto* loose = new CPropTreeItemStatic;
    CPropTree other;
    auto* child = other.NewItem<CPropTreeItemEdit>(loose);
    EXPECT_EQ(child->GetParent(), loose);
    EXPECT_EQ(child->GetPropTree(), nullptr);
    other.InsertItem(loose);
    EXPECT_EQ(child->GetPropTree(), &other);
}

// Many rows, and children arrays outgrown and reused, under many parents.
TEST(PropTreeNewItem, ManyRowsUnderManyParentsKeepTheirPlaces) {
    CPropTree tree;
    std::vector<std::vector<CPropTreeItem*>> children;
    std::vector<CPropTreeItem*> parents;
    for (int p = 0; p < 60; ++p) {
        parents.push_back(tree.NewItem<CPropTreeItemStatic>());
        children.emplace_back();
        // 0 to 59 children, and one parent of several thousand (its array leaves the arena).
        const int count = p == 30 ? 3000 : p;
        for (int c = 0; c < count; ++c) {
            CPropTreeItem* row = c % 3 == 0 ? static_cast<CPropTreeItem*>(tree.NewItem<CPropTreeItemCombo>(parents.back()))
                                            : tree.NewItem<CPropTreeItemEdit>(parents.back());
            children.back().push_back(row);
        }
    }
    ASSERT_EQ(tree.GetRootItem()->GetChildCount(), 60);
    for (size_t p = 0; p < parents.size(); ++p) {
        ASSERT_EQ(parents[p]->GetChildCount(), static_cast<int>(children[p].size())) << p;
        for (size_t c = 0; c < children[p].size(); ++c) {
            ASSERT_EQ(parents[p]->GetChildAt(static_cast<int>(c)), children[p][c]) << p << "/" << c;
            ASSERT_EQ(children[p][c]->GetIndexInParent(), static_cast<int>(c));
            ASSERT_EQ(children[p][c]->GetParent(), parents[p]);
        }
    }
}

// The rows made by the tree go with their texts and storage when rows are
// swapped, and stay readable after the tree they were made in is gone.
TEST(PropTreeNewItem, SwappedRowsOutliveTheTreeTheyWereMadeIn) {
    CPropTree window;
    auto* old = window.InsertItem(new CPropTreeItemEdit);
    old->SetLabelText("old");
    std::vector<CPropTreeItemEdit*> rows;
    {
        CPropTree loaded;
        auto* set = loaded.NewItem<CPropTreeItem>();
        for (int i = 0; i < 100; ++i) {
            auto* row = loaded.NewItem<CPropTreeItemEdit>(set);
            row->SetLabelText(("F" + std::to_string(i)).c_str());
            row->SetItemValue(Text("0x0"));
            rows.push_back(row);
        }
        window.SwapRows(loaded);
        EXPECT_EQ(loaded.GetRootItem()->GetChild(), old);
        EXPECT_EQ(old->GetPropTree(), &loaded);
    }
    CPropTreeItem* set = window.GetRootItem()->GetChild();
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->GetChildCount(), 100);
    EXPECT_EQ(window.GetRootItem()->GetChildCount(), 1);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(rows[static_cast<size_t>(i)]->GetPropTree(), &window);
        EXPECT_EQ(rows[static_cast<size_t>(i)]->GetLabelText(), "F" + std::to_string(i));
        rows[static_cast<size_t>(i)]->SetItemValue(Text("0x123456789abcdef0123"));
        EXPECT_EQ(ValueText(rows[static_cast<size_t>(i)]), "0x123456789abcdef0123");
    }
    auto* more = window.NewItem<CPropTreeItemEdit>(set);
    EXPECT_EQ(more->GetIndexInParent(), 100);
    EXPECT_EQ(set->GetChildAt(99), rows.back());
}

}  // namespace

namespace {

LPARAM Label(const std::string& s) { return reinterpret_cast<LPARAM>(s.c_str()); }

std::vector<std::string> LabelsOf(const CPropTreeItemCombo& combo) {
    std::vector<std::string> labels;
    for (const auto& entry : combo.GetEntries()) labels.push_back(entry.label);
    return labels;
}

// Lists filled one after another reuse the arrays the ones before outgrew;
// each must keep exactly its own entries, in order.
TEST(PropTreeNewItem, ListsGrownOneAfterAnotherKeepTheirEntries) {
    CPropTree tree;
    auto* reg = tree.NewItem<CPropTreeItemStatic>();
    std::vector<CPropTreeItemCombo*> combos;
    for (int list = 0; list < 40; ++list) {
        auto* combo = tree.NewItem<CPropTreeItemCombo>(reg);
        combo->CreateComboBox(list % 2 ? CBS_SORT : 0);
        for (int i = 0; i < list; ++i) {
            const std::string label = "L" + std::to_string(list) + "_" + std::to_string(900 - i);
            const LRESULT index = combo->AddString(label.c_str());
            ASSERT_EQ(combo->SetItemData(static_cast<WPARAM>(index), list * 1000 + i), 0);
        }
        combos.push_back(combo);
    }
    for (int list = 0; list < 40; ++list) {
        const CPropTreeItemCombo& combo = *combos[static_cast<size_t>(list)];
        ASSERT_EQ(combo.GetEntries().size(), static_cast<size_t>(list));
        for (int i = 0; i < list; ++i) {
            // Sorted lists hold "L_861" ... "L_900": in reverse order of adding: labels fall as i rises.
            const size_t at = static_cast<size_t>(list % 2 ? list - 1 - i : i);
            EXPECT_EQ(combo.GetEntries()[at].label, "L" + std::to_string(list) + "_" + std::to_string(900 - i));
            EXPECT_EQ(combo.GetEntries()[at].data, list * 1000 + i);
        }
    }
}

// A list begun outside any tree keeps its heap array and labels until it is
// inserted; what is added after goes on from there.
TEST(PropTreeNewItem, ListBegunOutsideATreeGrowsOnInside) {
    CPropTree tree;
    auto* combo = new CPropTreeItemCombo;
    combo->CreateComboBox(0);
    EXPECT_EQ(combo->SendMessage(CB_INITSTORAGE, 2), 2);
    combo->AddString("a");
    combo->AddString("b");
    tree.InsertItem(combo, tree.NewItem<CPropTreeItemStatic>());
    for (const char* label : {"c", "d", "e", "f", "g"}) combo->AddString(label);
    EXPECT_EQ(LabelsOf(*combo), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(combo->SendMessage(CB_INITSTORAGE, 100), 107) << "room for the entries there and those to come";
    EXPECT_EQ(combo->SendMessage(CB_INITSTORAGE, 0), 107);
    EXPECT_EQ(LabelsOf(*combo), (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g"}));
}

// The messages and the calls without them agree, including before the list exists.
TEST(PropTreeNewItem, AddStringAndSetItemDataAnswerAsTheirMessages) {
    CPropTree tree;
    auto* combo = tree.NewItem<CPropTreeItemCombo>();
    EXPECT_EQ(combo->AddString("x"), CB_ERR) << "no list yet";
    EXPECT_EQ(combo->SetItemData(0, 1), CB_ERR);
    combo->CreateComboBox(CBS_SORT);
    EXPECT_EQ(combo->AddString("b"), 0);
    EXPECT_EQ(combo->SendMessage(CB_ADDSTRING, 0, Label("a")), 0);
    EXPECT_EQ(combo->AddString(nullptr), 0) << "null reads as the empty label";
    EXPECT_EQ(combo->SetItemData(2, 5), 0);
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, 2), 5);
    EXPECT_EQ(combo->SetItemData(3, 5), CB_ERR);
    EXPECT_EQ(combo->SetItemData(static_cast<WPARAM>(CB_ERR), 5), CB_ERR);
    EXPECT_EQ(LabelsOf(*combo), (std::vector<std::string>{"", "a", "b"}));
}

// Swapped drop-down rows keep their lists after the tree they were made in is gone.
TEST(PropTreeNewItem, SwappedListsOutliveTheTreeTheyWereMadeIn) {
    CPropTree window;
    CPropTreeItemCombo* combo = nullptr;
    {
        CPropTree loaded;
        combo = loaded.NewItem<CPropTreeItemCombo>(loaded.NewItem<CPropTreeItemStatic>());
        combo->CreateComboBox(CBS_SORT);
        for (const char* label : {"Slow", "Fast", "Medium"}) combo->SetItemData(static_cast<WPARAM>(combo->AddString(label)), 1);
        window.SwapRows(loaded);
    }
    combo->AddString("Auto");
    EXPECT_EQ(LabelsOf(*combo), (std::vector<std::string>{"Auto", "Fast", "Medium", "Slow"}));
    combo->SetItemValue(1);
    EXPECT_EQ(combo->GetAttributeText(), "Fast");
}

}  // namespace
