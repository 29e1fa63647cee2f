// SPDX-License-Identifier: MIT
#include "target/TargetRegisters.h"

#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"

std::optional<TargetRegister> TargetRegisterOf(const CRegisterMap& map, const CRegisterItem& reg) {
    const auto address = map.AddressOf(reg);
    if (!address || reg.m_nBits < 1 || reg.m_nBits > 64) return std::nullopt;
    return TargetRegister{*address, static_cast<std::uint32_t>((reg.m_nBits + 7) / 8), reg.m_nBits};
}

Status CheckRead(const CRegisterMap& map, const CRegisterItem& reg) {
    const auto refused = [&reg](ProblemCode code, const char* why) {
        return Status::Failure(code, RegisterPath(reg) + " " + why);
    };
    if (!TargetRegisterOf(map, reg)) return refused(ProblemCode::kNoAddress, "has no address");
    if (map.AccessOf(reg) == RowAccess::WriteOnly) return refused(ProblemCode::kWriteOnly, "is write-only");
    if (map.ReadChangesIt(reg)) return refused(ProblemCode::kReadChangesIt, "changes when read");
    return Succeeded();
}

TargetReadSelection SelectForRead(const CRegisterMap& map, std::span<CRegisterItem* const> registers) {
    TargetReadSelection selection;
    for (CRegisterItem* reg : registers) {
        if (const Status read = CheckRead(map, *reg); !read) {
            selection.skipped.push_back(read.Error());
            continue;
        }
        selection.registers.push_back(reg);
        selection.places.push_back(*TargetRegisterOf(map, *reg));
    }
    return selection;
}

std::vector<CRegisterItem*> RegistersOfSet(const CRegisterMap& map, const CPropTreeItem& set) {
    std::vector<CRegisterItem*> registers;
    for (CRegisterItem* reg : map.Registers())
        if (reg->GetParent() == &set) registers.push_back(reg);
    return registers;
}
