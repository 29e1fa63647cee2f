// SPDX-License-Identifier: MIT
#pragma once
// A zip archive (a CMSIS .pack) read in place: its list of entries, and one
// entry's bytes at a time, never unpacked to disk. Archives come from anywhere,
// so every read is bounded: an entry is inflated only up to the limit its
// reader gives (whatever its header declares), an entry that expands more than
// a thousandfold is refused, and names that would lead out of a folder ("..",
// "/etc/x", "C:\x") are listed as unusable and never read.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "problem/Result.h"

struct ZipEntry {
    std::string name;              // as the archive names it, '\\' turned to '/'
    std::uint64_t size = 0;        // uncompressed, as its header declares
    std::uint64_t compressedSize = 0;
    bool encrypted = false;
    bool supported = false;        // Read may give its bytes: a safe name, stored or deflated, not encrypted
};

class CZipArchive {
public:
    // The archive in a file, named in UTF-8 (on Windows too).
    static Result<CZipArchive> Open(std::string_view utf8Path);
    // The archive in memory: for tests and fuzzing.
    static Result<CZipArchive> FromMemory(std::string bytes);

    CZipArchive(CZipArchive&&) noexcept;
    CZipArchive& operator=(CZipArchive&&) noexcept;
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;
    ~CZipArchive();

    // Every file entry in the archive's order (folders left out).
    const std::vector<ZipEntry>& Entries() const;
    // The entry's bytes, found by its name with '/' between folders (an entry
    // written with '\\' matches too; case counts), at most `limit` bytes
    // uncompressed. Of two entries of one name, the first. Safe to call from
    // several threads: reads take turns.
    Result<std::string> Read(std::string_view name, std::uint64_t limit) const;

    // An entry larger than this that expands more than kMaxExpansion-fold is refused.
    static constexpr std::uint64_t kExpansionFloor = 1024 * 1024;
    static constexpr std::uint64_t kMaxExpansion = 1000;
    // At most this many entries are listed; an archive with more is refused.
    static constexpr std::size_t kMaxEntries = 1'000'000;

private:
    struct State;
    explicit CZipArchive(std::unique_ptr<State> state);
    static Result<CZipArchive> FromState(std::unique_ptr<State> state);

    std::unique_ptr<State> m_state;
};
