// SPDX-License-Identifier: MIT
#include "values/ValuesApplier.h"

#include <algorithm>
#include <limits>
#include <string>
#include <unordered_map>

#include "bits/NumberFormatting.h"
#include "values/ValuesMessages.h"

namespace {

bool FitsBytes(std::uint64_t value, int bytes) { return bytes >= 8 || (value >> (8 * bytes)) == 0; }

// The smallest dump unit that holds `digits` hex digits.
int UnitHolding(int digits) { return digits <= 2 ? 1 : digits <= 4 ? 2 : digits <= 8 ? 4 : 8; }

std::string TooWide(std::uint64_t value, int bytes, std::string_view name) {
    std::string reason = FormatHex(value) + " is wider than the " + std::to_string(8 * bytes) + "-bit register";
    if (!name.empty()) reason += " " + std::string(name);
    return reason;
}

}  // namespace

void ValuesApplier::Lay(MemoryImage& image, const std::vector<AddressedValue>& values,
                        ProblemList& problems) const {
    for (const AddressedValue& v : values) {
        int unit = v.unit;
        if (unit == 0) {
            const RegisterSpan* r = m_layout.StartingAt(v.address);
            if (r && r->bytes >= 1 && r->bytes <= 8) {
                if (!FitsBytes(v.value, r->bytes)) {
                    AddValuesProblem(problems, v.line, ProblemCode::kValueTooWide,
                                     TooWide(v.value, r->bytes, {}) + " at " + FormatAddress(v.address));
                    continue;
                }
                unit = r->bytes;
            } else {
                unit = UnitHolding(v.digits);
            }
        }
        image.Lay(v.address, v.value, unit, m_order);
    }
}

AppliedValues ValuesApplier::Apply(const MemoryImage& image) const {
    AppliedValues applied;
    if (image.Empty()) return applied;
    for (const RegisterSpan& r : m_layout.Registers()) {
        const ImageReading reading = image.Read(r.address, r.bytes, m_order);
        if (reading.coverage == Coverage::Whole) applied.given.push_back({r.id, reading.value});
        if (reading.coverage == Coverage::Partly) applied.partlyGiven.push_back(r.id);
    }
    OffMapValues& off = applied.offMap;
    for (const MemoryImage::Piece& piece : image.Pieces()) {
        if (piece.bytes == 0) continue;
        const RegisterLayout::OffRegisters bytes = m_layout.BytesOnNoRegister(piece.address,
                                                                              piece.address + (piece.bytes - 1));
        const std::uint64_t count = piece.raw ? bytes.bytes : bytes.bytes == piece.bytes ? 1 : 0;
        if (count == 0) continue;
        off.first = off.count == 0 ? bytes.first : std::min(off.first, bytes.first);
        off.count += count;
    }
    return applied;
}

void ValuesApplier::ApplyNamed(const std::vector<NamedValue>& values, const FindRegister& find,
                               AppliedValues& applied, ProblemList& problems) const {
    if (values.empty()) return;
    std::unordered_map<std::size_t, std::size_t> givenAt;  // id -> index in applied.given
    givenAt.reserve(applied.given.size() + values.size());
    for (std::size_t i = 0; i < applied.given.size(); ++i) givenAt.emplace(applied.given[i].id, i);
    std::vector<std::size_t> named;  // ids given by name, to take off the partly given list
    for (const NamedValue& v : values) {
        const std::optional<RegisterSpan> r = find ? find(v.name) : std::nullopt;
        if (!r) {
            AddValuesProblem(problems, v.line, ProblemCode::kUnknownName, "no register " + v.name + " in the map");
            continue;
        }
        if (!FitsBytes(v.value, r->bytes)) {
            AddValuesProblem(problems, v.line, ProblemCode::kValueTooWide, TooWide(v.value, r->bytes, v.name));
            continue;
        }
        const auto [it, added] = givenAt.emplace(r->id, applied.given.size());
        if (added) {
            applied.given.push_back({r->id, v.value});
        } else {
            applied.given[it->second].value = v.value;
        }
        named.push_back(r->id);
    }
    if (applied.partlyGiven.empty() || named.empty()) return;
    std::sort(named.begin(), named.end());
    std::erase_if(applied.partlyGiven,
                  [&](std::size_t id) { return std::binary_search(named.begin(), named.end(), id); });
}
