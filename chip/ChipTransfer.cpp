// SPDX-License-Identifier: MIT
#include "chip/ChipTransfer.h"

#include "remote/GdbClient.h"
#include "chip/ReadPlan.h"

std::vector<std::uint8_t> RegisterBytes(std::uint64_t value, std::uint32_t bytes, bool bigEndian) {
    std::vector<std::uint8_t> out(bytes);
    for (std::uint32_t i = 0; i < bytes && i < 8; ++i) {
        const auto byte = static_cast<std::uint8_t>(value >> (8 * i));
        out[bigEndian ? bytes - 1 - i : i] = byte;
    }
    return out;
}

std::uint64_t RegisterValueOf(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::uint64_t value = 0;
    const std::size_t count = bytes.size() < 8 ? bytes.size() : 8;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bigEndian ? bytes[bytes.size() - 1 - i] : bytes[i];
        value |= static_cast<std::uint64_t>(byte) << (8 * i);
    }
    return value;
}

namespace {
std::uint64_t CutToBits(std::uint64_t value, int bits) { return bits >= 64 ? value : value & ((1ull << bits) - 1); }
}  // namespace

RemoteResult<std::vector<std::uint64_t>> ReadChipRegisters(CGdbClient& client, std::span<const ChipRegister> registers,
                                                          bool bigEndian) {
    using Result = RemoteResult<std::vector<std::uint64_t>>;
    std::vector<ChipReadSpan> spans;
    spans.reserve(registers.size());
    for (const ChipRegister& reg : registers) spans.push_back({reg.address, reg.bytes, true});
    std::vector<std::uint64_t> values(registers.size());
    for (const PlannedRead& read : PlanRegisterReads(spans, client.MaxReadBytes())) {
        const auto bytes = client.ReadMemory(read.address, read.bytes);
        if (!bytes.Ok()) return Result::Failure(bytes.Problem());
        for (const std::size_t index : read.registers) {
            const ChipRegister& reg = registers[index];
            const std::span<const std::uint8_t> own(bytes.Value().data() + (reg.address - read.address), reg.bytes);
            values[index] = CutToBits(RegisterValueOf(own, bigEndian), reg.bits);
        }
    }
    return Result::Success(std::move(values));
}

RemoteStatus WriteChipRegister(CGdbClient& client, const ChipRegister& reg, std::uint64_t value, bool bigEndian) {
    const std::vector<std::uint8_t> bytes = RegisterBytes(CutToBits(value, reg.bits), reg.bytes, bigEndian);
    return client.WriteMemory(reg.address, bytes);
}
