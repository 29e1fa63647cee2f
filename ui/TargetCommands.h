// SPDX-License-Identifier: MIT
#pragma once
// The window's commands on the chip, through a GDB server: Connect to
// target... (Ctrl+K), Disconnect (Ctrl+Shift+K), Read (F5) the register in
// hand, Read set (Shift+F5), Write to chip (Ctrl+Shift+W) and Watch (Ctrl+F5),
// which reads the register in hand every 250 ms until stopped, and Fault
// report (Ctrl+Shift+F), why the core faulted, read from the chip or, with no
// connection, from the values the map holds. Requests run
// off the window's thread (CChipLink); Escape cancels the one under way. A
// value read comes in as a typed value does, through the hex box; a failure
// says what and where in one box and changes no value.
//
// Connected to a GDB session's bridge (`tavlin window` in GDB), the window
// follows the target: at each stop the server notifies ("Stop:...") it reads
// the registers in view and the register in hand again, marking the bits that
// changed since the last stop; from a "Running:..." notification until the
// next stop it reads nothing and says the target runs.
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "chip/ChipRegisters.h"

class CAppSettings;
class CChipLink;
class CPropTreeItem;
class CPropTreeWindow;
class CRegisterCalculator;
class CRegisterCommands;
class CRegisterItem;
class CRegisterMap;
class QAction;
class QTimer;
class ValueBox;

class CTargetCommands {
public:
    static constexpr int kWatchIntervalMs = 250;

    CTargetCommands(CRegisterMap& map, CRegisterCalculator& calc, CRegisterCommands& commands, ValueBox& hexBox);
    ~CTargetCommands();

    // Makes the commands, with their shortcuts, in the tree's window and its
    // rows' menu; `settings` keeps the last server; `connectionChanged` runs
    // whenever the connection, a request under way or the watch changes, so
    // the window says anew where it is connected and which commands apply.
    void Attach(CPropTreeWindow& window, CAppSettings* settings, std::function<void()> connectionChanged);

    void AskAndConnect();
    void Connect(const std::string& endpoint);
    void Disconnect();
    void Read();
    void ReadSet();
    void Write();
    void ToggleWatch();
    void FaultReport();
    void Cancel();

    // The map was replaced: results of requests for the old one are dropped.
    void MapReplaced();
    // Sets were added to the map shown (its core registers).
    void MapGrew();

    bool IsConnected() const;
    bool IsBusy() const;
    bool IsWatching() const;
    // Between a bridged session's "Running" and its next "Stop".
    bool IsTargetRunning() const { return m_targetRunning; }
    // "localhost:3333" while connected; empty otherwise.
    std::string Where() const;
    // Whether the register in hand, or the set in hand, can be read or written.
    bool HasRegister() const;
    bool HasSet() const;

    // The commands, by name, for the menu bar, in the menu's order.
    enum class Command { kConnect, kDisconnect, kRead, kReadSet, kWrite, kWatch, kFault };
    static constexpr Command kCommands[] = {Command::kConnect, Command::kDisconnect, Command::kRead, Command::kReadSet,
                                            Command::kWrite,   Command::kWatch,      Command::kFault};
    QAction* Action(Command command) const { return m_actions[static_cast<std::size_t>(command)]; }
    // Whether `command` applies now: the one rule its menu entry, the rows'
    // menu and its shortcut follow.
    bool Applies(Command command) const;
    CChipLink& Link() { return *m_link; }

private:
    CRegisterItem* RegisterInHand() const;
    CPropTreeItem* SetInHand() const;
    // Reads `registers` (with their places) and gives them their values; `after` runs on success.
    // A failure is told in a box, or given to `failed` when there is one.
    void ReadRegisters(std::vector<CRegisterItem*> registers, std::vector<ChipRegister> places,
                       std::function<void()> after = {}, std::function<void(const std::string&)> failed = {});
    void Failed(const std::string& problem);
    void Notified(const std::string& payload);
    // Reads the registers in view and in hand after a stop, each against its value at the stop before;
    // between stops, those that came into view since (a set opened, the rows scrolled).
    void RefreshAfterStop();
    // Rows came into view: while a stopped session is followed, they are read too.
    void RowsShown();
    std::vector<CRegisterItem*> RegistersInView() const;
    void StopWatch();
    void WatchTick();
    // Says a request is under way, or not; enables Escape.
    void Busy(bool busy);

    CRegisterMap& m_map;
    CRegisterCalculator& m_calc;
    CRegisterCommands& m_commands;
    ValueBox& m_hexBox;
    CAppSettings* m_settings = nullptr;
    std::function<void()> m_connectionChanged;
    CChipLink* m_link = nullptr;  // owned by the tree's window
    CPropTreeWindow* m_window = nullptr;
    bool m_targetRunning = false;
    bool m_refreshPending = false;  // a stop came while a request was under way
    // Each register's value at the last stop, the baseline its changed bits are marked against.
    std::unordered_map<CRegisterItem*, std::uint64_t> m_atLastStop;
    // Whether the server tells of stops (a bridged GDB session), and what was read since the last one.
    bool m_followsStops = false;
    std::unordered_set<const CRegisterItem*> m_readAtThisStop;
    unsigned m_stops = 0;  // counts the stops, so a read from before the last one is not taken as after it
    QTimer* m_watchTimer = nullptr;
    CRegisterItem* m_watched = nullptr;
    QAction* m_cancelAction = nullptr;
    QAction* m_watchAction = nullptr;
    std::array<QAction*, std::size(kCommands)> m_actions{};
    // Counts map replacements, so a result for a map no longer shown is dropped.
    unsigned m_generation = 0;
    // Whether the map has SCB's fault status registers, whose values a report can take offline.
    bool m_mapHasFaultStatus = false;
};
