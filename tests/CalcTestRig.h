// SPDX-License-Identifier: MIT
#pragma once
// A register tree, its field table and the calculator wired to two recording
// boxes the way the dialog wires them: writing the hex box runs ApplyHexValue
// inside the write. Every box write and every row change lands in one log, so
// tests can check the order of what happens.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"
#include "defs/RegisterMap.h"
#include "tests/ChainedValueBox.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"
#include "tree/PropTreeListener.h"

// A box that also logs every write, before the change is announced.
class RecordingBox : public ChainedValueBox {
public:
    RecordingBox(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}

protected:
    void OnWritten(const std::string& newText) override { m_log.push_back(m_name + " " + newText); }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class RowChangeLog : public CPropTreeListener {
public:
    explicit RowChangeLog(std::vector<std::string>& log) : m_log(log) {}
    void OnItemInserted(CPropTreeItem*) override {}
    void OnItemChanged(CPropTreeItem* item) override { m_log.push_back(std::string("row ") + item->GetLabelText()); }
    void OnItemsRefreshed() override { m_log.push_back("refresh"); }
    void OnFocusChanged(CPropTreeItem*) override {}
    void OnResetBegin() override {}
    void OnResetEnd() override {}

private:
    std::vector<std::string>& m_log;
};

struct CalcRig {
    CalcRig() {
        hex.onChange = [this] { calc.ApplyHexValue(); };
        tree.SetListener(&rowLog);
    }
    CalcRig(const CalcRig&) = delete;
    CalcRig& operator=(const CalcRig&) = delete;

    // Loads definitions text into the tree and the table.
    void Load(const std::string& definitions) {
        tree.SetListener(nullptr);
        loadResult = LoadDefinitionsText(map, definitions, "tavlin.xml");
        tree.SetListener(&rowLog);
    }

    CPropTreeItem* AddSet(const char* label) {
        auto* row = tree.InsertItem(new CPropTreeItem, nullptr);
        row->SetLabelText(label);
        return row;
    }
    CRegisterItem* AddRegister(CPropTreeItem* set, const char* label, int bits) {
        auto* reg = new CRegisterItem;
        tree.InsertItem(reg, set);
        reg->SetLabelText(label);
        reg->m_nBits = bits;
        return reg;
    }
    CPropTreeItemEdit* AddEdit(CRegisterItem* reg, const char* label, int low, int high, const char* text) {
        auto* row = new CPropTreeItemEdit;
        tree.InsertItem(row, reg);
        row->SetLabelText(label);
        row->SetItemValue(reinterpret_cast<LPARAM>(text));
        table.Set(row, FieldSpan{low, high, false});
        return row;
    }
    CPropTreeItemCombo* AddCombo(CRegisterItem* reg, const char* label, int low, int high,
                                 const std::vector<std::pair<const char*, LPARAM>>& entries, LPARAM value) {
        auto* row = new CPropTreeItemCombo;
        tree.InsertItem(row, reg);
        row->CreateComboBox(CBS_SORT);
        row->SetLabelText(label);
        for (const auto& [entryLabel, data] : entries) {
            const LRESULT index = row->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entryLabel));
            row->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data);
        }
        row->SetItemValue(value);
        table.Set(row, FieldSpan{low, high, true});
        return row;
    }

    // What the user does in an edit row: the tree takes the text and focuses
    // the row, then the dialog composes the row's register.
    void UserEnters(CPropTreeItem* row, const char* text) {
        tree.UserCommitValue(row, reinterpret_cast<LPARAM>(text));
        calc.ShowRegisterValue(row);
    }

    static std::string TextOf(const CPropTreeItem* row) {
        return static_cast<const CPropTreeItemEdit*>(row)->GetText();
    }

    std::vector<std::string> log;
    RowChangeLog rowLog{log};
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    CFieldTable& table = map.Fields();
    LoadReport loadResult;
    RecordingBox hex{"hex", log};
    RecordingBox dec{"dec", log};
    CRegisterCalculator calc{map, hex, dec};
};
