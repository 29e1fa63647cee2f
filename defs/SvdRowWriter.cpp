// SPDX-License-Identifier: MIT
#include "defs/SvdRowWriter.h"

#include <cstdint>

#include "bits/BitArithmetic.h"
#include "bits/FieldValue.h"
#include "bits/NumberFormatting.h"
#include "defs/RegisterMap.h"
#include "tree/PropTree.h"
#include "tree/PropTreeItemCombo.h"
#include "tree/PropTreeItemEdit.h"

namespace {

// Problems beyond this many are counted but not kept, so a hostile file of
// millions of faulty elements cannot fill memory with their texts.

// "0x" and the hex digits of `value`, lower case, as the calculator writes an address.
void AppendHex(std::string& out, std::uint64_t value) { out.append("0x").append(HexDigitsText(value)); }

// "TEXT; MORE", leaving out the separator when either side is empty.
void AppendPart(std::string& info, std::string_view part) {
    if (part.empty()) return;
    if (!info.empty()) info += "; ";
    info += part;
}

// An SVD access value as the view marks it: "read-only" and the write-only
// kinds ("write-only", "writeOnce"); every other value reads and writes.
RowAccess AccessOf(std::string_view access) {
    if (access == "read-only") return RowAccess::ReadOnly;
    if (access == "write-only" || access == "writeOnce") return RowAccess::WriteOnly;
    return RowAccess::ReadWrite;
}

}  // namespace

SvdRowWriter::SvdRowWriter(CRegisterMap& map, LoadReport& result)
    : m_map(map), m_tree(map.Tree()), m_table(map.Fields()), m_result(result) {}

void SvdRowWriter::Peripheral(const SvdPeripheralRecord& peripheral) {
    m_set = m_tree.NewItem<CPropTreeItem>(nullptr);
    ++m_result.registerSets;
    m_map.SetBaseAddress(*m_set, peripheral.baseAddress);
    m_label.assign(peripheral.name);
    m_set->SetLabelText(m_label.c_str());
    m_text.assign(peripheral.description);
    AppendPart(m_text, "base address ");
    AppendHex(m_text, peripheral.baseAddress);
    m_set->SetInfoText(m_text.c_str());
    m_instancePrefix.assign(peripheral.cInstancePrefix);
    m_prependToName.assign(peripheral.prependToName);
    m_appendToName.assign(peripheral.appendToName);
    m_core = peripheral.core;
}

void SvdRowWriter::SetHeaderNames(const SvdRegisterRecord& reg) {
    // Registers of one entry are many (arrays, peripheral instances): one key looked up a register.
    m_cKey.assign(m_instancePrefix).append(1, '\0').append(reg.cMacro).append(1, '\0').append(m_prependToName).append(1, '\0').append(m_appendToName);
    m_cKey += reg.hasFields ? '1' : '0';
    m_cKey += m_core ? '1' : '0';
    auto [it, added] = m_cEntries.try_emplace(m_cKey, 0);
    if (added) it->second = m_map.HeaderNames().Add({m_instancePrefix, reg.cMacro, m_prependToName, m_appendToName, reg.hasFields, m_core});
    m_map.HeaderNames().Give(m_map.Registers().size() - 1, it->second);
}

void SvdRowWriter::Register(const SvdRegisterRecord& reg) {
    m_reg = m_map.AddRegister(m_set);
    ++m_result.registers;
    SetHeaderNames(reg);
    m_map.SetAddress(*m_reg, reg.address);
    m_map.SetResetValue(*m_reg, reg.resetValue);
    m_label.assign(reg.label);
    m_reg->SetLabelText(m_label.c_str());
    m_reg->m_nBits = reg.bits;
    m_reset = reg.resetValue;
    m_reg->SetItemValue(reinterpret_cast<LPARAM>(FormatRegisterHex(reg.resetValue, reg.bits).c_str()));
    m_text.assign(reg.description);
    AppendPart(m_text, "address ");
    AppendHex(m_text, reg.address);
    m_text.append(", offset ");
    AppendHex(m_text, reg.offset);
    if (!reg.access.empty()) m_text.append(", ").append(reg.access);
    // What a debugger's read or write does beyond reading and writing bits.
    if (!reg.readAction.empty()) m_text.append(", readAction ").append(reg.readAction);
    if (!reg.modifiedWriteValues.empty()) m_text.append(", modifiedWriteValues ").append(reg.modifiedWriteValues);
    m_reg->SetInfoText(m_text.c_str());
    m_map.SetTargetAccess(*m_reg, AccessOf(reg.access), !reg.readAction.empty());
    m_like = nullptr;
    m_recording = 0;
    m_nextField = 0;
    if (reg.hasFields) {
        if (m_layouts.size() <= reg.layout) m_layouts.resize(reg.layout + 1);
        Layout& layout = m_layouts[reg.layout];
        if (layout.first) {
            m_like = layout.first;
            m_likeLayout = reg.layout;
        } else {
            layout.first = m_reg;
            layout.firstSpan = static_cast<std::uint32_t>(m_spans.size());
            m_recording = reg.layout;
        }
        return;
    }
    // Every register composes: one edit row holds all its bits.
    m_text.assign(reg.description);
    AppendPart(m_text, reg.access);
    EditRow(m_label.c_str(), 0, reg.bits - 1, reg.access, m_text);
}

