// SPDX-License-Identifier: MIT
#include "target/ReadPlan.h"

#include <algorithm>
#include <numeric>

std::vector<PlannedRead> PlanRegisterReads(std::span<const TargetReadSpan> registers, std::uint32_t maxBytes) {
    maxBytes = std::max<std::uint32_t>(maxBytes, 1);
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < registers.size(); ++i) {
        if (registers[i].readable && registers[i].bytes > 0) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return registers[a].address < registers[b].address;
    });

    // Greedy from the lowest address: a request takes each next register
    // while the span stays contiguous and within maxBytes. No split of a
    // contiguous run into requests can do with fewer.
    std::vector<PlannedRead> plan;
    std::uint64_t end = 0;  // one past the last byte of plan.back()
    for (const std::size_t index : order) {
        const TargetReadSpan& reg = registers[index];
        const std::uint64_t regEnd = reg.address + reg.bytes;
        if (!plan.empty() && reg.address <= end) {
            PlannedRead& read = plan.back();
            const std::uint64_t newEnd = std::max(end, regEnd);
            if (newEnd - read.address <= maxBytes) {
                read.bytes = static_cast<std::uint32_t>(newEnd - read.address);
                read.registers.push_back(index);
                end = newEnd;
                continue;
            }
        }
        plan.push_back({reg.address, reg.bytes, {index}});
        end = regEnd;
    }
    return plan;
}
