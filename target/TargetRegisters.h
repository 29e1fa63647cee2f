// SPDX-License-Identifier: MIT
#pragma once
// Where the registers of a map lie on the chip and which of them a read may
// touch: what the window and the command line ask before they send a request.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "problem/Result.h"

class CPropTreeItem;
class CRegisterItem;
class CRegisterMap;

// A register's bytes on the chip: plain data, safe to hand to the thread
// that talks to the server.
struct TargetRegister {
    std::uint64_t address = 0;
    std::uint32_t bytes = 0;  // 1..8
    int bits = 32;
};

// Where `reg` lies, or nothing when the file gives no address or it is wider than 64 bits.
std::optional<TargetRegister> TargetRegisterOf(const CRegisterMap& map, const CRegisterItem& reg);
// Whether a read of `reg` is made without asking; if not, why, named in
// words ("UART1.DR changes when read"):
// - kNoAddress, "has no address": the file gives none, or the register is wider than 64 bits;
// - kWriteOnly, "is write-only": reads give nothing meaningful, and may fault;
// - kReadChangesIt, "changes when read": an SVD readAction, the read clears, sets or otherwise changes it.
Status CheckRead(const CRegisterMap& map, const CRegisterItem& reg);

// What a read of many registers (a set, or several names) reads and what it
// passes over, in the map's order.
struct TargetReadSelection {
    std::vector<CRegisterItem*> registers;  // those read
    std::vector<TargetRegister> places;       // where each of them lies
    // One a register passed over: its code says why (kNoAddress, kWriteOnly,
    // kReadChangesIt), its words name it ("UART1.DR changes when read").
    std::vector<Problem> skipped;
};
TargetReadSelection SelectForRead(const CRegisterMap& map, std::span<CRegisterItem* const> registers);

// The registers of a register set row, in the map's order.
std::vector<CRegisterItem*> RegistersOfSet(const CRegisterMap& map, const CPropTreeItem& set);
