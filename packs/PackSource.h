// SPDX-License-Identifier: MIT
#pragma once
// The files of a found pack: its folder, or its .pack archive read in place.
#include <cstdint>
#include <memory>
#include <string>

#include "packs/PackFiles.h"
#include "packs/PackScanner.h"
#include "problem/Result.h"

// The archive's problem (kBadArchive, kCannotRead, ...) or kBadPackDescription
// for an archive that holds no pdsc.
Result<std::unique_ptr<PackFiles>> OpenPackFiles(const FoundPack& pack);

// The pack's pdsc text: VENDOR.NAME.pdsc in its folder, or the archive's pdsc
// (the one at its top, or the only one), at most `limit` bytes.
Result<std::string> ReadPackPdsc(const FoundPack& pack, std::uint64_t limit);
