// SPDX-License-Identifier: MIT
#pragma once
// The devices of every installed pack, kept in an index file in a cache
// folder so a start need not read every pdsc: an entry is keyed by the pdsc's
// path, size and modification time, and a scan re-reads only the pdscs whose
// key changed or that are new. Packs no longer found (their root vanished, a
// newer version came) leave the index. An index file that cannot be read, is
// of another version, truncated or damaged counts as none.
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "packs/PackDescription.h"
#include "packs/PackRoots.h"
#include "packs/PackScanner.h"
#include "problem/Problem.h"
#include "problem/Result.h"

// A pack with what its pdsc says.
struct IndexedPack {
    FoundPack found;
    PackDescription description;  // empty devices when the pdsc could not be read
};

struct PackIndexScan {
    std::vector<IndexedPack> packs;
    std::vector<SearchedRoot> roots;
    std::vector<Problem> problems;  // pdscs that could not be read, each naming its file
    std::size_t reread = 0;         // pdscs read in this scan
    std::size_t reused = 0;         // pdscs taken from the index
};

// Called as pdscs are done: (done, total).
using PackScanProgress = std::function<void(std::size_t done, std::size_t total)>;

class PackIndex {
public:
    // `cacheFolder` as UTF-8 (made when the index is written).
    explicit PackIndex(std::string cacheFolder);

    // Scans the roots, reusing the index, and writes the index anew. Fails
    // only with kCancelled when `cancel` was raised; then the index is kept.
    Result<PackIndexScan> Scan(const std::vector<PackRoot>& roots, const PackScanProgress& progress = {},
                               const std::atomic<bool>* cancel = nullptr) const;

    // The index file's path, as UTF-8.
    std::string FilePath() const;

private:
    std::string m_cacheFolder;
};
