// SPDX-License-Identifier: MIT
#pragma once
// Watch (Ctrl+F5): reads the register in hand from the chip every 250 ms
// until it is stopped (the command again, a failure, Escape, another map or
// connection). A tick while the last read is under way, or while a followed
// GDB session's target runs, is passed over.
#include <functional>

class CPropTreeWindow;
class CRegisterItem;
class CTargetCommands;
class QAction;
class QTimer;

class CWatchCommand {
public:
    static constexpr int kIntervalMs = 250;

    explicit CWatchCommand(CTargetCommands& target) : m_target(target) {}

    // Makes the command, with its shortcut, in the tree's window and its rows' menu.
    void Attach(CPropTreeWindow& window);
    QAction* Action() const { return m_action; }

    bool IsWatching() const { return m_watched != nullptr; }
    bool Applies() const;
    void Toggle();
    void Stop();

private:
    void Tick();

    CTargetCommands& m_target;
    QAction* m_action = nullptr;
    QTimer* m_timer = nullptr;
    CRegisterItem* m_watched = nullptr;
};
