// SPDX-License-Identifier: MIT
#pragma once
// The lines that tell what a values text did beyond giving values: values on
// no register and registers only partly given. They are no problems.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct OffMapValues;

// "0x" and the value's hex digits without leading zeros: "0x1ffffffff".
std::string FormatHex(std::uint64_t value);

// "3 values fall on no register, the first at 0x40021080", "1 value falls on
// no register, at 0x40021080"; none when every value fell on a register.
std::optional<std::string> OffMapMessage(const OffMapValues& off);
// "RCC.CFGR is only partly given"
std::string PartlyGivenMessage(std::string_view registerName);
