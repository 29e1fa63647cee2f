// SPDX-License-Identifier: MIT
#include "defs/UniqueLabels.h"

void UniqueLabels::Clear() {
    for (const std::uint32_t slot : m_taken) m_slots[slot] = Slot{};
    m_taken.clear();
    m_chars.clear();
}

std::optional<std::string> UniqueLabels::Take(std::string_view label) {
    if ((m_taken.size() + 1) * 2 > m_slots.size()) Grow();
    const std::uint32_t hash = HashOf(label);
    const size_t at = Find(label, hash);
    if (m_slots[at].nextSuffix == 0) {
        Insert(label, hash, at);
        return std::nullopt;
    }
    std::string renamed;
    for (std::uint32_t suffix = m_slots[at].nextSuffix;; ++suffix) {
        renamed.assign(label).append("_").append(std::to_string(suffix));
        const std::uint32_t renamedHash = HashOf(renamed);
        const size_t free = Find(renamed, renamedHash);
        if (m_slots[free].nextSuffix != 0) continue;
        // The one label added is the renamed one, for which there is room.
        m_slots[at].nextSuffix = suffix + 1;
        Insert(renamed, renamedHash, free);
        return renamed;
    }
}

size_t UniqueLabels::Find(std::string_view label, std::uint32_t hash) const {
    const size_t mask = m_slots.size() - 1;
    for (size_t at = static_cast<size_t>(hash) & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.nextSuffix == 0) return at;
        if (slot.hash == hash && LabelAt(slot) == label) return at;
    }
}

void UniqueLabels::Insert(std::string_view label, std::uint32_t hash, size_t slot) {
    m_slots[slot] = Slot{hash, static_cast<std::uint32_t>(m_chars.size()), static_cast<std::uint32_t>(label.size()), 2};
    m_chars.append(label);
    m_taken.push_back(static_cast<std::uint32_t>(slot));
}

void UniqueLabels::Grow() {
    std::vector<Slot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (std::uint32_t& taken : m_taken) {
        const Slot& slot = old[taken];
        size_t at = static_cast<size_t>(slot.hash) & mask;
        while (m_slots[at].nextSuffix != 0) at = (at + 1) & mask;
        m_slots[at] = slot;
        taken = static_cast<std::uint32_t>(at);
    }
}