bool SvdRowWriter::FieldsAlike(const SvdRegisterRecord&, std::uint64_t fields) {
    if (!m_like || m_nextField != 0) return false;
    const Layout& layout = m_layouts[m_likeLayout];
    if (layout.spans != fields || static_cast<std::uint64_t>(m_like->GetChildCount()) != fields) return false;
    if (!m_tree.CopyChildren(*m_reg, *m_like)) return false;
    // What the fields' records would have told of the register.
    if (layout.readChangesIt) m_map.SetTargetAccess(*m_reg, m_map.AccessOf(*m_reg), true);
    if (!layout.infoSuffix.empty()) {
        m_text.assign(m_reg->GetInfoText()).append(layout.infoSuffix);
        m_reg->SetInfoText(m_text.c_str());
    }
    for (std::uint32_t i = 0; i < layout.spans; ++i)
        m_table.Set(m_reg->GetChildAt(static_cast<int>(i)), m_spans[layout.firstSpan + i]);
    m_result.fields += static_cast<int>(layout.spans);
    m_nextField = static_cast<int>(layout.spans);
    return true;
}

bool SvdRowWriter::CopyField(const SvdFieldRecord& field) {
    if (!m_like || m_nextField >= m_like->GetChildCount()) return false;
    const CPropTreeItem& like = *m_like->GetChildAt(m_nextField);
    const bool combo = !field.values.empty();
    if ((like.GetKind() == PropRowKind::Combo) != combo) return false;
    CPropTreeItem* row = combo ? static_cast<CPropTreeItem*>(m_tree.NewItem<CPropTreeItemCombo>(m_reg))
                               : m_tree.NewItem<CPropTreeItemEdit>(m_reg);
    row->CopyShownFrom(like);
    ++m_result.fields;
    m_table.Set(row, FieldSpan{field.lsb, field.msb, combo, AccessOf(field.access)});
    return true;
}

void SvdRowWriter::Field(const SvdFieldRecord& field) {
    Layout* recording = m_recording ? &m_layouts[m_recording] : nullptr;
    if (recording) {
        ++recording->spans;
        m_spans.push_back(FieldSpan{field.lsb, field.msb, !field.values.empty(), AccessOf(field.access)});
    }
    if (!field.readAction.empty()) {
        m_map.SetTargetAccess(*m_reg, m_map.AccessOf(*m_reg), true);
        if (recording) recording->readChangesIt = true;
    }
    // A write's effect on a field is told on its register too, where a write to the chip starts.
    if (!field.modifiedWriteValues.empty()) {
        m_text.assign(", ").append(field.name).append(" modifiedWriteValues ").append(field.modifiedWriteValues);
        if (recording) recording->infoSuffix += m_text;
        std::string info = m_reg->GetInfoText();
        info += m_text;
        m_reg->SetInfoText(info.c_str());
    }
    const bool copied = CopyField(field);
    ++m_nextField;
    if (copied) return;
    m_text.assign(field.description);
    AppendPart(m_text, field.access);
    if (!field.readAction.empty()) AppendPart(m_text, "readAction " + std::string(field.readAction));
    if (!field.modifiedWriteValues.empty()) AppendPart(m_text, "modifiedWriteValues " + std::string(field.modifiedWriteValues));
    m_label.assign(field.name);
    if (field.values.empty()) {
        EditRow(m_label.c_str(), field.lsb, field.msb, field.access, m_text);
        return;
    }
    if (!field.otherValues.empty()) {
        AppendPart(m_text, "other values: ");
        for (size_t i = 0; i < field.otherValues.size(); ++i) {
            if (i) m_text += "; ";
            m_text += field.otherValues[i];
        }
    }
    if (!field.readValues.empty()) {
        // Both sets are told: the drop-down offers the write names, the row shows a read name.
        const std::uint64_t mask = FieldMask(field.lsb, field.msb);
        const auto list = [&](const char* title, std::span<const SvdNamedValueRecord> values,
                              std::span<const std::string_view> others) {
            std::string part = title;
            for (size_t i = 0; i < values.size(); ++i) {
                part += i ? "; " : " ";
                part.append(values[i].name).append(" = ").append(FormatFieldValue(values[i].value, "0x", mask));
            }
            for (const std::string_view other : others) part.append("; ").append(other).append(" = any other");
            AppendPart(m_text, part);
        };
        list("read:", field.readValues, field.readOtherValues);
        list("write:", field.values, {});
    }
    ComboRow(field, m_text);
}

