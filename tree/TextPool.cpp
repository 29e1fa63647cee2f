// SPDX-License-Identifier: MIT
#include "tree/TextPool.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// Texts hashed here are short (labels, choice names, "0x0"): they are read
// 8 bytes at a time (the last word overlapping the one before when the length
// is not a multiple of 8), each word mixed in by a multiplication; the length
// is mixed in too, so overlapping reads of different texts stay apart.
std::uint32_t HashBytes(const char* text, size_t length) {
    auto word = [text](size_t at) {
        std::uint64_t value;
        std::memcpy(&value, text + at, sizeof value);
        return value;
    };
    std::uint64_t hash = 0x9E3779B97F4A7C15u ^ length;
    if (length >= 8) {
        size_t at = 0;
        for (; at + 8 < length; at += 8) hash = (hash ^ word(at)) * 0xFF51AFD7ED558CCDu;
        hash = (hash ^ word(length - 8)) * 0xFF51AFD7ED558CCDu;
    } else {
        // Shorter texts as two 4-byte reads that may overlap, or byte by byte.
        std::uint64_t tail = 0;
        if (length >= 4) {
            std::uint32_t low;
            std::uint32_t high;
            std::memcpy(&low, text, sizeof low);
            std::memcpy(&high, text + length - 4, sizeof high);
            tail = (std::uint64_t{high} << 32) | low;
        } else {
            for (size_t i = 0; i < length; ++i) tail = (tail << 8) | static_cast<unsigned char>(text[i]);
        }
        hash = (hash ^ tail) * 0xFF51AFD7ED558CCDu;
    }
    hash ^= hash >> 32;
    hash *= 0xC4CEB9FE1A85EC53u;
    return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

const char* CTextPool::Add(const char* text, size_t length) {
    Recent* slot = nullptr;
    std::uint32_t hash = 0;
    if (length <= kShareableLength) {
        if (!m_recent) m_recent = std::make_unique<Recent[]>(kRecentSlots);
        hash = HashBytes(text, length);
        slot = &m_recent[hash % kRecentSlots];
        if (slot->text && slot->hash == hash && slot->length == length &&
            std::memcmp(length <= kHeadLength ? slot->head : slot->text, text, length) == 0)
            return slot->text;
    }
    char* copy = static_cast<char*>(m_arena.Allocate(length + 1));
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (slot) {
        slot->text = copy;
        slot->hash = hash;
        slot->length = static_cast<std::uint32_t>(length);
        std::memcpy(slot->head, copy, length < kHeadLength ? length : kHeadLength);
    }
    return copy;
}

void CTextPool::Swap(CTextPool& other) noexcept {
    m_arena.Swap(other.m_arena);
    std::swap(m_recent, other.m_recent);
}
