// SPDX-License-Identifier: MIT
#include "defs/CoreRegisters.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>

#include <pugixml.hpp>

#include "defs/CoreMapTexts.h"
#include "defs/RegisterMap.h"
#include "defs/SvdElement.h"
#include "defs/SvdExpansion.h"
#include "defs/SvdLoader.h"
#include "defs/SvdRowWriter.h"
#include "tree/PropTreeItem.h"

namespace {

constexpr CoreInfo kCores[] = {
    {"CM0", "Cortex-M0", CoreProfile::Armv6M, false},
    {"CM0PLUS", "Cortex-M0+", CoreProfile::Armv6M, false},
    {"CM1", "Cortex-M1", CoreProfile::Armv6M, false},
    {"SC000", "SecurCore SC000", CoreProfile::Armv6M, false},
    {"CM3", "Cortex-M3", CoreProfile::Armv7M, false},
    {"CM4", "Cortex-M4", CoreProfile::Armv7M, true},
    {"CM7", "Cortex-M7", CoreProfile::Armv7M, true},
    {"SC300", "SecurCore SC300", CoreProfile::Armv7M, false},
    {"CM23", "Cortex-M23", CoreProfile::Armv8MBaseline, false},
    {"CM33", "Cortex-M33", CoreProfile::Armv8MMainline, true},
    {"CM35P", "Cortex-M35P", CoreProfile::Armv8MMainline, true},
    {"CM55", "Cortex-M55", CoreProfile::Armv8MMainline, true},
    {"CM85", "Cortex-M85", CoreProfile::Armv8MMainline, true},
};

// The other names the CMSIS-SVD format reference lets <cpu><name> take for these cores.
struct Alias {
    std::string_view name;
    std::string_view core;
};
constexpr Alias kAliases[] = {{"CM0+", "CM0PLUS"}, {"ARMV8MBL", "CM23"}, {"ARMV8MML", "CM33"}, {"ARMV81MML", "CM55"}};

std::string_view MapNameOf(CoreProfile profile) {
    switch (profile) {
    case CoreProfile::Armv6M: return "armv6m";
    case CoreProfile::Armv7M: return "armv7m";
    case CoreProfile::Armv8MBaseline: return "armv8m-base";
    case CoreProfile::Armv8MMainline: return "armv8m-main";
    }
    return {};
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

// Hands the row writer the core map's sets that the map has no set of that
// name for, each described as added for the core; the others with their
// registers and fields pass by.
class CoreSetsSink : public SvdRecordSink {
public:
    CoreSetsSink(SvdRowWriter& writer, const CRegisterMap& map, const CoreInfo& core, CoreUnits units)
        : m_writer(writer), m_core(core), m_units(units) {
        for (const CPropTreeItem* set = map.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling())
            m_used.insert(set->GetLabelText());
    }

    void Peripheral(const SvdPeripheralRecord& peripheral) override {
        m_skipping = m_used.count(std::string(peripheral.name)) || (peripheral.name == "MPU" && !m_units.mpu) ||
                     (peripheral.name == "FPU" && !(m_units.fpu && m_core.fpu));
        if (m_skipping) return;
        ++added;
        m_description.assign(peripheral.description);
        m_description += m_description.empty() ? "Added" : "; added";
        m_description += " by tavlin for the ";
        m_description += m_core.title;
        SvdPeripheralRecord record = peripheral;
        record.description = m_description;
        record.core = true;
        m_writer.Peripheral(record);
    }
    void Register(const SvdRegisterRecord& reg) override {
        if (!m_skipping) m_writer.Register(reg);
    }
    void Field(const SvdFieldRecord& field) override {
        if (!m_skipping) m_writer.Field(field);
    }
    void Problem(const SvdProblemRecord& problem) override { m_writer.Problem(problem); }
    bool FieldsAlike(const SvdRegisterRecord& reg, std::uint64_t fields) override {
        return m_skipping || m_writer.FieldsAlike(reg, fields);
    }

    int added = 0;

private:
    SvdRowWriter& m_writer;
    const CoreInfo& m_core;
    CoreUnits m_units;
    std::unordered_set<std::string> m_used;
    bool m_skipping = false;
    std::string m_description;
};

}  // namespace

std::span<const CoreInfo> KnownCores() { return kCores; }

std::string KnownCoreNames() {
    std::string names;
    for (const CoreInfo& core : kCores) {
        if (!names.empty()) names += ", ";
        names += core.name;
    }
    return names;
}

const CoreInfo* FindCore(std::string_view name) {
    for (const Alias& alias : kAliases)
        if (SameName(name, alias.name)) name = alias.core;
    for (const CoreInfo& core : kCores)
        if (SameName(name, core.name)) return &core;
    return nullptr;
}

int AddCoreRegisters(CRegisterMap& map, const CoreInfo& core, LoadReport& report, CoreUnits units) {
    const auto texts = CoreMapTexts();
    const auto text = std::find_if(texts.begin(), texts.end(),
                                   [&](const CoreMapText& t) { return t.name == MapNameOf(core.profile); });
    if (text == texts.end()) return 0;
    pugi::xml_document document;
    if (!ParseSvdDocument(document, text->text)) return 0;
    const SvdLines lines(text->text);
    SvdRowWriter writer(map, report);
    CoreSetsSink sink(writer, map, core, units);
    ExpandSvdDevice(document.document_element(), lines, sink,
                    SvdExpansionLimits{kSvdMaxRows, kSvdMaxClusterDepth, kSvdAllProblems});
    map.SetCore(&core);
    map.FinishLoad();
    return sink.added;
}
