// SPDX-License-Identifier: MIT
#pragma once
// What a loaded register file is: its rows, the bit span of every field row,
// and for every register, in file order, its address and reset value where
// the file gives them and its current value with where that came from. The
// main window owns one map; a load fills a map of its own, which is swapped
// in whole once the file could be opened, so a failed open changes nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "defs/FieldTable.h"
#include "defs/HeaderNameTable.h"
#include "defs/RegisterItem.h"
#include "tree/PropTree.h"

struct CoreInfo;

struct RegisterValue {
    std::uint64_t value = 0;
    ValueSource source = ValueSource::File;
};

class CRegisterMap {
public:
    CRegisterMap() = default;
    CRegisterMap(const CRegisterMap&) = delete;
    CRegisterMap& operator=(const CRegisterMap&) = delete;

    CPropTree& Tree() { return m_tree; }
    const CPropTree& Tree() const { return m_tree; }
    CFieldTable& Fields() { return m_table; }
    const CFieldTable& Fields() const { return m_table; }

    // Makes a register row, the last child of `set`, and enters it in the
    // map's list of registers. Loaders make every register row this way.
    CRegisterItem* AddRegister(CPropTreeItem* set);
    void SetAddress(CRegisterItem& reg, std::uint64_t address);
    // The reset value is also the register's current value, from the file.
    void SetResetValue(CRegisterItem& reg, std::uint64_t value);
    // What the file says the chip allows of the register, and whether reading
    // it changes it (an SVD readAction on it or one of its fields), which
    // decides what may be read and written through a debugger.
    void SetTargetAccess(CRegisterItem& reg, RowAccess access, bool readChangesIt);
    RowAccess AccessOf(const CRegisterItem& reg) const { return reg.m_access; }
    bool ReadChangesIt(const CRegisterItem& reg) const { return reg.m_nFacts & CRegisterItem::kReadChangesIt; }
    // A register set's base address, where the file gives one.
    void SetBaseAddress(const CPropTreeItem& set, std::uint64_t address);
    // The device's byte order, which lays dumps into registers; little unless the file says big.
    void SetBigEndian(bool big) { m_bBigEndian = big; }
    bool IsBigEndian() const { return m_bBigEndian; }
    // The Cortex-M core whose registers were added to the map (defs/CoreInfo.h); null for none.
    void SetCore(const CoreInfo* core) { m_core = core; }
    const CoreInfo* Core() const { return m_core; }
    // Gives back room the loader's growing tables keep for more; a load ends with it.
    void FinishLoad();

    // The registers in file order.
    const std::vector<CRegisterItem*>& Registers() const { return m_registers; }
    std::optional<std::uint64_t> AddressOf(const CRegisterItem& reg) const;
    std::optional<std::uint64_t> BaseAddressOf(const CPropTreeItem& set) const;
    // Whether some address is above 0xFFFFFFFF, so addresses take 16 hex digits, not 8.
    bool HasWideAddresses() const { return m_bWideAddresses; }
    bool HasAddresses() const { return !m_baseAddresses.empty() || m_bAnyAddress; }
    // "0x40021000": every address of the map at one width, so they line up: 8 hex
    // digits, or 16 for each in a map of wide addresses (a message's lone address
    // takes bits/' FormatAddress, whose width is the address's own).
    std::string FormatAddressAtMapWidth(std::uint64_t address) const;
    std::optional<std::uint64_t> ResetValueOf(const CRegisterItem& reg) const;
    // The current value, or nothing while no one has given the register a
    // value (a definitions file's register before its fields are composed).
    std::optional<RegisterValue> ValueOf(const CRegisterItem& reg) const;
    void SetValue(CRegisterItem& reg, std::uint64_t value, ValueSource source);

    // What a register's value is compared with to mark it changed: the value
    // a compared values file gave it, else its reset value; nothing when
    // neither is known.
    std::optional<std::uint64_t> BaselineOf(const CRegisterItem& reg) const;
    void SetBaseline(CRegisterItem& reg, std::uint64_t value);
    // Back to comparing every register with its reset value.
    void ClearBaselines();
    // The bits of `reg`'s current value that differ from its baseline (0 when either is unknown).
    std::uint64_t ChangedBits(const CRegisterItem& reg) const;

    // The names a CMSIS device header made from the file gives the registers, by their place in
    // Registers() (an SVD load gives them).
    HeaderNameTable& HeaderNames() { return m_headerNames; }
    const HeaderNameTable& HeaderNames() const { return m_headerNames; }
    // The place of `reg` in Registers(), or Registers().size() when it is not the map's.
    std::size_t IndexOf(const CRegisterItem& reg) const;

    // Exchanges everything with `other`; the tree window of each stays
    // where it is and shows the rows it now holds.
    void Swap(CRegisterMap& other);

private:
    CPropTree m_tree;
    CFieldTable m_table;
    std::vector<CRegisterItem*> m_registers;
    std::unordered_map<const CPropTreeItem*, std::uint64_t> m_baseAddresses;
    HeaderNameTable m_headerNames;
    bool m_bAnyAddress = false;
    bool m_bWideAddresses = false;
    bool m_bBigEndian = false;
    const CoreInfo* m_core = nullptr;
};
