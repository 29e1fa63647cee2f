// SPDX-License-Identifier: MIT
#include "target/StopFollower.h"

#include <vector>

#include "defs/RegisterMap.h"

CStopFollower::Notice CStopFollower::Notified(std::string_view payload) {
    // The remote protocol's stop notification, and the bridge's own word that the target runs.
    m_followsStops = true;
    if (payload.starts_with("Stop:")) {
        m_targetRunning = false;
        m_readAtThisStop.clear();
        ++m_stops;
        return Notice::kStopped;
    }
    if (payload.starts_with("Running:")) {
        m_targetRunning = true;
        return Notice::kRunning;
    }
    return Notice::kOther;
}

void CStopFollower::Reset() {
    m_followsStops = false;
    m_targetRunning = false;
}

void CStopFollower::MapReplaced() {
    m_atLastStop.clear();
    m_readAtThisStop.clear();
}

CStopFollower::StopRead CStopFollower::Plan(std::span<CRegisterItem* const> inView) {
    if (m_targetRunning) return {{}, m_stops};
    std::vector<CRegisterItem*> unread;
    for (CRegisterItem* reg : inView)
        if (reg && !m_readAtThisStop.contains(reg)) unread.push_back(reg);
    StopRead read{SelectForRead(m_map, unread), m_stops};
    for (CRegisterItem* reg : read.selection.registers)
        if (const auto last = m_atLastStop.find(reg); last != m_atLastStop.end()) m_map.SetBaseline(*reg, last->second);
    return read;
}

void CStopFollower::Took(const StopRead& read) {
    for (const CRegisterItem* reg : read.selection.registers) {
        if (const auto held = m_map.ValueOf(*reg)) m_atLastStop[reg] = held->value;
        if (read.stop == m_stops) m_readAtThisStop.insert(reg);
    }
}

bool CStopFollower::Defer() {
    const bool first = !m_deferred;
    m_deferred = true;
    return first;
}

bool CStopFollower::TakeDeferred() {
    const bool deferred = m_deferred;
    m_deferred = false;
    return deferred;
}
