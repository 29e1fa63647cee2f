// SPDX-License-Identifier: MIT
#pragma once
// Memory for the rows of one tree and for their short arrays (children,
// drop-down entries). A tree's rows are built in one pass and freed all
// together with the tree, so instead of a heap block each, rows are carved
// out of an arena's blocks. An array a row outgrows while it is being filled
// is kept on a list by its size and handed out again for the next array of
// that size, so growing arrays leave little behind.
#include <cstddef>
#include <memory>

#include "bits/Arena.h"

class CRowArena {
public:
    // Every place handed out is aligned to this and a multiple of it in size.
    static constexpr size_t kAlignment = 8;
    // Arrays larger than this are better served by the heap: they are few,
    // and a released one would rarely be asked for again.
    static constexpr size_t kMaxArrayBytes = 4096;

    CRowArena() = default;
    CRowArena(const CRowArena&) = delete;
    CRowArena& operator=(const CRowArena&) = delete;
    ~CRowArena();

    // A place of `bytes` bytes that lives as long as the arena.
    void* Allocate(size_t bytes);
    // A place for an array of `bytes` bytes (at most kMaxArrayBytes), reusing
    // one released before when there is one of that size.
    void* AllocateArray(size_t bytes);
    // Gives back an array from AllocateArray of `bytes` bytes for reuse.
    void ReleaseArray(void* array, size_t bytes) noexcept;

    void Swap(CRowArena& other) noexcept;

    // Bytes held in blocks, for figures.
    size_t Capacity() const { return m_arena.Capacity(); }

private:
    static constexpr size_t kArraySizes = kMaxArrayBytes / kAlignment + 1;

    static size_t RoundUp(size_t bytes) { return (bytes + kAlignment - 1) & ~(kAlignment - 1); }

    CArena m_arena;
    // Released arrays by size in units of kAlignment; each holds the next
    // of its size in its first bytes. Made on the first release.
    std::unique_ptr<void*[]> m_released;
};
