// SPDX-License-Identifier: MIT
#include "chip/ChipRegisters.h"

#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"

std::optional<ChipRegister> ChipRegisterOf(const CRegisterMap& map, const CRegisterItem& reg) {
    const auto address = map.AddressOf(reg);
    if (!address || reg.m_nBits < 1 || reg.m_nBits > 64) return std::nullopt;
    return ChipRegister{*address, static_cast<std::uint32_t>((reg.m_nBits + 7) / 8), reg.m_nBits};
}

ReadHazard ReadHazardOf(const CRegisterMap& map, const CRegisterItem& reg) {
    if (!ChipRegisterOf(map, reg)) return ReadHazard::NoAddress;
    if (map.AccessOf(reg) == RowAccess::WriteOnly) return ReadHazard::WriteOnly;
    if (map.ReadChangesIt(reg)) return ReadHazard::ReadChangesIt;
    return ReadHazard::None;
}

std::string ReadHazardText(ReadHazard hazard) {
    switch (hazard) {
    case ReadHazard::NoAddress: return "has no address";
    case ReadHazard::WriteOnly: return "is write-only";
    case ReadHazard::ReadChangesIt: return "changes when read";
    case ReadHazard::None: break;
    }
    return {};
}

ProblemCode ProblemCodeOf(ReadHazard hazard) {
    switch (hazard) {
    case ReadHazard::WriteOnly: return ProblemCode::kWriteOnly;
    case ReadHazard::ReadChangesIt: return ProblemCode::kReadChangesIt;
    case ReadHazard::NoAddress:
    case ReadHazard::None: break;
    }
    return ProblemCode::kNoAddress;
}

ChipReadSelection SelectForRead(const CRegisterMap& map, std::span<CRegisterItem* const> registers) {
    ChipReadSelection selection;
    for (CRegisterItem* reg : registers) {
        const ReadHazard hazard = ReadHazardOf(map, *reg);
        if (hazard != ReadHazard::None) {
            selection.skipped.push_back(
                MakeProblem(ProblemCodeOf(hazard), RegisterPath(*reg) + " " + ReadHazardText(hazard)));
            continue;
        }
        selection.registers.push_back(reg);
        selection.places.push_back(*ChipRegisterOf(map, *reg));
    }
    return selection;
}

std::vector<CRegisterItem*> RegistersOfSet(const CRegisterMap& map, const CPropTreeItem& set) {
    std::vector<CRegisterItem*> registers;
    for (CRegisterItem* reg : map.Registers())
        if (reg->GetParent() == &set) registers.push_back(reg);
    return registers;
}
