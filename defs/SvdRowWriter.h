// SPDX-License-Identifier: MIT
#pragma once
// Makes the rows of an SVD load from the expansion's records: each
// peripheral instance a register set, each register a register row, each
// field a drop-down row when it has named values and an edit row otherwise
// (a register without fields gets one edit row of all its bits), with their
// info texts, start values and spans in the field table. The one place that
// knows the tree and the map.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "defs/FieldTable.h"
#include "defs/SvdLoader.h"
#include "defs/SvdRecords.h"

class CFieldTable;
class CPropTree;
class CPropTreeItem;
class CRegisterItem;
class CRegisterMap;

class SvdRowWriter : public SvdRecordSink {
public:
    // Rows go to the top level of the map's tree, spans to its field table,
    // addresses and reset values to the map; counts and problems to `result`.
    SvdRowWriter(CRegisterMap& map, LoadReport& result);

    void Peripheral(const SvdPeripheralRecord& peripheral) override;
    void Register(const SvdRegisterRecord& reg) override;
    void Field(const SvdFieldRecord& field) override;
    void Problem(const SvdProblemRecord& problem) override;
    // Copies the field rows of the first register of the layout whole.
    bool FieldsAlike(const SvdRegisterRecord& reg, std::uint64_t fields) override;

private:
    // A field row made like the one at the same place under an earlier
    // register of the same layout; false when there is none.
    bool CopyField(const SvdFieldRecord& field);
    void EditRow(const char* label, int lsb, int msb, std::string_view access, const std::string& info);
    void ComboRow(const SvdFieldRecord& field, const std::string& info);

    CRegisterMap& m_map;
    CPropTree& m_tree;
    CFieldTable& m_table;
    LoadReport& m_result;
    CPropTreeItem* m_set = nullptr;  // of the last peripheral record
    CRegisterItem* m_reg = nullptr;  // of the last register record
    std::uint64_t m_reset = 0;       // of the last register record
    // What the first register of each layout was given, which later
    // registers of the layout are given too: its field rows, their spans,
    // and what its fields told of the register.
    struct Layout {
        CRegisterItem* first = nullptr;
        std::uint32_t firstSpan = 0;  // in m_spans
        std::uint32_t spans = 0;
        bool readChangesIt = false;   // a field has a readAction
        std::string infoSuffix;       // what fields with modifiedWriteValues added to the info
    };
    std::vector<Layout> m_layouts;  // by layout number
    std::vector<FieldSpan> m_spans;
    std::uint64_t m_recording = 0;  // the layout whose first register the fields being written are of
    const CRegisterItem* m_like = nullptr;  // the first register of the last register's layout, when not that
    std::uint64_t m_likeLayout = 0;
    int m_nextField = 0;
    // The C names of the registers: the map's table entry of each distinct
    // entry, by its key (SetHeaderNames), and the last peripheral's affixes.
    std::unordered_map<std::string, std::uint32_t> m_cEntries;
    std::string m_cKey;
    std::string m_instancePrefix;  // of the last peripheral record, as its registers are named in C
    std::string m_prependToName;
    std::string m_appendToName;
    bool m_core = false;  // the last peripheral is of a core map
    void SetHeaderNames(const SvdRegisterRecord& reg);
    std::string m_text;              // reused for the texts of each row
    std::string m_label;
};