void SvdRowWriter::Problem(const SvdProblemRecord& problem) {
    if (m_result.problems.Kept().size() >= m_result.problems.Capacity()) {
        m_result.problems.Add({});  // counted only
        return;
    }
    ::Problem kept = MakeProblem(problem.code, std::string(problem.text));
    kept.line = problem.place.Line();
    if (problem.path) kept.path = problem.path->Text();
    m_result.problems.Add(std::move(kept));
}

void SvdRowWriter::EditRow(const char* label, int lsb, int msb, std::string_view access, const std::string& info) {
    auto* row = m_tree.NewItem<CPropTreeItemEdit>(m_reg);
    ++m_result.fields;
    row->SetLabelText(label);
    row->SetInfoText(info.c_str());
    const std::uint64_t mask = FieldMask(lsb, msb);
    const std::string text = FormatFieldValue(ShiftRight64(m_reset, lsb) & mask, "0x", mask);
    row->SetItemValue(reinterpret_cast<LPARAM>(text.c_str()));
    m_table.Set(row, FieldSpan{lsb, msb, false, AccessOf(access)});
}

void SvdRowWriter::ComboRow(const SvdFieldRecord& field, const std::string& info) {
    const std::uint64_t mask = FieldMask(field.lsb, field.msb);
    auto itemValue = [mask](std::uint64_t value) { return static_cast<LPARAM>(DropDownItemValue(value, mask)); };
    auto* combo = m_tree.NewItem<CPropTreeItemCombo>(m_reg);
    combo->CreateComboBox(0);
    ++m_result.fields;
    combo->SetLabelText(m_label.c_str());
    combo->SetInfoText(info.c_str());
    // The write names (or the one set), then the read names, then the default of the set that names the value.
    const std::span<const std::string_view> defaults = field.readValues.empty() ? field.otherValues : field.readOtherValues;
    combo->SendMessage(CB_INITSTORAGE, field.values.size() + field.readValues.size() + (defaults.empty() ? 0 : 1), 0);
    std::string text;
    for (const auto set : {field.values, field.readValues}) {
        for (const SvdNamedValueRecord& entry : set) {
            text.assign(entry.name);
            const LRESULT index = combo->AddString(text.c_str());
            combo->SetItemData(static_cast<WPARAM>(index), itemValue(entry.value));
        }
    }
    if (!defaults.empty()) {
        text.assign(defaults.front());
        combo->AddString(text.c_str());
    }
    // Descriptions once all entries are in, so their list is sized once.
    size_t index = 0;
    for (const auto set : {field.values, field.readValues}) {
        for (const SvdNamedValueRecord& entry : set) {
            if (!entry.description.empty()) {
                text.assign(entry.description);
                combo->SetEntryInfo(index, text.c_str());
            }
            ++index;
        }
    }
    if (!field.readValues.empty()) combo->SetReadNamesFrom(field.values.size());
    if (!defaults.empty()) combo->SetLastEntryDefault();
    combo->SetItemValue(itemValue(ShiftRight64(m_reset, field.lsb)));
    m_table.Set(combo, FieldSpan{field.lsb, field.msb, true, AccessOf(field.access)});
}
