// SPDX-License-Identifier: MIT
#include "tests/LoadedTreeCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterMap.h"
#include "defs/TokenReader.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

namespace {

constexpr size_t kMaxTokenLength = CTokenReader::kTokenCapacity;
constexpr size_t kMaxFieldLabelLength = 255;

class Checker {
public:
    Checker(const CFieldTable& table, const TreeRules& rules, TreeCheckReport& report)
        : m_table(table), m_rules(rules), m_report(report) {}

    void CheckChildren(const CPropTreeItem& parent, int depth) {
        int index = 0;
        const CPropTreeItem* viaSibling = parent.GetChild();
        for (; index < parent.GetChildCount(); ++index) {
            const CPropTreeItem* row = parent.GetChildAt(index);
            if (row != viaSibling) Problem(parent, "sibling chain differs from the child list");
            if (row->GetParent() != &parent) Problem(*row, "parent link is wrong");
            if (row->GetIndexInParent() != index) Problem(*row, "index in parent is wrong");
            CheckRow(*row, depth);
            viaSibling = viaSibling ? viaSibling->GetSibling() : nullptr;
        }
        if (viaSibling) Problem(parent, "sibling chain runs past the last child");
    }

private:
    void CheckRow(const CPropTreeItem& row, int depth) {
        CheckText(row, row.GetLabelText(), depth == 2 ? m_rules.fieldLabelLimit : m_rules.textLimit, "label");
        CheckText(row, row.GetInfoText(), m_rules.textLimit, "info");
        switch (depth) {
        case 0: CheckSet(row); break;
        case 1: CheckRegister(row); break;
        case 2: CheckField(row); break;
        default: Problem(row, "row below a field row"); break;
        }
        CheckChildren(row, depth + 1);
    }

    void CheckSet(const CPropTreeItem& row) {
        ++m_report.sets;
        if (row.GetKind() != PropRowKind::Plain) Problem(row, "a top-level row is not a plain set row");
    }

    void CheckRegister(const CPropTreeItem& row) {
        ++m_report.registers;
        const auto* reg = dynamic_cast<const CRegisterItem*>(&row);
        if (!reg) return Problem(row, "a child of a set is not a register row");
        const auto* valueText = reinterpret_cast<const char*>(reg->GetItemValue());
        if (!valueText) return Problem(row, "register value text is null");
        CheckText(row, valueText, m_rules.textLimit, "value text");
        if (reg->GetAttributeText() != valueText) Problem(row, "register shows another text than its value");
    }

    void CheckField(const CPropTreeItem& row) {
        ++m_report.fields;
        const FieldSpan* span = m_table.Find(&row);
        if (const auto* combo = dynamic_cast<const CPropTreeItemCombo*>(&row)) {
            if (span && !span->bCombo) Problem(row, "drop-down row has an edit span");
            CheckCombo(*combo);
        } else if (const auto* edit = dynamic_cast<const CPropTreeItemEdit*>(&row)) {
            if (span && span->bCombo) Problem(row, "edit row has a drop-down span");
            const auto* text = reinterpret_cast<const char*>(edit->GetItemValue());
            if (!text || edit->GetText() != text) Problem(row, "edit row value is not its text");
        } else {
            Problem(row, "a child of a register is neither an edit nor a drop-down row");
        }
        // A field whose definitions file ended inside its element may lack a
        // span; the calculator then leaves the row alone. Every complete one has one.
        if (m_rules.spansInsideRegister) CheckSpanInsideRegister(row, span);
    }

    void CheckSpanInsideRegister(const CPropTreeItem& row, const FieldSpan* span) {
        if (!span) return Problem(row, "field row has no span");
        const auto* reg = dynamic_cast<const CRegisterItem*>(row.GetParent());
        if (!reg) return;
        if (span->nLowBit < 0 || span->nLowBit > span->nHighBit || span->nHighBit >= reg->m_nBits) {
            Problem(row, "span " + std::to_string(span->nHighBit) + ":" + std::to_string(span->nLowBit) +
                             " is not inside its register of " + std::to_string(reg->m_nBits) + " bits");
        }
    }

    void CheckCombo(const CPropTreeItemCombo& combo) {
        const auto& entries = combo.GetEntries();
        m_report.choices += static_cast<int>(entries.size());
        for (const auto& entry : entries) {
            if (entry.label.size() > m_rules.choiceLabelLimit)
                Problem(combo, "choice label longer than " + std::to_string(m_rules.choiceLabelLimit));
            if (entry.label.find('\0') != std::string::npos) Problem(combo, "choice label holds a NUL byte");
        }
        const auto labelLess = [](const CPropTreeItemCombo::Entry& a, const CPropTreeItemCombo::Entry& b) {
            return std::lexicographical_compare(a.label.begin(), a.label.end(), b.label.begin(), b.label.end(),
                                                [](char x, char y) {
                                                    return std::tolower(static_cast<unsigned char>(x)) <
                                                           std::tolower(static_cast<unsigned char>(y));
                                                });
        };
        if (m_rules.sortedChoices && !std::is_sorted(entries.begin(), entries.end(), labelLess))
            Problem(combo, "choices are not sorted");
        const int selected = combo.GetCurSel();
        if (selected < -1 || selected >= static_cast<int>(entries.size())) {
            return Problem(combo, "selection outside the list");
        }
        if (selected >= 0 && entries[static_cast<size_t>(selected)].data != combo.GetItemValue()) {
            Problem(combo, "selected entry does not carry the row's value");
        }
        (void)combo.GetAttributeText();
    }

