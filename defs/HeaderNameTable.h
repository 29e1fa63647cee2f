// SPDX-License-Identifier: MIT
#pragma once
// What a register's line of C is named by, as a CMSIS device header generated
// from the same SVD file names it: the start of its field macros
// ("UART0_UARTCR", to which "_FIELD_Pos" and "_FIELD_Msk" are added) and what
// changes its member name in the peripheral's struct. Registers named alike
// (an array, the instances of a peripheral, a peripheral derived without a
// layout of its own) share one entry of the map's table, and the texts of all
// entries are kept in one string: a map of millions of rows keeps a small
// index a register and never a text a row.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RegisterHeaderNames {
    // The device's headerDefinitionsPrefix, put before the peripheral's name
    // in a C left-hand side ("NRF_" of NRF_POWER); empty without one, and for
    // the core registers tavlin adds, which CMSIS-Core names without it.
    std::string_view instancePrefix;
    std::string_view macro;          // "P_C_R": the peripheral's, the clusters' and the register's names, joined by '_'
    std::string_view prependToName;  // the peripheral's prependToName: put before the register's member name
    std::string_view appendToName;   // the peripheral's appendToName: put after it, before any index
    bool hasFields = true;           // false for a register without field elements: it has no field macros
    bool core = false;               // a register of tavlin's core maps: named as the map's core's CMSIS-Core header names it
};

class HeaderNameTable {
public:
    // Adds an entry, returning its number; the loader adds each distinct
    // entry once and gives it to every register it names. Texts longer than
    // 65 535 characters are cut.
    std::uint32_t Add(const RegisterHeaderNames& names);
    // Gives the entry to the register at `index` of the map's Registers().
    void Give(std::size_t index, std::uint32_t entry);
    // The names of the register at `index`; nothing where the file gave none
    // (a definitions file), whose names are then made from the labels.
    std::optional<RegisterHeaderNames> Of(std::size_t index) const;

    void ShrinkToFit();
    void Swap(HeaderNameTable& other) noexcept;

private:
    struct Entry {
        std::uint32_t at;  // in m_text: the instance prefix, the macro, the prependToName, the appendToName
        std::uint16_t prefix;
        std::uint16_t macro;
        std::uint16_t prepend;
        std::uint16_t append;
        bool hasFields;
        bool core;
    };
    std::string m_text;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_ofRegister;  // 1 + its entry, 0 for none; shorter when the last have none
};

// `name` as a C identifier's part, as CMSIS headers spell it: each of
// " \:;.,#?()+-*/" becomes '_', everything else (case too) is kept.
std::string CodeIdentifierPart(std::string_view name);
void AppendCodeIdentifierPart(std::string& out, std::string_view name);
