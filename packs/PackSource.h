// SPDX-License-Identifier: MIT
#pragma once
// The files of a found pack, from its folder (or, where it is a .pack
// archive, from the archive, once the catalog reads them).
#include <memory>

#include "packs/PackFiles.h"
#include "packs/PackScanner.h"
#include "problem/Result.h"

Result<std::unique_ptr<PackFiles>> OpenPackFiles(const FoundPack& pack);
