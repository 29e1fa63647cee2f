// SPDX-License-Identifier: MIT
#include "app/Decode.h"

#include <optional>
#include <unordered_map>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/RowDescriber.h"
#include "calc/ValueBox.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterFile.h"
#include "defs/RegisterMap.h"
#include "defs/SvdNumbers.h"
#include "values/ValuesProblems.h"

namespace {

struct DecodeOptions {
    std::string map;
    std::vector<std::string> values;
    std::optional<std::uint64_t> base;
    bool changedOnly = false;
    std::string against;
};

// The options, or nothing after printing why not.
std::optional<DecodeOptions> ParseOptions(const std::vector<std::string>& arguments, std::ostream& err) {
    DecodeOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasNext = i + 1 < arguments.size();
        if (argument == "--changed") {
            options.changedOnly = true;
        } else if (argument == "--base" || argument == "--against") {
            if (!hasNext) {
                err << "tavlin: " << argument << " needs a value\n";
                return std::nullopt;
            }
            const std::string& value = arguments[++i];
            if (argument == "--against") {
                options.against = value;
            } else if (const auto base = ParseSvdNumber(value)) {
                options.base = *base;
            } else {
                err << "tavlin: --base takes an address, not \"" << value << "\"\n";
                return std::nullopt;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            err << "tavlin: unknown option " << argument << '\n';
            return std::nullopt;
        } else if (options.map.empty()) {
            options.map = argument;
        } else {
            options.values.push_back(argument);
        }
    }
    if (options.map.empty() || options.values.empty()) {
        err << "tavlin: --decode needs a map and at least one values file\n";
        return std::nullopt;
    }
    return options;
}

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
    if (const auto address = map.AddressOf(reg)) out << " @" << map.FormatAddress(*address);
    out << " = " << FormatRegisterHex(value, reg.m_nBits) << '\n';
    for (const CPropTreeItem* row = reg.GetChild(); row; row = row->GetSibling()) {
        if (!map.Fields().Find(row)) continue;
        out << "  " << row->GetLabelText() << " [" << describer.Describe(*row).bits << "] = " << row->GetAttributeText()
            << '\n';
    }
}

int RunDecode(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = ParseOptions(arguments, err);
    if (!options) return 2;
    CRegisterMap map;
    const LoadReport load = LoadRegisterFile(map, options->map.c_str(), options->map.c_str());
    for (const Problem& problem : load.problems.Kept()) err << problem.Format(load.displayName) << '\n';
    if (!load.opened) return 1;
    bool ok = load.Ok();

    NoValueBox hex, decimal;
    CRegisterCalculator calc(map, hex, decimal);
    // What each register is compared with for --changed: the baseline's
    // values where it gives them, the reset value or the fields' own value otherwise.
    if (!options->against.empty()) ok = ApplyFile(map, calc, options->against, std::nullopt, nullptr, err) && ok;
    std::unordered_map<const CRegisterItem*, std::uint64_t> baseline;
    for (const CRegisterItem* reg : map.Registers()) {
        const auto held = map.ValueOf(*reg);
        baseline[reg] = held ? held->value : calc.ComposeRegister(*reg);
    }

    std::vector<CRegisterItem*> given;
    for (const std::string& path : options->values) ok = ApplyFile(map, calc, path, options->base, &given, err) && ok;
    std::unordered_map<const CRegisterItem*, bool> wasGiven;
    for (const CRegisterItem* reg : given) wasGiven[reg] = true;

    const CRegisterRowDescriber describer(map);
    for (const CRegisterItem* reg : map.Registers()) {
        if (!wasGiven.count(reg)) continue;
        const std::uint64_t value = map.ValueOf(*reg)->value;
        if (options->changedOnly && value == baseline[reg]) continue;
        PrintDecodedRegister(out, map, describer, *reg, value);
    }
    return ok ? 0 : 1;
}
