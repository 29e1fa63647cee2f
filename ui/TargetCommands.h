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
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <string>
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
    void ReadRegisters(std::vector<CRegisterItem*> registers, std::vector<ChipRegister> places,
                       std::function<void()> after = {});
    void Failed(const std::string& problem);
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
