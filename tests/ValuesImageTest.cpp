// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "values/MemoryImage.h"
#include "values/ValuesApplier.h"
#include "values/ValuesTextReader.h"

namespace {

constexpr std::uint64_t kTop = ~std::uint64_t{0};

TEST(MemoryImage, RawImageInBothByteOrders) {
    MemoryImage image;
    image.AddRaw(0x20000000, std::string("\x83\x00\x01\x02\x03\x04\x05\x06\x07\x08", 10));
    struct Case {
        std::uint64_t address;
        int bytes;
        ByteOrder order;
        std::uint64_t value;
    };
    const Case cases[] = {
        {0x20000000, 4, ByteOrder::Little, 0x02010083},
        {0x20000000, 4, ByteOrder::Big, 0x83000102},
        {0x20000001, 2, ByteOrder::Little, 0x0100},
        {0x20000001, 2, ByteOrder::Big, 0x0001},
        {0x20000002, 8, ByteOrder::Little, 0x0807060504030201},
        {0x20000002, 8, ByteOrder::Big, 0x0102030405060708},
        {0x20000009, 1, ByteOrder::Big, 0x08},
        {0x20000006, 3, ByteOrder::Little, 0x070605},  // a register of odd size
    };
    for (const Case& c : cases) {
        const ImageReading reading = image.Read(c.address, c.bytes, c.order);
        EXPECT_EQ(reading.coverage, Coverage::Whole) << std::hex << c.address;
        EXPECT_EQ(reading.value, c.value) << std::hex << c.address << " " << c.bytes;
    }
    EXPECT_EQ(image.Read(0x20000008, 4, ByteOrder::Little).coverage, Coverage::Partly);
    EXPECT_EQ(image.Read(0x1ffffffe, 4, ByteOrder::Little).coverage, Coverage::Partly);
    EXPECT_EQ(image.Read(0x2000000a, 4, ByteOrder::Little).coverage, Coverage::None);
    EXPECT_EQ(image.Read(0x20000000, 0, ByteOrder::Little).coverage, Coverage::None);
    EXPECT_EQ(image.Read(0x20000000, 9, ByteOrder::Little).coverage, Coverage::None);
}

// The same memory dumped in words, half-words and bytes gives the same registers.
TEST(MemoryImage, EveryDumpUnitLaysTheSameBytes) {
    const char* dumps[] = {
        "0x40021000 <RCC>:\t0x12345678\t0x9abcdef0",
        "0x40021000 <RCC>:\t0x5678\t0x1234\t0xdef0\t0x9abc",
        "0x40021000:\t0x78\t0x56\t0x34\t0x12\t0xf0\t0xde\t0xbc\t0x9a",
        "0x40021000:\t0x9abcdef012345678",
        "40021000: 12345678\n40021004 = 9abcdef0",
    };
    const RegisterLayout layout({{0x40021000, 4, 0}, {0x40021004, 4, 1}});
    const ValuesApplier applier(layout, ByteOrder::Little);
    for (const char* dump : dumps) {
        ValuesText read = ReadValuesText(dump);
        ASSERT_TRUE(read.problems.Empty()) << dump;
        MemoryImage image;
        applier.Lay(image, read.addressed, read.problems);
        EXPECT_EQ(image.RunCount(), 1u) << dump;
        EXPECT_EQ(image.Read(0x40021000, 4, ByteOrder::Little).value, 0x12345678u) << dump;
        EXPECT_EQ(image.Read(0x40021004, 4, ByteOrder::Little).value, 0x9abcdef0u) << dump;
        EXPECT_EQ(image.Read(0x40021000, 8, ByteOrder::Little).value, 0x9abcdef012345678u) << dump;
    }
}

TEST(MemoryImage, LaterValuesWinAndRunsMerge) {
    MemoryImage image;
    image.Lay(0x10, 0x11111111, 4, ByteOrder::Little);  // 0x10..0x13
    image.Lay(0x20, 0x22222222, 4, ByteOrder::Little);  // 0x20..0x23
    image.Lay(0x18, 0x3333, 2, ByteOrder::Little);      // 0x18..0x19
    EXPECT_EQ(image.RunCount(), 3u);
    image.Lay(0x14, 0x4444444444444444, 8, ByteOrder::Little);  // 0x14..0x1b over the middle run
    EXPECT_EQ(image.RunCount(), 2u);
    image.Lay(0x1c, 0x55555555, 4, ByteOrder::Big);  // 0x1c..0x1f: touches both ends
    EXPECT_EQ(image.RunCount(), 1u);
    image.Lay(0x22, 0x66, 1, ByteOrder::Little);
    image.Lay(0x0e, 0x7777, 2, ByteOrder::Little);  // touches the start
    EXPECT_EQ(image.RunCount(), 1u);
    EXPECT_EQ(image.Read(0x0e, 2, ByteOrder::Little).value, 0x7777u);
    EXPECT_EQ(image.Read(0x10, 4, ByteOrder::Little).value, 0x11111111u);
    EXPECT_EQ(image.Read(0x18, 4, ByteOrder::Little).value, 0x44444444u);
    EXPECT_EQ(image.Read(0x1c, 4, ByteOrder::Little).value, 0x55555555u);
    EXPECT_EQ(image.Read(0x20, 4, ByteOrder::Little).value, 0x22662222u);
    EXPECT_EQ(image.Pieces().size(), 7u);
}

TEST(MemoryImage, TheTopOfTheAddressSpace) {
    MemoryImage image;
    image.Lay(kTop - 1, 0x0102, 2, ByteOrder::Big);
    image.AddRaw(kTop - 3, std::string("\xaa\xbb\xcc\xdd\xee", 5));  // the last byte has no address
    ASSERT_EQ(image.Pieces().size(), 2u);
    EXPECT_EQ(image.Pieces()[1].bytes, 4u);
    EXPECT_EQ(image.RunCount(), 1u);
    EXPECT_EQ(image.Read(kTop - 3, 4, ByteOrder::Big).value, 0xaabbccddu);
    EXPECT_EQ(image.Read(kTop - 3, 8, ByteOrder::Big).coverage, Coverage::None);  // past the top
    image.Lay(0, 0x99, 1, ByteOrder::Little);  // address 0 does not join the run at the top
    EXPECT_EQ(image.RunCount(), 2u);
}

}  // namespace
