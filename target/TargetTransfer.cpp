// SPDX-License-Identifier: MIT
#include "target/TargetTransfer.h"

#include "bits/ByteOrder.h"
#include "remote/GdbClient.h"
#include "target/ReadPlan.h"

namespace {
std::uint64_t CutToBits(std::uint64_t value, int bits) { return bits >= 64 ? value : value & ((1ull << bits) - 1); }
}  // namespace

Result<std::vector<std::uint64_t>> ReadTargetRegisters(CGdbClient& client, std::span<const TargetRegister> registers,
                                                    bool bigEndian) {
    using Values = Result<std::vector<std::uint64_t>>;
    std::vector<TargetReadSpan> spans;
    spans.reserve(registers.size());
    for (const TargetRegister& reg : registers) spans.push_back({reg.address, reg.bytes, true});
    std::vector<std::uint64_t> values(registers.size());
    for (const PlannedRead& read : PlanRegisterReads(spans, client.MaxReadBytes())) {
        const auto bytes = client.ReadMemory(read.address, read.bytes);
        if (!bytes.Ok()) return Values::FailureOf(bytes);
        for (const std::size_t index : read.registers) {
            const TargetRegister& reg = registers[index];
            const std::span<const std::uint8_t> own(bytes.Value().data() + (reg.address - read.address), reg.bytes);
            values[index] = CutToBits(UnpackValue(own, ByteOrderOf(bigEndian)), reg.bits);
        }
    }
    return Values::Success(std::move(values));
}

Status WriteTargetRegister(CGdbClient& client, const TargetRegister& reg, std::uint64_t value, bool bigEndian) {
    std::vector<std::uint8_t> bytes(reg.bytes);
    PackValue(CutToBits(value, reg.bits), bytes, ByteOrderOf(bigEndian));
    return client.WriteMemory(reg.address, bytes);
}

Result<WrittenValue> WriteThenReadBack(CGdbClient& client, const TargetRegister& reg, std::uint64_t value,
                                       bool bigEndian, bool readBack) {
    using Written = Result<WrittenValue>;
    const Status written = WriteTargetRegister(client, reg, value, bigEndian);
    if (!written) return Written::FailureOf(written);
    if (!readBack) return Written::Success({CutToBits(value, reg.bits), false});
    const auto held = ReadTargetRegisters(client, std::span(&reg, 1), bigEndian);
    if (!held) return Written::FailureOf(held);
    return Written::Success({held.Value().front(), true});
}
