// SPDX-License-Identifier: MIT
#include "values/ValuesMessages.h"

#include "bits/NumberFormatting.h"
#include "values/ValuesApplier.h"

std::string FormatHex(std::uint64_t value) { return "0x" + HexDigitsText(value); }

std::optional<std::string> OffMapMessage(const OffMapValues& off) {
    if (off.count == 0) return std::nullopt;
    if (off.count == 1) return "1 value falls on no register, at " + FormatAddress(off.first);
    return std::to_string(off.count) + " values fall on no register, the first at " + FormatAddress(off.first);
}

std::string PartlyGivenMessage(std::string_view registerName) {
    return std::string(registerName) + " is only partly given";
}
