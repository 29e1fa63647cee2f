// SPDX-License-Identifier: MIT
#include "ui/AddCoreCommand.h"

#include <string>

#include "defs/CoreRegisters.h"
#include "defs/RegisterMap.h"
#include "framework/InputBox.h"
#include "framework/MessageBox.h"

void CAddCoreCommand::AskAndAdd() {
    const CoreInfo* shown = m_map.Core();
    const auto answer = AfxInputBox("The Cortex-M core whose registers to add (" + KnownCoreNames() + "):",
                                    std::string(shown ? shown->name : "CM4"));
    if (!answer || answer->empty()) return;
    const CoreInfo* core = FindCore(*answer);
    if (!core) {
        AfxMessageBox(("tavlin has no registers for the core \"" + *answer + "\"; it knows " + KnownCoreNames() + ".")
                          .c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Add(*core);
}

void CAddCoreCommand::Add(const CoreInfo& core) {
    LoadReport report;
    CPropTree& tree = m_map.Tree();
    const int setsBefore = tree.GetRootItem()->GetChildCount();
    tree.BeginReset();
    const int added = AddCoreRegisters(m_map, core, report);
    tree.EndReset();
    if (m_grown) m_grown();
    std::string text;
    if (!added) {
        text = "The map has every register set of the " + std::string(core.title) + " already.";
    } else {
        text = "Added " + std::to_string(added) + " register sets for the " + std::string(core.title) + ":";
        const CPropTreeItem* set = tree.GetRootItem()->GetChild();
        for (int i = 0; set; set = set->GetSibling(), ++i)
            if (i >= setsBefore) text += std::string(i > setsBefore ? ", " : " ") + set->GetLabelText();
        text += ".";
    }
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
}
