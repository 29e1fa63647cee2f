// SPDX-License-Identifier: MIT
#pragma once
// The order a device keeps the bytes of a value in memory (the SVD file's
// <cpu><endian>, little when the file does not say), and the one packer of a
// value into bytes in that order and back, for dumps and for the chip alike.
#include <cstddef>
#include <cstdint>
#include <span>

enum class ByteOrder { Little, Big };

inline ByteOrder ByteOrderOf(bool bigEndian) { return bigEndian ? ByteOrder::Big : ByteOrder::Little; }

// Writes `value` into `out` in `order`: its low eight bytes at most, a wider
// span getting zeros above them.
inline void PackValue(std::uint64_t value, std::span<std::uint8_t> out, ByteOrder order) {
    const std::size_t size = out.size();
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : std::uint8_t{0};
        out[order == ByteOrder::Big ? size - 1 - i : i] = byte;
    }
}

// The value `bytes` hold in `order`: its low eight bytes at most.
inline std::uint64_t UnpackValue(std::span<const std::uint8_t> bytes, ByteOrder order) {
    std::uint64_t value = 0;
    const std::size_t count = bytes.size() < 8 ? bytes.size() : 8;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = order == ByteOrder::Big ? bytes[bytes.size() - 1 - i] : bytes[i];
        value |= static_cast<std::uint64_t>(byte) << (8 * i);
    }
    return value;
}