    void CheckText(const CPropTreeItem& row, const char* text, size_t limit, const char* what) {
        if (!text) return Problem(row, std::string(what) + " is null");
        if (std::strlen(text) > limit) Problem(row, std::string(what) + " is longer than " + std::to_string(limit));
    }

    void Problem(const CPropTreeItem& row, const std::string& what) {
        std::string label(row.GetLabelText());
        if (label.size() > 40) label = label.substr(0, 40) + "...";
        m_report.problems.push_back("row '" + label + "': " + what);
    }

    const CFieldTable& m_table;
    const TreeRules& m_rules;
    TreeCheckReport& m_report;
};

void ExpectCount(TreeCheckReport& report, const char* what, int walked, int loaded) {
    if (walked != loaded) {
        report.problems.push_back(std::string(what) + ": the loader counted " + std::to_string(loaded) +
                                  ", the tree holds " + std::to_string(walked));
    }
}

}  // namespace

std::string TreeCheckReport::Describe() const {
    std::ostringstream out;
    for (const auto& problem : problems) out << problem << '\n';
    return out.str();
}

TreeRules DefinitionsTreeRules() {
    TreeRules rules;
    rules.textLimit = kMaxTokenLength;
    rules.fieldLabelLimit = kMaxFieldLabelLength;
    rules.choiceLabelLimit = kMaxFieldLabelLength;
    rules.sortedChoices = true;
    return rules;
}

TreeRules SvdTreeRules() {
    TreeRules rules;
    rules.textLimit = SIZE_MAX;
    rules.fieldLabelLimit = SIZE_MAX;
    rules.choiceLabelLimit = SIZE_MAX;
    rules.spansInsideRegister = true;
    return rules;
}

TreeCheckReport CheckLoadedTree(CRegisterMap& map, const LoadedCounts& counts, const TreeRules& rules) {
    CPropTree& tree = map.Tree();
    const CFieldTable& table = map.Fields();
    TreeCheckReport report;
    Checker(table, rules, report).CheckChildren(*tree.GetRootItem(), 0);
    ExpectCount(report, "register sets", report.sets, counts.registerSets);
    ExpectCount(report, "registers", report.registers, counts.registers);
    ExpectCount(report, "fields", report.fields, counts.fields);
    if (table.Size() > static_cast<size_t>(report.fields)) {
        report.problems.push_back("the field table holds more spans than there are field rows");
    }
    std::vector<const CRegisterItem*> rows;
    for (const CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling())
        for (const CPropTreeItem* row = set->GetChild(); row; row = row->GetSibling())
            if (const auto* reg = dynamic_cast<const CRegisterItem*>(row)) rows.push_back(reg);
    if (!std::equal(rows.begin(), rows.end(), map.Registers().begin(), map.Registers().end()))
        report.problems.push_back("the map's registers are not the register rows in file order");
    return report;
}

TreeCheckReport CheckLoadedTree(CRegisterMap& map, const LoadReport& result) {
    const LoadedCounts counts{result.registerSets, result.registers, result.fields};
    TreeCheckReport report = CheckLoadedTree(map, counts, DefinitionsTreeRules());
    if (result.Ok() == result.Message().has_value()) report.problems.push_back("result disagrees with its message");
    return report;
}

std::vector<std::string> ExerciseLoadedTree(CPropTree& tree) {
    std::vector<std::string> problems;
    const auto visit = [&](auto& self, CPropTreeItem* parent) -> void {
        for (CPropTreeItem* row = parent->GetChild(); row; row = row->GetSibling()) {
            tree.UserSelectItem(row);
            if (tree.GetFocusedItem() != row) problems.push_back("selecting a row does not focus it");
            if (auto* combo = dynamic_cast<CPropTreeItemCombo*>(row)) {
                const LPARAM value = combo->GetEntries().empty() ? 7 : combo->GetEntries().back().data;
                tree.UserCommitValue(combo, value);
                if (combo->GetItemValue() != value) problems.push_back("a drop-down row lost a committed value");
            } else if (auto* edit = dynamic_cast<CPropTreeItemEdit*>(row)) {
                tree.UserCommitValue(edit, reinterpret_cast<LPARAM>("0x1f"));
                if (edit->GetText() != "0x1f") problems.push_back("an edit row lost a committed text");
            }
            self(self, row);
        }
    };
    visit(visit, tree.GetRootItem());
    tree.SetFocusedItem(nullptr);
    tree.RefreshItems();
    return problems;
}
