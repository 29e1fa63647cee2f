// SPDX-License-Identifier: MIT
#include "framework/FileDialog.h"

#include <QFileDialog>
#include <utility>

#include "framework/Wnd.h"

namespace {
CFileDialog::Chooser& InstalledChooser() {
    static CFileDialog::Chooser chooser;
    return chooser;
}
}  // namespace

CFileDialog::CFileDialog(LPCTSTR filter, CWnd* parent, bool save)
    : m_strFilter(filter), m_pParentWnd(parent), m_bSave(save) {}

CFileDialog::Chooser CFileDialog::SetChooser(Chooser chooser) {
    return std::exchange(InstalledChooser(), std::move(chooser));
}

int CFileDialog::DoModal() {
    std::string path;
    if (const Chooser& chooser = InstalledChooser()) {
        path = chooser(*this);
    } else {
        QWidget* parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
        const QString filter = QString::fromUtf8(m_strFilter.str());
        const QString folder = QString::fromStdString(m_strFolder);
        const QString chosen = m_bSave ? QFileDialog::getSaveFileName(parent, QString(), folder, filter)
                                       : QFileDialog::getOpenFileName(parent, QString(), folder, filter);
        path = chosen.toUtf8().toStdString();
    }
    m_strPathName = CString(path);
    return path.empty() ? IDCANCEL : IDOK;
}
