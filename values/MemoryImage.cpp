// SPDX-License-Identifier: MIT
#include "values/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

constexpr std::uint64_t kTop = std::numeric_limits<std::uint64_t>::max();

// How many of `count` bytes at `address` lie at or below the top address.
std::uint64_t BytesBelowTop(std::uint64_t address, std::uint64_t count) {
    return count == 0 ? 0 : std::min(count, kTop - address + 1 == 0 ? count : kTop - address + 1);
}

// The last address of a run (runs are never empty).
std::uint64_t LastOf(std::uint64_t start, const std::vector<std::uint8_t>& run) { return start + (run.size() - 1); }

}  // namespace

void MemoryImage::Lay(std::uint64_t address, std::uint64_t value, int bytes, ByteOrder order) {
    if (bytes < 1 || bytes > 8) return;
    std::uint8_t laid[8];
    PackValue(value, std::span<std::uint8_t>(laid, static_cast<std::size_t>(bytes)), order);
    const std::uint64_t count = BytesBelowTop(address, static_cast<std::uint64_t>(bytes));
    Write(address, laid, count);
    m_pieces.push_back({address, count, false});
}

void MemoryImage::AddRaw(std::uint64_t base, std::string_view bytes) {
    const std::uint64_t count = BytesBelowTop(base, bytes.size());
    if (count == 0) return;
    Write(base, reinterpret_cast<const std::uint8_t*>(bytes.data()), count);
    m_pieces.push_back({base, count, true});
}

void MemoryImage::Write(std::uint64_t address, const std::uint8_t* bytes, std::uint64_t count) {
    if (count == 0) return;

    // The run that takes the bytes: the one starting at or before `address`
    // when it reaches it or ends just before it, else a new one.
    auto after = m_runs.upper_bound(address);
    auto target = m_runs.end();
    if (after != m_runs.begin()) {
        auto before = std::prev(after);
        const std::uint64_t beforeLast = LastOf(before->first, before->second);
        if (beforeLast >= address || beforeLast + 1 == address) target = before;
    }
    if (target == m_runs.end()) target = m_runs.emplace_hint(after, address, std::vector<std::uint8_t>{});

    std::vector<std::uint8_t>& run = target->second;
    const std::uint64_t offset = address - target->first;
    if (run.size() < offset + count) run.resize(offset + count);
    std::memcpy(run.data() + offset, bytes, count);

    // Runs now reached or touched are merged in; where they overlap, the new bytes win.
    std::uint64_t runLast = LastOf(target->first, run);
    for (auto next = std::next(target); 
         next != m_runs.end() && (runLast == kTop || next->first <= runLast + 1);) {
        const std::uint64_t nextLast = LastOf(next->first, next->second);
        if (nextLast > runLast) {
            const std::uint64_t keep = nextLast - runLast;  // its bytes beyond the run
            run.insert(run.end(), next->second.end() - static_cast<std::ptrdiff_t>(keep), next->second.end());
            runLast = nextLast;
        }
        next = m_runs.erase(next);
    }
}

bool MemoryImage::AnyGiven(std::uint64_t address, std::uint64_t last) const {
    auto after = m_runs.upper_bound(last);  // the first run starting past the range
    if (after == m_runs.begin()) return false;
    auto before = std::prev(after);  // the last run starting at or before `last`
    return LastOf(before->first, before->second) >= address;
}

ImageReading MemoryImage::Read(std::uint64_t address, int bytes, ByteOrder order) const {
    ImageReading reading;
    if (bytes < 1 || bytes > 8) return reading;
    const auto size = static_cast<std::uint64_t>(bytes);
    if (address > kTop - (size - 1)) return reading;
    const std::uint64_t last = address + (size - 1);

    auto after = m_runs.upper_bound(address);
    if (after != m_runs.begin()) {
        auto run = std::prev(after);
        if (LastOf(run->first, run->second) >= last) {
            const std::uint8_t* p = run->second.data() + (address - run->first);
            const std::uint64_t value = UnpackValue(std::span<const std::uint8_t>(p, size), order);
            reading.coverage = Coverage::Whole;
            reading.value = value;
            return reading;
        }
    }
    reading.coverage = AnyGiven(address, last) ? Coverage::Partly : Coverage::None;
    return reading;
}
