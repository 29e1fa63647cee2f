// SPDX-License-Identifier: MIT
#pragma once
// dim arrays and lists: the names of the instances an element stands for.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The indexes of a dimIndex: a range of numbers ("0-7") or of capital
// letters ("A-D"), or a list ("A,B,C", white space around items allowed).
// Nothing when the text is none of these or names more than `limit` indexes.
std::optional<std::vector<std::string>> ParseSvdDimIndex(std::string_view text, std::uint64_t limit);

// The name of one instance: every "%s" of `name` replaced by `index`
// ("CH[%s]" → "CH[2]", "GPIO%s_CTRL" → "GPIOA_CTRL"). A name without "%s"
// gets "[index]" appended, so that instances never share a name.
std::string SvdInstanceName(std::string_view name, std::string_view index);

// The name a register of an alternateGroup goes by, as CMSIS device headers
// name it: "NAME_GROUP". The group goes before a trailing "[%s]", so that an
// array stays one ("R[%s]" → "R_GROUP[%s]"); it is not added to a name
// ending in it already. The same name for an empty group.
std::string SvdGroupedName(std::string_view name, std::string_view group);

// The name a CMSIS device header gives all instances of a dim element: its
// name with "[%s]" removed, or else "%s" ("CH[%s]" → "CH", "STR%s" → "STR").
std::string SvdNameWithoutDim(std::string_view name);
