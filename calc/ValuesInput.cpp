// SPDX-License-Identifier: MIT
#include "calc/ValuesInput.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <unordered_map>

#include "calc/CodeNameTable.h"
#include "calc/RegisterCalculator.h"
#include "defs/RegisterMap.h"
#include "platform/FilePaths.h"
#include "values/MemoryImage.h"
#include "values/RegisterLayout.h"
#include "values/TextLines.h"
#include "values/ValuesApplier.h"
#include "values/ValuesMessages.h"
#include "values/ValuesTextReader.h"

std::string RegisterPath(const CRegisterItem& reg) {
    const CPropTreeItem* set = reg.GetParent();
    return std::string(set ? set->GetLabelText() : "") + "." + reg.GetLabelText();
}

namespace {

// The map's registers as the values library sees them: ids are places in
// the map's list; registers without an address, or wider than 8 bytes, lie nowhere.
class MapLayout {
public:
    explicit MapLayout(const CRegisterMap& map) : m_map(map), m_layout(Spans(map)) {
        for (std::size_t i = 0; i < map.Registers().size(); ++i) m_byPath.emplace(RegisterPath(*map.Registers()[i]), i);
    }

    const RegisterLayout& Layout() const { return m_layout; }
    bool IsName(std::string_view word) const { return m_byPath.count(std::string(word)) != 0; }
    // A register by its label path or its C left-hand side.
    std::optional<RegisterSpan> Find(std::string_view name) const {
        const auto it = m_byPath.find(std::string(name));
        std::optional<std::size_t> index;
        if (it != m_byPath.end()) {
            index = it->second;
        } else if (m_codeNames) {
            index = m_codeNames->RegisterOf(name);
        }
        if (!index) return std::nullopt;
        return RegisterSpan{0, BytesOf(*m_map.Registers()[*index]), *index};
    }
    // The value of a field macro; the map's C names are made on the first C statement.
    std::optional<std::uint64_t> MacroValue(std::string_view name) {
        return CodeNames().MacroValue(name);
    }

    const CodeNameTable& CodeNames() {
        if (!m_codeNames) m_codeNames = std::make_unique<CodeNameTable>(m_map);
        return *m_codeNames;
    }

private:
    static int BytesOf(const CRegisterItem& reg) { return reg.m_nBits < 1 || reg.m_nBits > 64 ? 0 : (reg.m_nBits + 7) / 8; }
    static std::vector<RegisterSpan> Spans(const CRegisterMap& map) {
        std::vector<RegisterSpan> spans;
        for (std::size_t i = 0; i < map.Registers().size(); ++i) {
            const CRegisterItem& reg = *map.Registers()[i];
            if (const auto address = map.AddressOf(reg)) spans.push_back({*address, BytesOf(reg), i});
        }
        return spans;
    }

    const CRegisterMap& m_map;
    RegisterLayout m_layout;
    std::unordered_map<std::string, std::size_t> m_byPath;
    std::unique_ptr<CodeNameTable> m_codeNames;  // made only for a text with C statements
};

// The values by label path and those of C statements as one list, in line order.
std::vector<NamedValue> ByLine(std::vector<NamedValue> named, std::vector<NamedValue> assigned) {
    if (assigned.empty()) return named;
    std::vector<NamedValue> merged;
    merged.reserve(named.size() + assigned.size());
    std::merge(std::make_move_iterator(named.begin()), std::make_move_iterator(named.end()),
               std::make_move_iterator(assigned.begin()), std::make_move_iterator(assigned.end()),
               std::back_inserter(merged), [](const NamedValue& a, const NamedValue& b) { return a.line < b.line; });
    return merged;
}

ByteOrder OrderOf(const CRegisterMap& map) { return map.IsBigEndian() ? ByteOrder::Big : ByteOrder::Little; }

ValuesInputReport Collect(const CRegisterMap& map, const AppliedValues& applied, const ProblemList& problems) {
    ValuesInputReport report;
    report.problems = problems;
    // In the map's order; a register given twice keeps the last value.
    std::vector<std::pair<std::size_t, std::uint64_t>> given;
    for (const GivenValue& value : applied.given) given.emplace_back(value.id, value.value);
    std::stable_sort(given.begin(), given.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (i + 1 < given.size() && given[i + 1].first == given[i].first) continue;
        report.given.push_back(map.Registers()[given[i].first]);
        report.values.push_back(given[i].second);
    }
    if (auto off = OffMapMessage(applied.offMap)) report.notes.push_back(std::move(*off));
    for (const std::size_t id : applied.partlyGiven)
        report.notes.push_back(PartlyGivenMessage(RegisterPath(*map.Registers()[id])));
    return report;
}

ValuesInputReport Give(CRegisterMap& map, CRegisterCalculator& calc, ValuesInputReport report, ValueSource source) {
    GiveRegisterValues(map, calc, report.given, report.values, source);
    return report;
}

}  // namespace

void GiveRegisterValues(CRegisterMap& map, CRegisterCalculator& calc, std::span<CRegisterItem* const> registers,
                        std::span<const std::uint64_t> values, ValueSource source) {
    // Thousands of rows may change: the view shows them afresh once, after.
    map.Tree().BeginUpdate();
    for (std::size_t i = 0; i < registers.size() && i < values.size(); ++i)
        calc.SetRegisterValue(*registers[i], values[i], source);
    map.Tree().EndUpdate();
    map.Tree().RefreshItems(nullptr);
}

ValuesInputReport ReadValuesFor(const CRegisterMap& map, std::string_view text) {
    MapLayout layout(map);
    ValuesText values = ReadValuesText(
        text, [&layout](std::string_view word) { return layout.IsName(word); },
        [&layout](std::string_view name) { return layout.MacroValue(name); });
    const ValuesApplier applier(layout.Layout(), OrderOf(map));
    MemoryImage image;
    applier.Lay(image, values.addressed, values.problems);
    AppliedValues applied = applier.Apply(image);
    if (!values.assigned.empty()) layout.CodeNames();  // their left-hand sides are looked up
    applier.ApplyNamed(ByLine(std::move(values.named), std::move(values.assigned)),
                       [&layout](std::string_view name) { return layout.Find(name); }, applied, values.problems);
    return Collect(map, applied, values.problems);
}

ValuesInputReport ReadImageFor(const CRegisterMap& map, std::string_view bytes, std::uint64_t base) {
    const MapLayout layout(map);
    const ValuesApplier applier(layout.Layout(), OrderOf(map));
    MemoryImage image;
    image.AddRaw(base, bytes);
    return Collect(map, applier.Apply(image), ProblemList());
}

Result<std::string> ReadValuesFile(const std::string& path) {
    using Bytes = Result<std::string>;
    // "-" is standard input, as for Unix tools.
    if (path == "-") {
        return Bytes::Success(std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
    }
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) return Bytes::Failure(ProblemCode::kCannotRead, "cannot be read");
    return Bytes::Success(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool IsValuesText(std::string_view bytes) { return bytes.find('\0') == std::string_view::npos && IsUtf8(bytes); }

ValuesInputReport ApplyValuesText(CRegisterMap& map, CRegisterCalculator& calc, std::string_view text,
                                  ValueSource source) {
    return Give(map, calc, ReadValuesFor(map, text), source);
}

ValuesInputReport ApplyMemoryImage(CRegisterMap& map, CRegisterCalculator& calc, std::string_view bytes,
                                   std::uint64_t base, ValueSource source) {
    return Give(map, calc, ReadImageFor(map, bytes, base), source);
}
