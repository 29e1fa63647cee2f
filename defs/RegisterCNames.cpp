// SPDX-License-Identifier: MIT
#include "defs/RegisterCNames.h"

void AppendCIdentifierPart(std::string& out, std::string_view name) {
    constexpr std::string_view kReplaced = " \\:;.,#?()+-*/";
    for (const char c : name) out += kReplaced.find(c) == std::string_view::npos ? c : '_';
}

std::string CIdentifierPart(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    AppendCIdentifierPart(out, name);
    return out;
}
