#include "tree/TextPool.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

std::uint32_t HashBytes(const char* text, size_t length) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned char>(text[i])) * 16777619u;
    return hash;
}

}  // namespace

char* CTextPool::Allocate(size_t bytes) {
    if (bytes > m_nFree) {
        // A text too big to share a block gets a block of its own, so the
        // rest of the current block is not wasted.
        if (bytes > kBlockSize / 4) {
            m_blocks.push_back(std::make_unique<char[]>(bytes));
            m_nCapacity += bytes;
            return m_blocks.back().get();
        }
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        m_nCapacity += kBlockSize;
        m_pFree = m_blocks.back().get();
        m_nFree = kBlockSize;
    }
    char* place = m_pFree;
    m_pFree += bytes;
    m_nFree -= bytes;
    return place;
}

const char* CTextPool::Add(const char* text, size_t length) {
    Recent* slot = nullptr;
    std::uint32_t hash = 0;
    if (length <= kShareableLength) {
        if (!m_recent) m_recent = std::make_unique<Recent[]>(kRecentSlots);
        hash = HashBytes(text, length);
        slot = &m_recent[hash % kRecentSlots];
        if (slot->text && slot->hash == hash && slot->length == length && std::memcmp(slot->text, text, length) == 0)
            return slot->text;
    }
    char* copy = Allocate(length + 1);
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (slot) *slot = Recent{copy, hash, static_cast<std::uint32_t>(length)};
    return copy;
}

void CTextPool::Swap(CTextPool& other) noexcept {
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_pFree, other.m_pFree);
    std::swap(m_nFree, other.m_nFree);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_recent, other.m_recent);
}
