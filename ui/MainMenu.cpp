// SPDX-License-Identifier: MIT
#include "ui/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

CMainMenu::CMainMenu(QMenuBar& bar) : QObject(&bar), m_bar(bar) {}

QMenu* CMainMenu::AddMenu(const QString& title) {
    QMenu* menu = m_bar.addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateActions(); });
    return menu;
}

void CMainMenu::Add(QMenu* menu, QAction* action, std::function<bool()> applies) {
    if (!action) return;
    action->setShortcutVisibleInContextMenu(true);
    menu->addAction(action);
    m_commands.push_back({menu, action, std::move(applies)});
    if (m_commands.back().applies) action->setEnabled(m_commands.back().applies());
}

QAction* CMainMenu::AddNew(QMenu* menu, const QString& text, const QKeySequence& keys, std::function<void()> run,
                           std::function<bool()> applies) {
    auto* action = new QAction(text, menu);
    action->setShortcut(keys);
    // The menu bar is in the window, so its shortcuts work wherever the keyboard is in it.
    action->setShortcutContext(Qt::WindowShortcut);
    m_bar.parentWidget()->addAction(action);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    Add(menu, action, std::move(applies));
    return action;
}

void CMainMenu::AddRecentMenu(QMenu* menu, const QString& title, std::function<std::vector<std::string>()> paths,
                              std::function<void(const std::string&)> open) {
    QMenu* recent = menu->addMenu(title);
    connect(menu, &QMenu::aboutToShow, recent, [recent, paths = std::move(paths), openPath = std::move(open)] {
        recent->clear();
        for (const std::string& path : paths())
            recent->addAction(QString::fromUtf8(path.c_str()), recent, [openPath, path] { openPath(path); });
        recent->menuAction()->setEnabled(!recent->isEmpty());
    });
}

void CMainMenu::UpdateActions() {
    for (const Command& command : m_commands)
        if (command.applies) command.action->setEnabled(command.applies());
}
