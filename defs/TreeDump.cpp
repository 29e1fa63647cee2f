// SPDX-License-Identifier: MIT
#include "defs/TreeDump.h"

#include <string>

#include "defs/RegisterMap.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

namespace {

void DumpField(std::ostream& out, const CPropTreeItem* row, const CFieldTable& table) {
    out << "field " << row->GetLabelText();
    if (const FieldSpan* span = table.Find(row)) out << ' ' << span->nLowBit << ".." << span->nHighBit;
    if (const auto* combo = dynamic_cast<const CPropTreeItemCombo*>(row)) {
        out << " combo " << combo->GetItemValue() << " [";
        const char* separator = "";
        for (const auto& entry : combo->GetEntries()) {
            out << separator << entry.label << '=' << entry.data;
            separator = ", ";
        }
        out << ']';
        if (combo->HasReadNames()) {
            out << " read [";
            separator = "";
            for (const auto& entry : combo->GetNamingEntries()) {
                out << separator << entry.label << '=' << entry.data;
                separator = ", ";
            }
            out << ']';
        }
        if (const char* other = combo->GetDefaultLabel()) out << " default " << other;
    } else if (const auto* edit = dynamic_cast<const CPropTreeItemEdit*>(row)) {
        out << " edit \"" << edit->GetText() << '"';
    }
}

void DumpRow(std::ostream& out, const CPropTreeItem* row, int depth, const CFieldTable& table) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ');
    if (depth == 0) {
        out << "set " << row->GetLabelText();
    } else if (const auto* reg = dynamic_cast<const CRegisterItem*>(row)) {
        out << "register " << reg->GetLabelText() << ' ' << reg->m_nBits << " bits value \""
            << reg->GetAttributeText() << '"';
    } else {
        DumpField(out, row, table);
    }
    out << " \"" << row->GetInfoText() << "\"\n";
    for (const CPropTreeItem* child = row->GetChild(); child; child = child->GetSibling())
        DumpRow(out, child, depth + 1, table);
}

}  // namespace

void DumpTree(std::ostream& out, const CRegisterMap& map) {
    for (const CPropTreeItem* set = map.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling())
        DumpRow(out, set, 0, map.Fields());
}
