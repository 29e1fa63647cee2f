// SPDX-License-Identifier: MIT
#include "tests/GuiHarness.h"
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>

#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "tests/TempDir.h"
#include "tree/PropTreeModel.h"

GuiRun RunMainDialog(const std::string& xml, const std::function<void(CRegisterDlg&)>& body,
                     const std::string& fileArgument) {
    GuiRun run;
    TempDir dir;
    dir.Write("tavlin.xml", xml);
    const auto previousDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());

    CRegisterDlg dlg;
    dlg.m_strFileToOpen = fileArgument;
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
            run.events.push_back(dlg.m_hWnd && dlg.m_hWnd->isVisible() ? "about over main" : "about");
            return IDOK;
        }
        run.events.push_back("main");
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.m_hWnd));
        body(dlg);
        return IDCANCEL;
    });
    run.result = dlg.DoModal();
    CDialog::SetModalRunner(previousRunner);
    AfxSetMessageBoxPresenter(previousBox);
    CFileDialog::SetChooser(previousChooser);
    std::filesystem::current_path(previousDir);
    return run;
}

CPropTreeWindow* TreeWindow(CRegisterDlg& dlg) { return qobject_cast<CPropTreeWindow*>(dlg.m_tree.m_hWnd); }
QLineEdit* HexBox(CRegisterDlg& dlg) { return qobject_cast<QLineEdit*>(dlg.m_editHex.m_hWnd); }
QLineEdit* DecimalBox(CRegisterDlg& dlg) { return qobject_cast<QLineEdit*>(dlg.m_editDecimal.m_hWnd); }

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
