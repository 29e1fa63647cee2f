// SPDX-License-Identifier: MIT
#pragma once
// Finds the packs in the roots: unpacked ones laid out VENDOR/NAME/VERSION/
// VENDOR.NAME.pdsc. Of several versions of one pack (VENDOR.NAME) the highest
// wins, across roots too (on an equal version the earlier root). Reads no
// pdsc: the version is the folder's name.
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
    std::string folder;   // the pack's top folder (unpacked), as UTF-8
    std::string archive;  // the .pack file, when it is one (not read yet: always empty today)
    std::string pdsc;     // the .pdsc's path (unpacked), as UTF-8
    std::uint64_t pdscSize = 0;
    std::int64_t pdscTime = 0;  // the pdsc's modification time, in the file clock's ticks

    // "VENDOR.NAME".
    std::string PackName() const { return vendor + "." + name; }
};

// What a root held.
struct SearchedRoot {
    PackRoot root;
    bool exists = false;
    int packs = 0;     // pack versions found in it (winning or not)
    int archives = 0;  // .pack files seen in it and its .Download folder, passed over today
};

struct PackScan {
    std::vector<FoundPack> packs;  // the winning version of each pack, by name
    std::vector<SearchedRoot> roots;
};

PackScan ScanPackRoots(const std::vector<PackRoot>& roots);
