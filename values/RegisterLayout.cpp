// SPDX-License-Identifier: MIT
#include "values/RegisterLayout.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

bool ByAddress(const RegisterSpan& a, const RegisterSpan& b) { return a.address < b.address; }

constexpr std::uint64_t kTop = std::numeric_limits<std::uint64_t>::max();

}  // namespace

RegisterLayout::RegisterLayout(std::vector<RegisterSpan> registers) : m_registers(std::move(registers)) {
    if (!std::is_sorted(m_registers.begin(), m_registers.end(), ByAddress)) {
        std::stable_sort(m_registers.begin(), m_registers.end(), ByAddress);
    }
    for (const RegisterSpan& r : m_registers) {
        if (r.bytes < 1 || r.bytes > 8) continue;
        const auto size = static_cast<std::uint64_t>(r.bytes);
        const std::uint64_t last = r.address > kTop - (size - 1) ? kTop : r.address + (size - 1);
        if (!m_covers.empty() && (m_covers.back().last == kTop || r.address <= m_covers.back().last + 1)) {
            m_covers.back().last = std::max(m_covers.back().last, last);
        } else {
            m_covers.push_back({r.address, last});
        }
    }
}

const RegisterSpan* RegisterLayout::StartingAt(std::uint64_t address) const {
    auto it = std::lower_bound(m_registers.begin(), m_registers.end(), address,
                               [](const RegisterSpan& r, std::uint64_t a) { return r.address < a; });
    return it != m_registers.end() && it->address == address ? &*it : nullptr;
}

RegisterLayout::OffRegisters RegisterLayout::BytesOnNoRegister(std::uint64_t address, std::uint64_t last) const {
    // The first cover that ends at or after `address`.
    auto it = std::lower_bound(m_covers.begin(), m_covers.end(), address,
                               [](const Cover& c, std::uint64_t a) { return c.last < a; });
    OffRegisters off;
    std::uint64_t covered = 0;
    bool firstFound = false;
    if (it == m_covers.end() || it->first > address) {
        off.first = address;
        firstFound = true;
    }
    for (; it != m_covers.end() && it->first <= last; ++it) {
        covered += std::min(it->last, last) - std::max(it->first, address) + 1;
        if (!firstFound && it->last < last) {
            off.first = it->last + 1;  // covers never touch, so the byte after one is on none
            firstFound = true;
        }
    }
    off.bytes = last - address + 1 - covered;
    return off;
}
