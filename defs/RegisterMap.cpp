// SPDX-License-Identifier: MIT
#include "defs/RegisterMap.h"

#include <algorithm>
#include <utility>

#include "bits/NumberFormatting.h"

CRegisterItem* CRegisterMap::AddRegister(CPropTreeItem* set) {
    auto* reg = m_tree.NewItem<CRegisterItem>(set);
    m_registers.push_back(reg);
    return reg;
}

void CRegisterMap::SetAddress(CRegisterItem& reg, std::uint64_t address) {
    reg.m_nAddress = address;
    reg.m_nFacts |= CRegisterItem::kAddress;
    m_bAnyAddress = true;
    if (address > 0xFFFFFFFFu) m_bWideAddresses = true;
}

void CRegisterMap::SetTargetAccess(CRegisterItem& reg, RowAccess access, bool readChangesIt) {
    reg.m_access = access;
    if (readChangesIt)
        reg.m_nFacts |= CRegisterItem::kReadChangesIt;
    else
        reg.m_nFacts &= static_cast<std::uint8_t>(~CRegisterItem::kReadChangesIt);
}

void CRegisterMap::SetBaseAddress(const CPropTreeItem& set, std::uint64_t address) {
    m_baseAddresses[&set] = address;
    if (address > 0xFFFFFFFFu) m_bWideAddresses = true;
}

std::optional<std::uint64_t> CRegisterMap::BaseAddressOf(const CPropTreeItem& set) const {
    const auto it = m_baseAddresses.find(&set);
    if (it == m_baseAddresses.end()) return std::nullopt;
    return it->second;
}

std::string CRegisterMap::FormatAddressAtMapWidth(std::uint64_t address) const {
    return FormatRegisterHex(address, m_bWideAddresses ? 64 : 32);
}

void CRegisterMap::SetResetValue(CRegisterItem& reg, std::uint64_t value) {
    reg.m_nResetValue = value;
    reg.m_nFacts |= CRegisterItem::kResetValue;
    SetValue(reg, value, ValueSource::File);
}

void CRegisterMap::FinishLoad() {
    m_table.ShrinkToFit();
    if (m_registers.capacity() - m_registers.size() > m_registers.size() / 8) m_registers.shrink_to_fit();
    m_headerNames.ShrinkToFit();
}

std::size_t CRegisterMap::IndexOf(const CRegisterItem& reg) const {
    return static_cast<std::size_t>(std::find(m_registers.begin(), m_registers.end(), &reg) - m_registers.begin());
}

std::optional<std::uint64_t> CRegisterMap::AddressOf(const CRegisterItem& reg) const {
    if (!(reg.m_nFacts & CRegisterItem::kAddress)) return std::nullopt;
    return reg.m_nAddress;
}

std::optional<std::uint64_t> CRegisterMap::ResetValueOf(const CRegisterItem& reg) const {
    if (!(reg.m_nFacts & CRegisterItem::kResetValue)) return std::nullopt;
    return reg.m_nResetValue;
}

std::optional<RegisterValue> CRegisterMap::ValueOf(const CRegisterItem& reg) const {
    if (!(reg.m_nFacts & CRegisterItem::kValue)) return std::nullopt;
    return RegisterValue{reg.m_nValue, reg.m_source};
}

void CRegisterMap::SetValue(CRegisterItem& reg, std::uint64_t value, ValueSource source) {
    reg.m_nValue = value;
    reg.m_source = source;
    reg.m_nFacts |= CRegisterItem::kValue;
}

std::optional<std::uint64_t> CRegisterMap::BaselineOf(const CRegisterItem& reg) const {
    if (reg.m_nFacts & CRegisterItem::kBaseline) return reg.m_nBaseline;
    return ResetValueOf(reg);
}

void CRegisterMap::SetBaseline(CRegisterItem& reg, std::uint64_t value) {
    reg.m_nBaseline = value;
    reg.m_nFacts |= CRegisterItem::kBaseline;
}

void CRegisterMap::ClearBaselines() {
    for (CRegisterItem* reg : m_registers) reg->m_nFacts &= static_cast<std::uint8_t>(~CRegisterItem::kBaseline);
}

std::uint64_t CRegisterMap::ChangedBits(const CRegisterItem& reg) const {
    const auto baseline = BaselineOf(reg);
    if (!baseline || !(reg.m_nFacts & CRegisterItem::kValue)) return 0;
    return reg.m_nValue ^ *baseline;
}

void CRegisterMap::Swap(CRegisterMap& other) {
    m_table.Swap(other.m_table);
    m_registers.swap(other.m_registers);
    m_baseAddresses.swap(other.m_baseAddresses);
    m_headerNames.Swap(other.m_headerNames);
    std::swap(m_bAnyAddress, other.m_bAnyAddress);
    std::swap(m_bWideAddresses, other.m_bWideAddresses);
    std::swap(m_bBigEndian, other.m_bBigEndian);
    std::swap(m_core, other.m_core);
    // The rows last: their swap resets the view, which asks the map about the
    // rows it now shows (whether there are addresses, the fields' spans).
    m_tree.SwapRows(other.m_tree);
}
