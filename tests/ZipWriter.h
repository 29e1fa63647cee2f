// SPDX-License-Identifier: MIT
#pragma once
// Writes small zip archives in memory for the tests: stored or deflated
// entries, and headers that lie on request (sizes, CRC, method, the encrypted
// flag, the central directory's count and size), so the archive reader and
// the pack reader meet the hostile archives they must stand.
//
//     ZipWriter w;
//     w.Add("Keil.Chip.pdsc", pdscText);
//     w.Add("SVD/chip.svd", svdText, /*deflate=*/false);
//     std::string zip = w.Finish();           // TempDir::Write("chip.pack", zip)
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an entry's local and central headers say in place of the truth.
struct ZipEntryLies {
    std::optional<std::uint32_t> crc = std::nullopt;
    std::optional<std::uint32_t> size = std::nullopt;            // uncompressed
    std::optional<std::uint32_t> compressedSize = std::nullopt;  // the bytes written stay the real ones
    std::optional<std::uint16_t> method = std::nullopt;          // 0 stored, 8 deflated, anything else unknown
    bool encrypted = false;                       // general purpose flag bit 0
};

// What the end of the central directory says in place of the truth.
struct ZipDirectoryLies {
    std::optional<std::uint16_t> entryCount = std::nullopt;
    std::optional<std::uint32_t> directorySize = std::nullopt;
    std::optional<std::uint32_t> directoryOffset = std::nullopt;
    std::size_t cutDirectory = 0;  // bytes of the central directory left out at its end
};

class ZipWriter {
public:
    // Adds an entry; deflated (zlib, best compression) or stored as it is.
    ZipWriter& Add(std::string name, std::string_view bytes, bool deflate = true, const ZipEntryLies& lies = {});
    // The archive: the entries, their central directory and its end record.
    std::string Finish(const ZipDirectoryLies& lies = {}) const;

    // Deflated as Add deflates it (raw deflate, no zlib header).
    static std::string Deflate(std::string_view bytes);

private:
    std::string m_data;       // the local headers and entries so far
    std::string m_directory;  // their central directory headers
    std::uint16_t m_count = 0;
};
