// SPDX-License-Identifier: MIT
#pragma once
// The window's commands on the chip, through a GDB server: this controller
// connects (Connect to target... Ctrl+K, Disconnect Ctrl+Shift+K, Escape
// cancels the request under way) and dispatches the others, which are
// commands of their own: Read, Read set and Write to chip
// (CReadWriteCommands), Watch (CWatchCommand), Fault report (CFaultCommand).
// Requests run off the window's thread (CTargetLink); a value read comes in as
// a typed value does, through the hex box; a failure says what and where in
// one box and changes no value.
//
// Connected to a GDB session's bridge (`tavlin window` in GDB), the window
// follows the target's stops as CStopFollower decides: at each stop the
// registers in view and the register in hand are read again, marking the bits
// that changed since the last stop; while the target runs nothing is read.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "target/TargetRegisters.h"
#include "framework/AfxTypes.h"
#include "target/StopFollower.h"
#include "ui/FaultCommand.h"
#include "ui/ReadWriteCommands.h"
#include "ui/WatchCommand.h"

class CAppSettings;
class CTargetLink;
class CPropTreeItem;
class CPropTreeWindow;
class CRegisterCalculator;
class CRegisterCommands;
class CRegisterItem;
class CRegisterMap;
class QAction;
class ValueBox;

class CTargetCommands {
public:
    static constexpr int kWatchIntervalMs = CWatchCommand::kIntervalMs;

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
    void Read() { m_readWrite.Read(); }
    void ReadSet() { m_readWrite.ReadSet(); }
    void Write() { m_readWrite.Write(); }
    void ToggleWatch() { m_watch.Toggle(); }
    void FaultReport() { m_fault.Run(); }
    void Cancel();

    // The map was replaced: results of requests for the old one are dropped.
    void MapReplaced();
    // Sets were added to the map shown (its core registers).
    void MapGrew() { m_fault.MapChanged(); }

    bool IsConnected() const;
    bool IsBusy() const;
    bool IsWatching() const { return m_watch.IsWatching(); }
    // Between a bridged session's "Running" and its next "Stop".
    bool IsTargetRunning() const { return m_follower.IsTargetRunning(); }
    // "localhost:3333" while connected; empty otherwise.
    std::string Where() const;
    // Whether the register in hand, or the set in hand, can be read or written.
    bool HasRegister() const;
    bool HasSet() const;

    // The commands, by name, for the menu bar, in the menu's order.
    enum class Command { kConnect, kDisconnect, kRead, kReadSet, kWrite, kWatch, kFault };
    static constexpr Command kCommands[] = {Command::kConnect, Command::kDisconnect, Command::kRead, Command::kReadSet,
                                            Command::kWrite,   Command::kWatch,      Command::kFault};
    QAction* Action(Command command) const;
    // Whether `command` applies now: the one rule its menu entry, the rows'
    // menu and its shortcut follow.
    bool Applies(Command command) const;
    CTargetLink& Link() { return *m_link; }

    // What the commands on the chip share: the map, the register in hand, the
    // one read path, the request under way and how a failure is told.
    CRegisterMap& Map() const { return m_map; }
    CRegisterItem* RegisterInHand() const;
    CPropTreeItem* SetInHand() const;
    // True when connected; otherwise says how to connect, in a box.
    bool EnsureConnected() const;
    // Reads `registers` (with their places) and gives them their values; `after` runs on success.
    // A failure is told in a box, or given to `failed` when there is one.
    void ReadRegisters(std::vector<CRegisterItem*> registers, std::vector<TargetRegister> places,
                       std::function<void()> after = {}, std::function<void(const std::string&)> failed = {});
    // Says a request is under way, or not; enables Escape.
    void Busy(bool busy);
    // A request failed: the watch stops, and the problem is told in a box.
    void Failed(const std::string& problem);
    // The connection, a request or the watch changed: the window says so.
    void Changed() const;
    static void Tell(const std::string& text, UINT icon = MB_ICONEXCLAMATION);

    // The chip's values for `registers`, given as a values file gives them.
    void GiveValues(std::span<CRegisterItem* const> registers, std::span<const std::uint64_t> values);
    // Counts map replacements, so a result for a map no longer shown is dropped.
    unsigned Generation() const { return m_generation; }

private:
    void Notified(const std::string& payload);
    // Reads the registers in view and in hand after a stop, each against its value at the stop before;
    // between stops, those that came into view since (a set opened, the rows scrolled).
    void RefreshAfterStop();
    // Rows came into view: while a stopped session is followed, they are read too.
    void RowsShown();
    std::vector<CRegisterItem*> RegistersInView() const;
    void StopWatch();

    CRegisterMap& m_map;
    CRegisterCalculator& m_calc;
    CRegisterCommands& m_commands;
    ValueBox& m_hexBox;
    CAppSettings* m_settings = nullptr;
    std::function<void()> m_connectionChanged;
    CTargetLink* m_link = nullptr;  // owned by the tree's window
    CPropTreeWindow* m_window = nullptr;
    CStopFollower m_follower{m_map};
    CWatchCommand m_watch{*this};
    CFaultCommand m_fault{*this};
    CReadWriteCommands m_readWrite{*this, m_calc, m_hexBox};
    QAction* m_cancelAction = nullptr;
    std::array<QAction*, std::size(kCommands)> m_actions{};
    unsigned m_generation = 0;
};
