// SPDX-License-Identifier: MIT
#pragma once
// Which memory requests read a set of registers: neighbouring registers (one
// ends where the next starts, or they overlap) share a request while it fits
// the largest read, and a gap between registers is never read, since reading
// an address where no register is can fault a bus.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct TargetReadSpan {
    std::uint64_t address = 0;
    std::uint32_t bytes = 0;
    // False for registers a set read passes over (write-only, or changed by a read).
    bool readable = true;
};

struct PlannedRead {
    std::uint64_t address = 0;
    std::uint32_t bytes = 0;
    // Indexes into the registers given, in address order.
    std::vector<std::size_t> registers;
};

// The fewest requests of at most `maxBytes` each (at least 1) that read every
// readable register of non-zero size, in address order. A register larger than
// `maxBytes` gets a request of its own (the client splits it).
std::vector<PlannedRead> PlanRegisterReads(std::span<const TargetReadSpan> registers, std::uint32_t maxBytes);
