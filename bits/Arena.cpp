// SPDX-License-Identifier: MIT
#include "bits/Arena.h"

#include <cassert>
#include <cstdint>
#include <utility>

// A block from new[] is aligned for any object the default operator new
// makes, which is what kMaxAlignment promises.
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= CArena::kMaxAlignment);

std::byte* CArena::NewBlock(size_t bytes) {
    m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
    m_nCapacity += bytes;
    return m_blocks.back().get();
}

void* CArena::Allocate(size_t bytes, size_t alignment) {
    assert(alignment != 0 && (alignment & (alignment - 1)) == 0 && alignment <= kMaxAlignment);
    if (bytes == 0) bytes = 1;
    size_t padding = (0 - reinterpret_cast<std::uintptr_t>(m_pFree)) & (alignment - 1);
    if (padding > m_nFree || bytes > m_nFree - padding) {
        if (bytes > kOwnBlockBytes) return NewBlock(bytes);
        m_pFree = NewBlock(kBlockSize);
        m_nFree = kBlockSize;
        padding = 0;
    }
    std::byte* place = m_pFree + padding;
    m_pFree = place + bytes;
    m_nFree -= padding + bytes;
    return place;
}

void CArena::Swap(CArena& other) noexcept {
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_pFree, other.m_pFree);
    std::swap(m_nFree, other.m_nFree);
    std::swap(m_nCapacity, other.m_nCapacity);
}
