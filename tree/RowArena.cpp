// SPDX-License-Identifier: MIT
#include "tree/RowArena.h"

#include <cstring>
#include <new>
#include <utility>

CRowArena::~CRowArena() = default;

void* CRowArena::Allocate(size_t bytes) {
    // Sizes are rounded up as the released lists count them, which also lets
    // places follow one another without padding.
    return m_arena.Allocate(RoundUp(bytes == 0 ? 1 : bytes), kAlignment);
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
    m_arena.Swap(other.m_arena);
    std::swap(m_released, other.m_released);
}
