// SPDX-License-Identifier: MIT
#include "tests/GuiHarness.h"
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/RegisterApp.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "platform/FilePaths.h"
#include "res/resource.h"
#include "tests/TempDir.h"
#include "tree/PropTreeModel.h"

namespace {
int g_configHomes = 0;  // ConfigHome objects alive
}

ConfigHome::ConfigHome(const std::filesystem::path& folder) {
    if (const char* previous = std::getenv("XDG_CONFIG_HOME")) m_previous = previous;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Utf8FromPath(folder)));
    ++g_configHomes;
}

ConfigHome::~ConfigHome() {
    --g_configHomes;
    if (m_previous)
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(*m_previous));
    else
        qunsetenv("XDG_CONFIG_HOME");
}

bool ConfigHome::Chosen() { return g_configHomes > 0; }

CurrentDir::CurrentDir(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

CurrentDir::~CurrentDir() { std::filesystem::current_path(m_previous); }

namespace {

// Calls `start`, which runs a main window modally, with every modal box
// answered at once, and `body` with the main window while it is shown.
GuiRun RunAnswered(const std::function<int()>& start, const std::function<void(CRegisterDlg&)>& body) {
    GuiRun run;
    CRegisterDlg* main = nullptr;
    const auto previousChooser = CFileDialog::SetChooser([&run](const CFileDialog&) {
        run.events.push_back("file dialog");
        return std::string();
    });
    const auto previousBox = AfxSetMessageBoxPresenter([&run](const std::string& text, UINT) {
        run.events.push_back("message: " + text);
        return IDOK;
    });
    const auto previousRunner = CDialog::SetModalRunner([&](CDialog& dialog) {
        if (dialog.GetTemplateId() == IDD_ABOUTBOX) {
            run.events.push_back(main && main->m_hWnd && main->m_hWnd->isVisible() ? "about over main" : "about");
            return IDOK;
        }
        run.events.push_back("main");
        main = dynamic_cast<CRegisterDlg*>(&dialog);
        EXPECT_NE(main, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.m_hWnd));
        if (main) body(*main);
        return IDCANCEL;
    });
    run.result = start();
    CDialog::SetModalRunner(previousRunner);
    AfxSetMessageBoxPresenter(previousBox);
    CFileDialog::SetChooser(previousChooser);
    return run;
}

}  // namespace

GuiRun RunMainDialog(const std::string& xml, const std::function<void(CRegisterDlg&)>& body,
                     const std::string& fileArgument) {
    TempDir dir;
    dir.Write("tavlin.xml", xml);
    const CurrentDir current(dir.Path());
    // Settings of this run alone, unless the test chose a folder for several
    // runs: no run sees what another test's runs remembered.
    std::optional<TempDir> settings;
    std::optional<ConfigHome> home;
    if (!ConfigHome::Chosen()) home.emplace(settings.emplace().Path());
    return RunAnswered(
        [&] {
            CRegisterDlg dlg;
            dlg.SetStart(WindowStart::OnFile(fileArgument));
            return dlg.DoModal();
        },
        body);
}

GuiRun StartMainWindow(const std::vector<std::string>& arguments, const std::function<void(CRegisterDlg&)>& body) {
    std::ostringstream err;
    GuiRun run = RunAnswered([&] { return RunMainWindow(arguments, err); }, body);
    if (!err.str().empty()) run.events.push_back("error: " + err.str());
    return run;
}

CPropTreeWindow* TreeWindow(CRegisterDlg& dlg) { return qobject_cast<CPropTreeWindow*>(dlg.Tree().m_hWnd); }
QLineEdit* HexBox(CRegisterDlg& dlg) { return qobject_cast<QLineEdit*>(dlg.HexEdit().m_hWnd); }
QLineEdit* DecimalBox(CRegisterDlg& dlg) { return qobject_cast<QLineEdit*>(dlg.DecimalEdit().m_hWnd); }

std::string ShownValue(CRegisterDlg& dlg, CPropTreeItem* row) {
    const CPropTreeModel* model = TreeWindow(dlg)->Model();
    return model->IndexFromItem(row, CPropTreeModel::ValueColumn).data().toString().toStdString();
}

void ClickRow(CRegisterDlg& dlg, CPropTreeItem* row) {
    CPropTreeView* view = TreeWindow(dlg)->View();
    const QModelIndex index = TreeWindow(dlg)->Model()->IndexFromItem(row);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

QString WithoutMnemonic(QString text) { return text.remove(QLatin1Char('&')); }

MenuCommand FindCommand(CRegisterDlg& dlg, const std::string& text) {
    for (QAction* title : dlg.GetMenuBar()->actions())
        if (QMenu* menu = title->menu())
            for (QAction* action : menu->actions())
                if (WithoutMnemonic(action->text()).toStdString() == text) return {menu, action};
    return {};
}

std::optional<bool> EnabledInOpenMenu(CRegisterDlg& dlg, const std::string& text) {
    const MenuCommand command = FindCommand(dlg, text);
    if (!command.action) return std::nullopt;
    command.menu->popup(dlg.m_hWnd->mapToGlobal(QPoint(0, 0)));
    const bool enabled = command.action->isEnabled();
    command.menu->hide();
    return enabled;
}

void OpenMapFile(CRegisterDlg& dlg, const std::string& path) {
    CFileDialog::SetChooser([path](const CFileDialog&) { return path; });
    dlg.SendMessage(WM_SYSCOMMAND, IDM_OPEN);
    TreeWindow(dlg)->View()->expandAll();
}

void PressInTree(CRegisterDlg& dlg, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(TreeWindow(dlg)->View(), key, modifiers);
}
