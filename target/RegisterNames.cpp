// SPDX-License-Identifier: MIT
#include "target/RegisterNames.h"

#include "bits/TextChars.h"
#include "calc/ValuesInput.h"
#include "defs/RegisterMap.h"
#include "defs/SvdNumbers.h"
#include "target/TargetRegisters.h"

namespace {

bool IsAddressText(std::string_view name) { return name.size() > 2 && HasHexPrefix(name, HexPrefixCase::kEither); }

// What `name` stands for; no registers when it names none.
NamedRegisters Find(const CRegisterMap& map, std::string_view name) {
    NamedRegisters found;
    if (IsAddressText(name)) {
        if (const auto address = ParseSvdNumber(name)) {
            // The register that starts there; else one whose bytes hold it.
            CRegisterItem* holder = nullptr;
            for (CRegisterItem* reg : map.Registers()) {
                const auto place = TargetRegisterOf(map, *reg);
                if (!place || *address < place->address || *address - place->address >= place->bytes) continue;
                if (place->address == *address) {
                    found.registers.push_back(reg);
                    return found;
                }
                if (!holder) holder = reg;
            }
            if (holder) found.registers.push_back(holder);
        }
    } else {
        for (CRegisterItem* reg : map.Registers()) {
            if (RegisterPath(*reg) == name) {
                found.registers.push_back(reg);
                return found;
            }
        }
        for (const CPropTreeItem* set = map.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling()) {
            if (name == set->GetLabelText()) {
                found.registers = RegistersOfSet(map, *set);
                found.isSet = true;
                return found;
            }
        }
    }
    return found;
}

}  // namespace

Result<NamedRegisters> FindNamedRegisters(const CRegisterMap& map, std::string_view name) {
    NamedRegisters found = Find(map, name);
    if (found.registers.empty()) {
        return Result<NamedRegisters>::Failure(ProblemCode::kUnknownName, std::string(name) + " names no register");
    }
    return Result<NamedRegisters>::Success(std::move(found));
}
