// SPDX-License-Identifier: MIT
#pragma once
// Following a GDB session's stops. A connection that tells of them (a bridged
// GDB session sends "Stop:..." and its own "Running:...") has the registers in
// view read again at each stop, each marked against its value at the stop
// before; from "Running" to the next stop nothing is read; between stops, rows
// that come into view are read once. The follower decides what to read and
// remembers what was read; its caller runs the reads, on whatever thread it
// likes, and hands each one back when its values are in the map.
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "target/TargetRegisters.h"

class CRegisterItem;
class CRegisterMap;

class CStopFollower {
public:
    explicit CStopFollower(CRegisterMap& map) : m_map(map) {}

    enum class Notice { kOther, kStopped, kRunning };
    // Takes a notification's payload: any notification says the session is followed.
    Notice Notified(std::string_view payload);
    // A connection begins or is lost: nothing is followed until it tells of a stop.
    void Reset();
    // The map was replaced: nothing read of the old one stays.
    void MapReplaced();

    bool FollowsStops() const { return m_followsStops; }
    // Between a "Running" and the next "Stop".
    bool IsTargetRunning() const { return m_targetRunning; }
    // Whether rows that come into view are to be read now.
    bool ReadsShownRows() const { return m_followsStops && !m_targetRunning; }

    // What to read, and at which stop it was chosen.
    struct StopRead {
        TargetReadSelection selection;
        unsigned stop = 0;
    };
    // Of `inView`, those not read at this stop yet that a read leaves as they
    // were (a stop never changes the chip), each given its value at the stop
    // before as its baseline. Nothing while the target runs.
    StopRead Plan(std::span<CRegisterItem* const> inView);
    // `read`'s registers hold their values from the chip now: those values are
    // the baselines of the next stop, and the registers count as read at this
    // stop unless another stop came while they were read.
    void Took(const StopRead& read);

    // A read is wanted once the request under way ends (or once the view has
    // laid its rows out): true when none was wanted yet, so the caller asks
    // for one call later.
    bool Defer();
    // Whether a read was wanted; it is not any more.
    bool TakeDeferred();

private:
    CRegisterMap& m_map;
    bool m_followsStops = false;
    bool m_targetRunning = false;
    bool m_deferred = false;
    // Counts the stops, so a read from before the last one is not taken as after it.
    unsigned m_stops = 0;
    // Each register's value at the last stop, the baseline its changed bits are marked against.
    std::unordered_map<const CRegisterItem*, std::uint64_t> m_atLastStop;
    std::unordered_set<const CRegisterItem*> m_readAtThisStop;
};
