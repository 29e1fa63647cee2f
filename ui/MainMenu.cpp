// SPDX-License-Identifier: MIT
#include "ui/MainMenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "framework/Menu.h"
#include "res/resource.h"
#include "tree/PropTreeFind.h"
#include "tree/PropTreeView.h"
#include "ui/AppSettings.h"
#include "ui/RecentEntry.h"
#include "ui/RegisterDlg.h"

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
            recent->addAction(QString::fromUtf8(RecentEntryText(path).c_str()), recent,
                              [openPath, path] { openPath(path); });
        recent->menuAction()->setEnabled(!recent->isEmpty());
    });
}

void CMainMenu::UpdateActions() {
    for (const Command& command : m_commands)
        if (command.applies) command.action->setEnabled(command.applies());
}

CMainMenu* CMainMenu::Build(CRegisterDlg& dlg) {
    auto* window = qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd);
    QMenuBar* bar = dlg.GetMenuBar();
    if (!window || !bar) return nullptr;
    auto* menu = new CMainMenu(*bar);
    CRegisterCommands& commands = dlg.Commands();
    CValuesCommands& values = dlg.Values();
    CTargetCommands& target = dlg.Target();
    const auto hasMap = [&dlg] { return !dlg.Map().Registers().empty(); };
    const auto hasRegister = [&target] { return target.RegisterInHand() != nullptr; };
    CMenu* sysMenu = dlg.GetSystemMenu(FALSE);

    QMenu* file = menu->AddMenu(tr("&File"));
    menu->Add(file, sysMenu ? sysMenu->GetAction(IDM_OPEN) : nullptr);
    menu->Add(file, dlg.Devices().OpenDeviceAction());
    menu->AddRecentMenu(file, tr("Open &recent"), [&dlg] { return dlg.Settings().RecentMaps(); },
                        [&dlg](const std::string& entry) { dlg.OpenRecent(entry); });
    file->addSeparator();
    menu->Add(file, values.OpenAction(), hasMap);
    menu->Add(file, values.SaveAction(), hasMap);
    menu->Add(file, values.CompareAction(), hasMap);
    file->addSeparator();
    // Ctrl+Q by name: QKeySequence::Quit is empty where the platform's key scheme has no quit key.
    menu->AddNew(file, tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q),
                 [&dlg] { dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE); });

    QMenu* edit = menu->AddMenu(tr("&Edit"));
    menu->Add(edit, commands.CopyValueAction(), [&dlg] { return dlg.HasValueShown(); });
    menu->Add(edit, commands.CopyRegisterAction(), hasRegister);
    menu->Add(edit, commands.CopyAsCAction(), hasRegister);
    menu->AddNew(edit, tr("Copy c&hanged as C"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_C),
                 [&commands] { commands.CopyChangedAsC(); }, [&commands] { return commands.HasChanged(); });
    menu->Add(edit, values.PasteAction(), [&dlg] {
        return !dlg.Map().Registers().empty() && !QGuiApplication::clipboard()->text().isEmpty();
    });
    edit->addSeparator();
    menu->Add(edit, window->Find()->FindAction(), [&dlg] { return !dlg.IsMapEmpty(); });
    menu->Add(edit, commands.ResetAction(), hasRegister);

    QMenu* chip = menu->AddMenu(tr("&Target"));
    for (const CTargetCommands::Command command : CTargetCommands::kCommands) {
        if (command == CTargetCommands::Command::kRead || command == CTargetCommands::Command::kFault)
            chip->addSeparator();
        menu->Add(chip, target.Action(command), [&target, command] { return target.Applies(command); });
    }
    menu->AddNew(chip, tr("Add &core registers..."), QKeySequence(), [&dlg] { dlg.AddCore().AskAndAdd(); },
                 [&dlg] { return !dlg.IsMapEmpty(); });

    // Settings before Help, where Windows and Linux programs keep it; its
    // mnemonic S is free among the menus' titles.
    QMenu* settings = menu->AddMenu(tr("&Settings"));
    menu->Add(settings, dlg.Devices().PackFoldersAction());

    QMenu* help = menu->AddMenu(tr("&Help"));
    menu->Add(help, sysMenu ? sysMenu->GetAction(IDM_ABOUTBOX) : nullptr);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, menu, [menu] { menu->UpdateActions(); });
    menu->UpdateActions();
    return menu;
}
