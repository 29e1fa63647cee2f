// SPDX-License-Identifier: MIT
#pragma once
// A row found by its labels from the top, e.g. {"Timers", "CTRL", "MODE"}.
#include <string>
#include <vector>

#include "tree/PropTree.h"

// The row, or null when a label on the way is missing.
inline CPropTreeItem* FindRow(CPropTree& tree, const std::vector<std::string>& path) {
    CPropTreeItem* row = tree.GetRootItem();
    for (const std::string& label : path) {
        CPropTreeItem* child = row->GetChild();
        while (child && label != child->GetLabelText()) child = child->GetSibling();
        if (!child) return nullptr;
        row = child;
    }
    return row;
}
