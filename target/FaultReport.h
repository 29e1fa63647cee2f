// SPDX-License-Identifier: MIT
#pragma once
// Why a Cortex-M core faulted, in plain words, from its System Control
// Block: one line for each fault status bit that is set (CFSR, HFSR, and
// DFSR where a debug event escalated), the faulting address in the line of
// the fault it belongs to when its valid bit says it is valid, then the
// exception the core is in (ICSR's VECTACTIVE). The same report comes from
// the chip, from a dump laid over a map, or from values typed into the map.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "defs/CoreInfo.h"
#include "problem/Result.h"

class CGdbClient;
class CRegisterMap;

// The SCB words the report reads, each where it is known.
struct FaultRegisters {
    std::optional<std::uint32_t> cpuid, icsr, shcsr, cfsr, hfsr, dfsr, mmfar, bfar;
};

// Their addresses, fixed by the architecture for every profile.
inline constexpr std::uint64_t kCpuidAddress = 0xE000ED00;
inline constexpr std::uint64_t kIcsrAddress = 0xE000ED04;
inline constexpr std::uint64_t kShcsrAddress = 0xE000ED24;
inline constexpr std::uint64_t kCfsrAddress = 0xE000ED28;
inline constexpr std::uint64_t kHfsrAddress = 0xE000ED2C;
inline constexpr std::uint64_t kDfsrAddress = 0xE000ED30;
inline constexpr std::uint64_t kMmfarAddress = 0xE000ED34;
inline constexpr std::uint64_t kBfarAddress = 0xE000ED38;

// The report's lines. `profile` is the core's when known (CPUID, when read,
// decides otherwise); without either the configurable fault status is
// assumed to be there. Armv6-M and Armv8-M Baseline keep none, which the
// report says before the active exception.
std::vector<std::string> FaultReportLines(const FaultRegisters& registers, std::optional<CoreProfile> profile);

// Reads CPUID and ICSR, then, on a core that keeps them, SHCSR, CFSR, HFSR,
// DFSR, MMFAR and BFAR: reads that change nothing, in two requests.
Result<FaultRegisters> ReadFaultRegisters(CGdbClient& client, std::optional<CoreProfile> profile);

// The words from the map's 32-bit registers at those addresses whose values
// came from somewhere other than the file (the chip, a values file, typing).
FaultRegisters FaultRegistersOf(const CRegisterMap& map);
