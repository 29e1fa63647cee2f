// SPDX-License-Identifier: MIT
#pragma once
// Finds the packs in the roots: unpacked ones laid out VENDOR/NAME/VERSION/
// VENDOR.NAME.pdsc, and .pack files (zip archives) named VENDOR.NAME.VERSION.pack
// in a root and in its .Download folder. Of several versions of one pack
// (VENDOR.NAME) the highest wins, across roots and kinds too; on an equal
// version an unpacked pack beats an archive, then the earlier root. Reads no
// pdsc and opens no archive: the version is the folder's or the file's name.
#include <cstdint>
#include <string>
#include <vector>

#include "packs/PackRoots.h"
#include "packs/PackVersion.h"

// One pack found in a root.
struct FoundPack {
    std::string root;     // the root it is in
    std::string vendor;   // from the path
    std::string name;
    PackVersion version;  // the VERSION folder's name
    std::string folder;   // the pack's top folder (unpacked), as UTF-8; empty for an archive
    std::string archive;  // the .pack file, when it is one, as UTF-8
    // The index's key: the .pdsc's path, size and modification time (in the
    // file clock's ticks) for an unpacked pack, the .pack file's for an archive.
    std::string pdsc;
    std::uint64_t pdscSize = 0;
    std::int64_t pdscTime = 0;

    // "VENDOR.NAME".
    std::string PackName() const { return vendor + "." + name; }
};

// What a root held.
struct SearchedRoot {
    PackRoot root;
    bool exists = false;
    int packs = 0;     // pack versions found in it (winning or not)
    int archives = 0;  // of those, .pack files in it and its .Download folder
};

struct PackScan {
    std::vector<FoundPack> packs;  // the winning version of each pack, by name
    std::vector<SearchedRoot> roots;
};

PackScan ScanPackRoots(const std::vector<PackRoot>& roots);
