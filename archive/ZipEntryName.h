// SPDX-License-Identifier: MIT
#pragma once
// An entry's name as the archive gives it, made one form ('/' between folders,
// as the zip format asks but not every packing tool writes), and whether it
// stays inside the archive's own tree: a name that climbs out ("../x",
// "a/../../x"), starts at a root ("/etc/x", "\\server\x") or names a drive
// ("C:x", "C:\x") is never read, whatever reads it later does with it.
#include <string>
#include <string_view>

// The name with every '\\' turned to '/'.
std::string NormalZipEntryName(std::string_view raw);
// Whether a name in the normal form stays inside the archive's tree; a name
// with a NUL or no characters does not.
bool IsSafeZipEntryName(std::string_view name);
