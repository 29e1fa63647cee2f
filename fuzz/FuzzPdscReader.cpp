// SPDX-License-Identifier: MIT
// Fuzzes the pack description reader: any bytes as a .pdsc. It throws
// nothing; bytes it refuses give kBadPackDescription; what it reads has every
// device with a processor, SVD paths with '/' only, and survives the index
// file unchanged. The same bytes read as an index file give a whole index or
// none, never a read past their end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "packs/PackIndexFile.h"
#include "packs/PdscReader.h"

namespace {

Result<PackDescription> Read(std::string_view bytes) {
    try {
        return ReadPdscText(bytes);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ReadPdscText threw: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "ReadPdscText threw\n");
    }
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)ReadPackIndex(bytes);

    const Result<PackDescription> read = Read(bytes);
    if (!read) {
        FUZZ_CHECK(read.Error().code == ProblemCode::kBadPackDescription);
        FUZZ_CHECK(!read.Error().detail.empty());
        return 0;
    }
    for (const PackDevice& device : read.Value().devices) {
        FUZZ_CHECK(!device.processors.empty());
        for (const PackProcessor& processor : device.processors)
            FUZZ_CHECK(processor.svd.find('\\') == std::string::npos);
    }
    PackIndexEntry entry;
    entry.pdsc = "fuzzed.pdsc";
    entry.size = size;
    entry.description = read.Value();
    const auto again = ReadPackIndex(WritePackIndex({entry}));
    FUZZ_CHECK(again && again->size() == 1 && again->front() == entry);
    return 0;
}
