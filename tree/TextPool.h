// SPDX-License-Identifier: MIT
#pragma once
// Storage for the texts of one tree's rows: texts are appended to the blocks
// of an arena and live as long as the tree. Short texts that repeat (field
// names, choice labels, "0x0") are shared through a small cache of recent ones.
// Texts handed out are never written again, so sharing them is safe.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "bits/Arena.h"

class CTextPool {
public:
    CTextPool() = default;
    CTextPool(const CTextPool&) = delete;
    CTextPool& operator=(const CTextPool&) = delete;

    // A NUL-terminated copy of the `length` bytes at `text`, possibly shared
    // with an equal text added before.
    const char* Add(const char* text, size_t length);

    void Swap(CTextPool& other) noexcept;

    // Bytes held in blocks, for figures.
    size_t Capacity() const { return m_arena.Capacity(); }

private:
    static constexpr size_t kShareableLength = 32;  // longer texts rarely repeat
    static constexpr size_t kRecentSlots = 4096;

    CArena m_arena;
    // Recently added short texts, by hash of their bytes; the hash and length
    // are kept beside each so that most misses are told without reading the
    // text, and the first kHeadLength bytes too, so that a hit on a text that
    // short is confirmed without reading the pool (a cache miss, as the texts
    // shared lie anywhere in it).
    static constexpr size_t kHeadLength = 16;
    struct Recent {
        const char* text = nullptr;
        std::uint32_t hash = 0;
        std::uint32_t length = 0;
        char head[kHeadLength] = {};
    };
    std::unique_ptr<Recent[]> m_recent;
};
