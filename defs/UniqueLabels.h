// SPDX-License-Identifier: MIT
#pragma once
// The labels of one register set as they are handed out, so that no two
// registers of the set share a label path: a label met again is given the
// first free one of LABEL_2, LABEL_3, ... An open-addressing table over one
// buffer of the labels' characters, emptied for each set; the next suffix to
// try is kept with each label, so a label met many times costs no search
// over the suffixes it has already handed out.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UniqueLabels {
public:
    // Forgets every label taken, keeping the memory for the next set.
    void Clear();
    // Takes `label`: nothing when it was free, else the free label it is
    // to have instead, which is taken too.
    std::optional<std::string> Take(std::string_view label);

    size_t Count() const { return m_taken.size(); }

private:
    // 16 bytes: a set may hold millions of registers.
    struct Slot {
        std::uint32_t hash = 0;  // the low bits of the label's hash, to pass over most others unread
        std::uint32_t offset = 0;  // of the label's characters in m_chars
        std::uint32_t length = 0;
        std::uint32_t nextSuffix = 0;  // 0 marks a free slot
    };
    static_assert(sizeof(Slot) == 16);

    // The slot holding `label`, or the free slot where it would go.
    size_t Find(std::string_view label, std::uint32_t hash) const;
    void Insert(std::string_view label, std::uint32_t hash, size_t slot);
    static std::uint32_t HashOf(std::string_view label) {
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(label));
    }
    void Grow();
    std::string_view LabelAt(const Slot& slot) const { return std::string_view(m_chars).substr(slot.offset, slot.length); }

    std::vector<Slot> m_slots;          // a power of two of them, at most half taken
    std::vector<std::uint32_t> m_taken;  // the slots taken, to empty them again
    std::string m_chars;
};
