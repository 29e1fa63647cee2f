// SPDX-License-Identifier: MIT
#pragma once
// Runs the main dialog headless on a definitions file of the test's own,
// with every modal box answered at once, and gives the test the running
// dialog and its widgets.
#include <QLineEdit>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/RowPath.h"
#include "tree/PropTreeView.h"
#include "ui/RegisterDlg.h"

class CPropTreeItem;
class CPropTreeModel;
class QAction;
class QMenu;

struct GuiRun {
    std::vector<std::string> events;  // "message: ...", "about", "main", "file dialog", "error: ..."
    int result = 0;                   // the dialog's result, or the exit code of StartMainWindow
};

// Makes `folder` the XDG config folder, where the settings file is looked for,
// for as long as it lives.
class ConfigHome {
public:
    explicit ConfigHome(const std::filesystem::path& folder);
    ~ConfigHome();
    // Whether a test has chosen the config folder now.
    static bool Chosen();
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

private:
    std::optional<std::string> m_previous;
};

// Makes `folder` the current directory for as long as it lives.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& folder);
    ~CurrentDir();
    CurrentDir(const CurrentDir&) = delete;
    CurrentDir& operator=(const CurrentDir&) = delete;

private:
    std::filesystem::path m_previous;
};

// Writes `xml` as tavlin.xml into a fresh directory, makes it the current
// directory, runs a CRegisterDlg there (on `fileArgument` as if named on the
// command line, when not empty) and calls `body` while it is shown. The
// About box is answered with OK and the file dialog with Cancel (tests
// choose files with CFileDialog::SetChooser); `body` may end the dialog itself.
// The run has settings of its own, in an empty config folder, unless the test
// chose the folder with a ConfigHome (for runs that share what they keep).
GuiRun RunMainDialog(const std::string& xml, const std::function<void(CRegisterDlg&)>& body,
                     const std::string& fileArgument = {});

// Starts the main window as the program does on the window's command line
// `arguments` (the program's name first), in the current directory and with
// the settings of the XDG config folder now, every modal box answered as by
// RunMainDialog. A usage error is an "error: " event.
GuiRun StartMainWindow(const std::vector<std::string>& arguments, const std::function<void(CRegisterDlg&)>& body);

// The dialog's widgets.
CPropTreeWindow* TreeWindow(CRegisterDlg& dlg);
QLineEdit* HexBox(CRegisterDlg& dlg);
QLineEdit* DecimalBox(CRegisterDlg& dlg);

// A command of the menu bar by its text (without its '&'), with the menu that holds it.
struct MenuCommand {
    QMenu* menu = nullptr;
    QAction* action = nullptr;
};
MenuCommand FindCommand(CRegisterDlg& dlg, const std::string& text);
QString WithoutMnemonic(QString text);
// Whether `text` is enabled while its menu is open; nothing when the menu bar has no such command.
std::optional<bool> EnabledInOpenMenu(CRegisterDlg& dlg, const std::string& text);

// Opens the map at `path` in the running dialog through File > Open, every row shown.
void OpenMapFile(CRegisterDlg& dlg, const std::string& path);
// A key pressed with `modifiers` in the tree's view.
void PressInTree(CRegisterDlg& dlg, Qt::Key key, Qt::KeyboardModifiers modifiers);

// The text the value column shows for a row.
std::string ShownValue(CRegisterDlg& dlg, CPropTreeItem* row);
// Makes `row` the current row the way a click does.
void ClickRow(CRegisterDlg& dlg, CPropTreeItem* row);
