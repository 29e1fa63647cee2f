// SPDX-License-Identifier: MIT
#pragma once
// Register values to and from the chip through a connected GDB client, in
// the device's byte order. Each call blocks for at most the client's timeout
// per exchange: the window runs them off its thread.
#include <cstdint>
#include <span>
#include <vector>

#include "remote/RemoteResult.h"
#include "chip/ChipRegisters.h"

class CGdbClient;

// The value of every register given, read in as few requests as the packet
// size allows; neighbouring registers share a request, a gap between
// registers is never read.
RemoteResult<std::vector<std::uint64_t>> ReadChipRegisters(CGdbClient& client, std::span<const ChipRegister> registers,
                                                          bool bigEndian);
// Writes exactly the register's bytes of `value`, in one request where the packet size allows.
RemoteStatus WriteChipRegister(CGdbClient& client, const ChipRegister& reg, std::uint64_t value, bool bigEndian);
