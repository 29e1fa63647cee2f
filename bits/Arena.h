// SPDX-License-Identifier: MIT
#pragma once
// Memory for many small things made in one pass and freed all together (a
// tree's rows and texts, the one-line descriptions of an SVD expansion):
// places are carved one after another out of large blocks, which all go back
// when the arena is destroyed. A request too big to share a block gets a
// block of its own, so the rest of the current block is not wasted on it.
#include <cstddef>
#include <memory>
#include <vector>

class CArena {
public:
    static constexpr size_t kBlockSize = 64 * 1024;
    // Requests larger than this get a block of their own.
    static constexpr size_t kOwnBlockBytes = kBlockSize / 4;
    // The largest alignment a place can be asked for: what every block has.
    static constexpr size_t kMaxAlignment = alignof(std::max_align_t);

    CArena() = default;
    CArena(const CArena&) = delete;
    CArena& operator=(const CArena&) = delete;

    // A place of `bytes` bytes (a distinct one even for 0) aligned to
    // `alignment`, a power of two up to kMaxAlignment, that lives as long as
    // the arena. Its bytes are not set.
    void* Allocate(size_t bytes, size_t alignment = 1);

    void Swap(CArena& other) noexcept;

    // Bytes held in blocks, for figures.
    size_t Capacity() const { return m_nCapacity; }

private:
    std::byte* NewBlock(size_t bytes);

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_pFree = nullptr;  // the unused rest of the newest shared block
    size_t m_nFree = 0;
    size_t m_nCapacity = 0;
};
