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

CFileDialog::CFileDialog(LPCTSTR filter, CWnd* parent) : m_strFilter(filter), m_pParentWnd(parent) {}

CFileDialog::Chooser CFileDialog::SetChooser(Chooser chooser) {
    return std::exchange(InstalledChooser(), std::move(chooser));
}

int CFileDialog::DoModal() {
    std::string path;
    if (const Chooser& chooser = InstalledChooser()) {
        path = chooser(*this);
    } else {
        QWidget* parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
        path = QFileDialog::getOpenFileName(parent, QString(), QString(), QString::fromLocal8Bit(m_strFilter.str()))
                   .toLocal8Bit()
                   .toStdString();
    }
    m_strPathName = CString(path);
    return path.empty() ? IDCANCEL : IDOK;
}
