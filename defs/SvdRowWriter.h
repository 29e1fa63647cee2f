// SPDX-License-Identifier: MIT
#pragma once
// Makes the rows of an SVD load from the expansion's records: each
// peripheral instance a register set, each register a register row, each
// field a drop-down row when it has named values and an edit row otherwise
// (a register without fields gets one edit row of all its bits), with their
// info texts, start values and spans in the field table. The one place that
// knows the tree.
#include <cstdint>
#include <string>
#include <vector>

#include "defs/SvdLoader.h"
#include "defs/SvdRecords.h"

class CPropTree;
class CPropTreeItem;
class CRegisterItem;
class CFieldTable;

class SvdRowWriter : public SvdRecordSink {
public:
    // Rows go to the top level of `tree`, spans to `table`; counts and
    // problems to `result`.
    SvdRowWriter(CPropTree& tree, CFieldTable& table, SvdLoadResult& result);

    void Peripheral(const SvdPeripheralRecord& peripheral) override;
    void Register(const SvdRegisterRecord& reg) override;
    void Field(const SvdFieldRecord& field) override;
    void Problem(const SvdProblemRecord& problem) override;

private:
    // A field row made like the one at the same place under an earlier
    // register of the same layout; false when there is none.
    bool CopyField(const SvdFieldRecord& field);
    void EditRow(const char* label, int lsb, int msb, std::string_view access, const std::string& info);
    void ComboRow(const SvdFieldRecord& field, const std::string& info);

    CPropTree& m_tree;
    CFieldTable& m_table;
    SvdLoadResult& m_result;
    CPropTreeItem* m_set = nullptr;  // of the last peripheral record
    CRegisterItem* m_reg = nullptr;  // of the last register record
    std::uint64_t m_reset = 0;       // of the last register record
    // The first register row of each layout, whose field rows later
    // registers of the layout copy, and where the copying is.
    std::vector<CRegisterItem*> m_firstOfLayout;
    const CRegisterItem* m_like = nullptr;
    int m_nextField = 0;
    std::string m_text;              // reused for the texts of each row
    std::string m_label;
};
