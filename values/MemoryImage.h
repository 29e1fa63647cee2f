// SPDX-License-Identifier: MIT
#pragma once
// The bytes of a device's memory that a values text or a raw image gave:
// sparse, since dumps have gaps. Values are laid in by their size and the
// device's byte order; a later value over the same bytes wins. Registers are
// read back from the bytes, so a dump in words, half-words or bytes gives the
// same register values.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "bits/ByteOrder.h"

enum class Coverage { Whole, Partly, None };

struct ImageReading {
    Coverage coverage = Coverage::None;
    std::uint64_t value = 0;  // when Whole
};

class MemoryImage {
public:
    // What was laid in, in order: one value, or a raw image whose every byte counts as a value.
    struct Piece {
        std::uint64_t address = 0;
        std::uint64_t bytes = 0;
        bool raw = false;
    };

    // Lays the low `bytes` bytes (1 to 8) of `value` at `address`. Bytes that
    // would lie past the top of the address space are dropped.
    void Lay(std::uint64_t address, std::uint64_t value, int bytes, ByteOrder order);
    // A raw binary image whose first byte lies at `base`.
    void AddRaw(std::uint64_t base, std::string_view bytes);

    // The register of `bytes` bytes (1 to 8) at `address`: Whole with its
    // value when every byte was given, Partly when some were, None when none
    // were (and for any other size).
    ImageReading Read(std::uint64_t address, int bytes, ByteOrder order) const;

    const std::vector<Piece>& Pieces() const { return m_pieces; }
    bool Empty() const { return m_runs.empty(); }
    // Runs of consecutive given bytes: a dump without gaps is one.
    std::size_t RunCount() const { return m_runs.size(); }

private:
    // Writes `count` bytes at `address`, none past the top of the address space.
    void Write(std::uint64_t address, const std::uint8_t* bytes, std::uint64_t count);
    // Whether any byte of address .. last (inclusive) was given.
    bool AnyGiven(std::uint64_t address, std::uint64_t last) const;

    // Disjoint runs that never touch (adjacent ones are merged), by first address.
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_runs;
    std::vector<Piece> m_pieces;
};
