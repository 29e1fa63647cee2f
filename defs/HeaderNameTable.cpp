// SPDX-License-Identifier: MIT
#include "defs/HeaderNameTable.h"

#include <algorithm>
#include <limits>

namespace {

std::uint16_t AppendCut(std::string& text, std::string_view part) {
    const std::size_t size = std::min<std::size_t>(part.size(), std::numeric_limits<std::uint16_t>::max());
    text.append(part.substr(0, size));
    return static_cast<std::uint16_t>(size);
}

}  // namespace

std::uint32_t HeaderNameTable::Add(const RegisterHeaderNames& names) {
    Entry entry{static_cast<std::uint32_t>(m_text.size()), 0, 0, 0, 0, names.hasFields, names.core};
    entry.prefix = AppendCut(m_text, names.instancePrefix);
    entry.macro = AppendCut(m_text, names.macro);
    entry.prepend = AppendCut(m_text, names.prependToName);
    entry.append = AppendCut(m_text, names.appendToName);
    m_entries.push_back(entry);
    return static_cast<std::uint32_t>(m_entries.size() - 1);
}

void HeaderNameTable::Give(std::size_t index, std::uint32_t entry) {
    if (m_ofRegister.size() <= index) m_ofRegister.resize(index + 1);
    m_ofRegister[index] = entry + 1;
}

std::optional<RegisterHeaderNames> HeaderNameTable::Of(std::size_t index) const {
    if (index >= m_ofRegister.size() || m_ofRegister[index] == 0) return std::nullopt;
    const Entry& entry = m_entries[m_ofRegister[index] - 1];
    std::string_view text = std::string_view(m_text).substr(entry.at);
    const auto take = [&text](std::uint16_t size) {
        const std::string_view part = text.substr(0, size);
        text.remove_prefix(size);
        return part;
    };
    RegisterHeaderNames names;
    names.instancePrefix = take(entry.prefix);
    names.macro = take(entry.macro);
    names.prependToName = take(entry.prepend);
    names.appendToName = take(entry.append);
    names.hasFields = entry.hasFields;
    names.core = entry.core;
    return names;
}

void HeaderNameTable::ShrinkToFit() {
    m_text.shrink_to_fit();
    m_entries.shrink_to_fit();
    m_ofRegister.shrink_to_fit();
}

void HeaderNameTable::Swap(HeaderNameTable& other) noexcept {
    m_text.swap(other.m_text);
    m_entries.swap(other.m_entries);
    m_ofRegister.swap(other.m_ofRegister);
}

void AppendCodeIdentifierPart(std::string& out, std::string_view name) {
    constexpr std::string_view kReplaced = " \\:;.,#?()+-*/";
    for (const char c : name) out += kReplaced.find(c) == std::string_view::npos ? c : '_';
}

std::string CodeIdentifierPart(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    AppendCodeIdentifierPart(out, name);
    return out;
}
