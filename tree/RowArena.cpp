// SPDX-License-Identifier: MIT
#include "tree/RowArena.h"

#include <cstring>
#include <new>
#include <utility>

CRowArena::~CRowArena() = default;

void* CRowArena::Allocate(size_t bytes) {
    bytes = RoundUp(bytes == 0 ? 1 : bytes);
    if (bytes > m_nFree) {
        // A place too big to share a block gets a block of its own, so the
        // rest of the current block is not wasted.
        if (bytes > kBlockSize / 4) {
            m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(bytes));
            m_nCapacity += bytes;
            return m_blocks.back().get();
        }
        m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(kBlockSize));
        m_nCapacity += kBlockSize;
        m_pFree = m_blocks.back().get();
        m_nFree = kBlockSize;
    }
    std::byte* place = m_pFree;
    m_pFree += bytes;
    m_nFree -= bytes;
    return place;
}

void* CRowArena::AllocateArray(size_t bytes) {
    bytes = RoundUp(bytes == 0 ? 1 : bytes);
    if (m_released && bytes <= kMaxArrayBytes) {
        void*& head = m_released[bytes / kAlignment];
        if (head) {
            void* array = head;
            std::memcpy(&head, array, sizeof head);
            return array;
        }
    }
    return Allocate(bytes);
}

void CRowArena::ReleaseArray(void* array, size_t bytes) noexcept {
    bytes = RoundUp(bytes == 0 ? 1 : bytes);
    if (!array || bytes > kMaxArrayBytes) return;
    if (!m_released) {
        // Without room for the lists the array is simply not reused.
        m_released.reset(new (std::nothrow) void*[kArraySizes]());
        if (!m_released) return;
    }
    void*& head = m_released[bytes / kAlignment];
    std::memcpy(array, &head, sizeof head);
    head = array;
}

void CRowArena::Swap(CRowArena& other) noexcept {
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_pFree, other.m_pFree);
    std::swap(m_nFree, other.m_nFree);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_released, other.m_released);
}
