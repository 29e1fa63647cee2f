// SPDX-License-Identifier: MIT
#pragma once
// The index file's bytes: a versioned header, then each pack's pdsc key (its
// path, size and modification time) with what it said. Every length and count
// is checked against the bytes left, so a truncated or damaged file reads as
// none, never past its end.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "packs/PackDescription.h"

struct PackIndexEntry {
    std::string pdsc;  // the pdsc's path, as UTF-8
    std::uint64_t size = 0;
    std::int64_t time = 0;
    std::string problem;  // why the pdsc could not be read; empty when it was
    int problemLine = 0;
    PackDescription description;

    bool operator==(const PackIndexEntry&) const = default;
};

std::string WritePackIndex(const std::vector<PackIndexEntry>& entries);
// Nothing when the bytes are not a whole index of this version.
std::optional<std::vector<PackIndexEntry>> ReadPackIndex(std::string_view bytes);
