// SPDX-License-Identifier: MIT
// Fuzzes the zip archive reader: the input is the archive, opened from memory,
// and every listed entry is read with a small limit. Checks: a read gives
// exactly the bytes the entry declares and no more than the limit; an entry
// listed as unusable (unsafe name, encrypted, unknown method) is never read;
// names are listed with '/' only; the first entry of each name is found again.
// The same bytes as a .pack: the pack's pdsc is found or a problem says why,
// and a pdsc found is one the pack holds.
#include <cstdint>
#include <string>

#include "archive/ZipArchive.h"
#include "fuzz/FuzzCheck.h"
#include "packs/ArchivePackFiles.h"

namespace {

constexpr std::uint64_t kLimit = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto archive = CZipArchive::FromMemory(std::string(reinterpret_cast<const char*>(data), size));
    if (!archive) {
        FUZZ_CHECK(!archive.Error().detail.empty());
        return 0;
    }
    const CZipArchive& zip = archive.Value();
    for (const ZipEntry& entry : zip.Entries()) {
        FUZZ_CHECK(entry.name.find('\\') == std::string::npos);
        const auto read = zip.Read(entry.name, kLimit);
        if (!read) {
            FUZZ_CHECK(!read.Error().detail.empty());
            continue;
        }
        FUZZ_CHECK(entry.supported);
        FUZZ_CHECK(read.Value().size() <= kLimit);
        FUZZ_CHECK(read.Value().size() == entry.size);
    }

    auto again = CZipArchive::FromMemory(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(again.Ok());
    const auto pack = ArchivePackFiles::Over(std::move(again.Value()), "fuzz.pack", "Acme.Parts.pdsc");
    if (!pack) {
        FUZZ_CHECK(!pack.Error().detail.empty());
        return 0;
    }
    const std::string& pdsc = pack.Value()->PdscName();
    FUZZ_CHECK(pdsc.size() > 5 && pdsc.find('/') == std::string::npos);
    FUZZ_CHECK(pack.Value()->Exists(pdsc));
    const auto text = pack.Value()->Read(pdsc, kLimit);
    FUZZ_CHECK(text.Ok() || !text.Error().detail.empty());
    return 0;
}
