// SPDX-License-Identifier: MIT
#include "app/Decode.h"

#include <optional>
#include <unordered_map>

#include "bits/NumberFormatting.h"
#include "calc/CodeStatement.h"
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "target/FaultReport.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "values/ValuesProblems.h"

namespace {

// Applies one values file, printing its problems and notes; false after a problem.
bool ApplyFile(CRegisterMap& map, CRegisterCalculator& calc, const std::string& path,
               const std::optional<std::uint64_t>& base, std::vector<CRegisterItem*>* given, std::ostream& err) {
    const auto bytes = ReadValuesFile(path);
    if (!bytes) {
        err << path << ": " << bytes.Text() << '\n';
        return false;
    }
    const ValuesInputReport report = base ? ApplyMemoryImage(map, calc, bytes.Value(), *base, ValueSource::ValuesFile)
                                          : ApplyValuesText(map, calc, bytes.Value(), ValueSource::ValuesFile);
    for (const std::string& problem : ValuesProblemLines(report.problems)) err << path << ": " << problem << '\n';
    for (const std::string& note : report.notes) err << path << ": " << note << '\n';
    if (given) given->insert(given->end(), report.given.begin(), report.given.end());
    return report.problems.Empty();
}

}  // namespace

void PrintDecodedRegister(std::ostream& out, const CRegisterMap& map, const CRegisterRowDescriber& describer,
                   const CRegisterItem& reg, std::uint64_t value) {
    out << RegisterPath(reg);
    if (const auto address = map.AddressOf(reg)) out << " @" << map.FormatAddressAtMapWidth(*address);
    out << " = " << FormatRegisterHex(value, reg.m_nBits) << '\n';
    for (const CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
        if (!map.Fields().Find(row)) continue;
        out << "  " << row->GetLabelText() << " [" << describer.Describe(*row).bits << "] = " << row->GetAttributeText()
            << '\n';
    }
}

void PrintFaultReport(std::ostream& out, const CRegisterMap& map, const FaultRegisters& registers) {
    for (const std::string& line : FaultReportLines(registers, CoreProfileOf(map))) out << line << '\n';
}

int RunDecode(const DecodeRequest& request, std::ostream& out, std::ostream& err) {
    CRegisterMap map;
    const LoadReport load = LoadMapSource(map, request.map, request.core);
    for (const Problem& problem : load.problems.Kept()) err << problem.Format(load.displayName) << '\n';
    if (!load.opened) return 1;
    bool ok = load.Ok();

    NoValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    // What each register is compared with for --changed: the baseline's
    // values where it gives them, the reset value or the fields' own value otherwise.
    if (!request.against.empty()) ok = ApplyFile(map, calc, request.against, std::nullopt, nullptr, err) && ok;
    std::unordered_map<const CRegisterItem*, std::uint64_t> baseline;
    for (const CRegisterItem* reg : map.Registers()) {
        const auto held = map.ValueOf(*reg);
        baseline[reg] = held ? held->value : calc.ComposeRegister(*reg);
    }

    std::vector<CRegisterItem*> given;
    for (const std::string& path : request.values) ok = ApplyFile(map, calc, path, request.base, &given, err) && ok;
    std::unordered_map<const CRegisterItem*, bool> wasGiven;
    for (const CRegisterItem* reg : given) wasGiven[reg] = true;

    if (request.fault) {
        PrintFaultReport(out, map, FaultRegistersOf(map));
        return ok ? 0 : 1;
    }
    const CRegisterRowDescriber describer(map);
    for (std::size_t i = 0; i < map.Registers().size(); ++i) {
        const CRegisterItem* reg = map.Registers()[i];
        if (!wasGiven.count(reg)) continue;
        const std::uint64_t value = map.ValueOf(*reg)->value;
        if (request.changedOnly && value == baseline[reg]) continue;
        if (request.asC)
            out << CodeStatement(map, i, value) << '\n';
        else
            PrintDecodedRegister(out, map, describer, *reg, value);
    }
    return ok ? 0 : 1;
}
