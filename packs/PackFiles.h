// SPDX-License-Identifier: MIT
#pragma once
// The files of one pack, however the pack is held: an unpacked folder
// (FolderPackFiles) or a .pack archive. Names are relative to the pack's
// top, '/' between parts ('\' is taken as '/'); a name that climbs out of
// the pack ("..") or is absolute is refused.
#include <cstdint>
#include <string>
#include <string_view>

#include "problem/Result.h"

class PackFiles {
public:
    virtual ~PackFiles() = default;

    // The file's bytes, at most `limit` of them: kTooLarge beyond it,
    // kCannotRead when it is not there or cannot be read.
    virtual Result<std::string> Read(std::string_view relativePath, std::uint64_t limit) const = 0;
    // Whether the pack holds a file of that name.
    virtual bool Exists(std::string_view relativePath) const = 0;
    // Where the pack is, for messages: its folder or its archive, as UTF-8.
    virtual std::string Where() const = 0;
};

// The name as the pack holds it: '\' made '/', "./" parts dropped; empty when
// it is empty, absolute or climbs out of the pack.
std::string PackRelativeName(std::string_view relativePath);
