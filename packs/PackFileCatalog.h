// SPDX-License-Identifier: MIT
#pragma once
// The devices of one pack opened on its own, outside the pack folders: a
// .pack file (a zip archive, its pdsc and SVDs read in place, never unpacked)
// or a lone .pdsc, whose pack is the folder it is in. What the window's
// chooser shows for an opened or dropped pack, and what
// `tavlin FILE.pack --device NAME` chooses from.
#include <string_view>

#include "packs/DeviceCatalog.h"
#include "problem/Result.h"

// The pack's devices, as DeviceCatalog finds and lists them (its searched
// roots name the file alone). A file ending ".pdsc" (in any case) is read as
// a pack description beside its files; any other as a .pack archive. Fails
// with kCannotRead or kNotRegularFile for a file that is not there, the
// archive's own problems (kBadArchive, kUnsafeArchiveEntry, ...) for a
// damaged or hostile one, and kBadPackDescription for an archive holding no
// .pdsc (or several, none at its top) or a pdsc that cannot be read.
Result<DeviceCatalog> CatalogOfPackFile(std::string_view utf8Path);
