// SPDX-License-Identifier: MIT
#include "defs/CoreInfo.h"

#include "defs/RegisterMap.h"

std::optional<CoreProfile> CoreProfileOf(const CRegisterMap& map) {
    if (!map.Core()) return std::nullopt;
    return map.Core()->profile;
}

bool KeepsFaultStatus(CoreProfile profile) {
    return profile == CoreProfile::Armv7M || profile == CoreProfile::Armv8MMainline;
}
