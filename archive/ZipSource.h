// SPDX-License-Identifier: MIT
#pragma once
// Where an archive's bytes come from: a file, read where it lies with 64-bit
// offsets (packs of several GB exist), or bytes in memory. The zip reader
// seeks and reads through this alone.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "problem/Result.h"

class IZipSource {
public:
    virtual ~IZipSource() = default;
    // Copies up to `count` bytes from the current offset; gives how many it copied.
    virtual std::uint64_t Read(void* buffer, std::uint64_t count) = 0;
    // Moves to `offset` from the start; false beyond the end.
    virtual bool Seek(std::uint64_t offset) = 0;
    virtual std::uint64_t Tell() const = 0;
    virtual std::uint64_t Size() const = 0;
    // Whether a read has failed (not merely reached the end).
    virtual bool Failed() const = 0;
};

// The regular file named in UTF-8; kCannotRead or kNotRegularFile otherwise.
Result<std::unique_ptr<IZipSource>> OpenZipFileSource(std::string_view utf8Path);
// The bytes, kept by the source.
std::unique_ptr<IZipSource> MakeZipMemorySource(std::string bytes);
