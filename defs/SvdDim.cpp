// SPDX-License-Identifier: MIT
#include "defs/SvdDim.h"

#include "defs/SvdNumbers.h"

namespace {

bool IsDigits(std::string_view text) {
    if (text.empty() || text.size() > 9) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool IsCapital(std::string_view text) { return text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z'; }

}  // namespace

std::optional<std::vector<std::string>> ParseSvdDimIndex(std::string_view text, std::uint64_t limit) {
    text = TrimSvdText(text);
    std::vector<std::string> indexes;
    const size_t dash = text.find('-');
    if (dash != std::string_view::npos && text.find(',') == std::string_view::npos) {
        const std::string_view first = TrimSvdText(text.substr(0, dash));
        const std::string_view last = TrimSvdText(text.substr(dash + 1));
        if (IsDigits(first) && IsDigits(last)) {
            const long from = std::stol(std::string(first));
            const long to = std::stol(std::string(last));
            if (to < from || static_cast<std::uint64_t>(to - from) >= limit) return std::nullopt;
            for (long i = from; i <= to; ++i) indexes.push_back(std::to_string(i));
            return indexes;
        }
        if (IsCapital(first) && IsCapital(last) && first[0] <= last[0]) {
            for (char c = first[0]; c <= last[0]; ++c) indexes.emplace_back(1, c);
            return indexes;
        }
        return std::nullopt;
    }
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view item = TrimSvdText(text.substr(0, comma));
        if (item.empty() || indexes.size() >= limit) return std::nullopt;
        indexes.emplace_back(item);
        if (comma == std::string_view::npos) return indexes;
        text.remove_prefix(comma + 1);
    }
}

std::string SvdInstanceName(std::string_view name, std::string_view index) {
    std::string result;
    size_t from = 0;
    bool replaced = false;
    for (size_t at; (at = name.find("%s", from)) != std::string_view::npos; from = at + 2) {
        result.append(name.substr(from, at - from)).append(index);
        replaced = true;
    }
    result.append(name.substr(from));
    if (!replaced) result.append("[").append(index).append("]");
    return result;
}

std::string SvdGroupedName(std::string_view name, std::string_view group) {
    std::string result(name);
    if (group.empty()) return result;
    constexpr std::string_view kArray = "[%s]";
    const size_t end = name.ends_with(kArray) ? name.size() - kArray.size() : name.size();
    const std::string suffix = "_" + std::string(group);
    if (name.substr(0, end).ends_with(suffix)) return result;
    result.insert(end, suffix);
    return result;
}

std::string SvdNameWithoutDim(std::string_view name) {
    std::string result(name);
    const std::string_view placeholder = result.find("[%s]") != std::string::npos ? "[%s]" : "%s";
    for (size_t at; (at = result.find(placeholder)) != std::string::npos;) result.erase(at, placeholder.size());
    return result;
}
