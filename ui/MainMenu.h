// SPDX-License-Identifier: MIT
#pragma once
// The main window's menu bar: every command of the program under File, Edit,
// Target and Help, each with its shortcut. Commands are the window's own
// actions (the row commands, the find, the menu of window commands), so a
// shortcut runs the same command whether or not a menu is open. A command that
// does not apply at the moment is disabled, in the menus, in the rows' context
// menu and for its shortcut alike: the window calls UpdateActions() whenever
// the selection, the map, the connection or the clipboard changes.
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class CRegisterDlg;
class QAction;
class QMenu;
class QMenuBar;

class CMainMenu : public QObject {
public:
    explicit CMainMenu(QMenuBar& bar);

    // The main window's menu bar, in `dlg`'s own bar: a new menu command goes
    // here, with the rule that says when it applies. Its action belongs to the
    // controller that runs it (Commands(), Values(), Target(), AddCore()).
    static CMainMenu* Build(CRegisterDlg& dlg);

    QMenu* AddMenu(const QString& title);
    // Adds `action` to `menu`; `applies` (none: always) tells whether it is enabled.
    void Add(QMenu* menu, QAction* action, std::function<bool()> applies = {});
    // Adds a new command of the menu bar's own.
    QAction* AddNew(QMenu* menu, const QString& text, const QKeySequence& keys, std::function<void()> run,
                    std::function<bool()> applies = {});

    // A submenu of `menu` filled each time `menu` opens, with one entry per
    // path `paths` gives, which `open` opens; disabled when there is none.
    void AddRecentMenu(QMenu* menu, const QString& title, std::function<std::vector<std::string>()> paths,
                       std::function<void(const std::string&)> open);

    // Enables exactly the commands that apply now.
    void UpdateActions();

private:
    struct Command {
        QMenu* menu;
        QAction* action;
        std::function<bool()> applies;
    };

    QMenuBar& m_bar;
    std::vector<Command> m_commands;
};
