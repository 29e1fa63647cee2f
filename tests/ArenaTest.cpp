// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bits/Arena.h"

namespace {

constexpr size_t kBlock = CArena::kBlockSize;

std::uintptr_t Address(const void* place) { return reinterpret_cast<std::uintptr_t>(place); }

// Takes `bytes` of a new arena's first block in requests small enough to share
// it, and returns where the taken bytes end.
std::byte* Fill(CArena& arena, size_t bytes) {
    std::byte* end = nullptr;
    while (bytes > 0) {
        const size_t piece = bytes < CArena::kOwnBlockBytes ? bytes : CArena::kOwnBlockBytes;
        end = static_cast<std::byte*>(arena.Allocate(piece)) + piece;
        bytes -= piece;
    }
    return end;
}

// After requests that leave the free place unaligned, a place asked with an
// alignment is aligned and follows with less than that alignment of padding,
// or starts a new block when the rest of the block is too small.
TEST(Arena, PlacesAreAlignedWithLittlePadding) {
    const struct {
        size_t first;
        size_t bytes;
        size_t alignment;
        size_t blocks;
    } cases[] = {
        {1, 8, 8, 1},          {3, 4, 4, 1},          {5, 16, 16, 1},  {7, 2, 2, 1},
        {9, 1, 1, 1},          {1, 0, 8, 1},          {kBlock - 9, 8, 8, 1},
        {kBlock - 7, 8, 8, 2}, {kBlock, 1, 1, 2},     {kBlock - 1, 16, 16, 2},
    };
    for (const auto& c : cases) {
        CArena arena;
        std::byte* end = Fill(arena, c.first);
        auto* place = static_cast<std::byte*>(arena.Allocate(c.bytes, c.alignment));
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(Address(place) % c.alignment, 0u) << c.first << " then " << c.bytes;
        EXPECT_EQ(arena.Capacity(), c.blocks * kBlock) << c.first << " then " << c.bytes;
        if (c.blocks == 1) {
            EXPECT_GE(place, end) << c.first << " then " << c.bytes;
            EXPECT_LT(place, end + c.alignment) << c.first << " then " << c.bytes;
        }
    }
}

// A request that does not fit in the rest of the block and is larger than a
// quarter of a block gets a block of its own size, and the place after it
// still follows the rest of the shared block; a smaller one starts a new
// shared block, and one that fits takes the rest.
TEST(Arena, LargeRequestsGetABlockOfTheirOwn) {
    const size_t rest = 1000;
    const struct {
        size_t large;
        size_t capacity;  // after filling all but `rest` of a block, the large request and 100 bytes
        bool ownBlock;
    } cases[] = {
        {900, kBlock, false},
        {CArena::kOwnBlockBytes, 2 * kBlock, false},
        {CArena::kOwnBlockBytes + 1, kBlock + CArena::kOwnBlockBytes + 1, true},
        {kBlock, 2 * kBlock, true},
        {3 * kBlock + 5, 4 * kBlock + 5, true},
    };
    for (const auto& c : cases) {
        CArena arena;
        std::byte* end = Fill(arena, kBlock - rest);
        auto* large = static_cast<std::byte*>(arena.Allocate(c.large, 8));
        auto* after = static_cast<std::byte*>(arena.Allocate(100));
        EXPECT_EQ(Address(large) % 8, 0u) << c.large;
        EXPECT_EQ(arena.Capacity(), c.capacity) << c.large;
        EXPECT_EQ(after, c.ownBlock ? end : large + c.large) << c.large;
        std::memset(large, 0x5A, c.large);  // the whole place is usable
    }
}

// Many small requests fill whole blocks before taking a new one; a request
// that does not fit leaves only the rest of its block unused.
TEST(Arena, SmallRequestsFillBlocks) {
    const struct {
        size_t bytes;
        size_t alignment;
        size_t count;
        size_t blocks;
    } cases[] = {
        {8, 8, 2 * kBlock / 8, 2},
        {1, 1, kBlock + 1, 2},
        {100, 1, 10000, 16},  // 655 in a block
        {12, 8, 10000, 3},    // 16 bytes each with padding: 4096 in a block
    };
    for (const auto& c : cases) {
        CArena arena;
        for (size_t i = 0; i < c.count; ++i) arena.Allocate(c.bytes, c.alignment);
        EXPECT_EQ(arena.Capacity(), c.blocks * kBlock) << c.count << " of " << c.bytes;
    }
}

// Texts written into the arena keep their bytes while it grows by many
// blocks, and after a swap they belong to the other arena, still intact.
TEST(Arena, TextsStayValidAfterGrowth) {
    CArena arena;
    std::vector<std::string> expected;
    std::vector<std::string_view> texts;
    const size_t lengths[] = {0, 1, 5, 31, 200, 4000, CArena::kOwnBlockBytes + 3, 70 * 1024};
    for (int round = 0; round < 30; ++round) {
        for (const size_t length : lengths) {
            std::string text(length, static_cast<char>('a' + expected.size() % 26));
            if (length > 1) text[length / 2] = static_cast<char>('0' + round % 10);
            auto* place = static_cast<char*>(arena.Allocate(length));
            std::memcpy(place, text.data(), length);
            texts.emplace_back(place, length);
            expected.push_back(std::move(text));
        }
    }
    CArena other;
    other.Swap(arena);
    EXPECT_EQ(arena.Capacity(), 0u);
    EXPECT_GT(other.Capacity(), size_t{30} * 70 * 1024);
    for (size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(texts[i], expected[i]) << "text " << i;
}

}  // namespace
