// SPDX-License-Identifier: MIT
#pragma once
// Register values to and from the chip through a connected GDB client, in
// the device's byte order. Each call blocks for at most the client's timeout
// per exchange: the window runs them off its thread.
#include <cstdint>
#include <span>
#include <vector>

#include "problem/Result.h"
#include "target/TargetRegisters.h"

class CGdbClient;

// The value of every register given, read in as few requests as the packet
// size allows; neighbouring registers share a request, a gap between
// registers is never read.
Result<std::vector<std::uint64_t>> ReadTargetRegisters(CGdbClient& client, std::span<const TargetRegister> registers,
                                                          bool bigEndian);
// Writes exactly the register's bytes of `value`, in one request where the packet size allows.
Status WriteTargetRegister(CGdbClient& client, const TargetRegister& reg, std::uint64_t value, bool bigEndian);

// What a register holds after a write: read back from the chip, or, where a
// read would change the register or give nothing (`readBack` false), the value written.
struct WrittenValue {
    std::uint64_t value = 0;
    bool readBack = false;
};

// Writes `value`, then reads the register back when `readBack` (CheckRead allows it):
// the one write the command line and the window both make.
Result<WrittenValue> WriteThenReadBack(CGdbClient& client, const TargetRegister& reg, std::uint64_t value,
                                       bool bigEndian, bool readBack);
