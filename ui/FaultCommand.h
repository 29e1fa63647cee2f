// SPDX-License-Identifier: MIT
#pragma once
// Fault report (Ctrl+Shift+F): why the core faulted, from SCB's fault status
// read from the chip or, with no connection, from the values the map holds
// (a dump, typing, an earlier read), in one box.
class CPropTreeWindow;
class CTargetCommands;
class QAction;

class CFaultCommand {
public:
    explicit CFaultCommand(CTargetCommands& target) : m_target(target) {}

    // Makes the command, with its shortcut, in the tree's window and its rows' menu.
    void Attach(CPropTreeWindow& window);
    QAction* Action() const { return m_action; }

    bool Applies() const;
    void Run();
    // The map shown was replaced or grew: whether it has the fault status registers.
    void MapChanged();

private:
    CTargetCommands& m_target;
    QAction* m_action = nullptr;
    // Whether the map has SCB's fault status registers, whose values a report can take offline.
    bool m_mapHasFaultStatus = false;
};
