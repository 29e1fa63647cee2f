// SPDX-License-Identifier: MIT
#pragma once
// Runs the main dialog headless on a definitions file of the test's own,
// with every modal box answered at once, and gives the test the running
// dialog and its widgets.
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

#include "tests/RowPath.h"
#include "tree/PropTreeView.h"
#include "ui/RegisterDlg.h"

class CPropTreeItem;
class CPropTreeModel;

struct GuiRun {
    std::vector<std::string> events;  // "message: ...", "about", "main", "file dialog"
    int result = 0;
};

// Writes `xml` as tavlin.xml into a fresh directory, makes it the current
// directory, runs a CRegisterDlg there (on `fileArgument` as if named on the
// command line, when not empty) and calls `body` while it is shown. The
// About box is answered with OK and the file dialog with Cancel (tests
// choose files with CFileDialog::SetChooser); `body` may end the dialog itself.
GuiRun RunMainDialog(const std::string& xml, const std::function<void(CRegisterDlg&)>& body,
                     const std::string& fileArgument = {});

// The dialog's widgets.
CPropTreeWindow* TreeWindow(CRegisterDlg& dlg);
QLineEdit* HexBox(CRegisterDlg& dlg);
QLineEdit* DecimalBox(CRegisterDlg& dlg);

// The text the value column shows for a row.
std::string ShownValue(CRegisterDlg& dlg, CPropTreeItem* row);
// Makes `row` the current row the way a click does.
void ClickRow(CRegisterDlg& dlg, CPropTreeItem* row);
