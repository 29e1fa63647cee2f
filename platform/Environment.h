// SPDX-License-Identifier: MIT
#pragma once
// The process's environment variables as UTF-8 (on Windows read as UTF-16, so
// a user name outside the ANSI code page survives).
#include <optional>
#include <string>
#include <string_view>

// The variable's value; nothing when it is not set.
std::optional<std::string> EnvironmentUtf8(std::string_view name);
