// SPDX-License-Identifier: MIT
#include "framework/Edit.h"

#include <QLineEdit>

#include "framework/String.h"

void CEdit::SetWindowText(LPCTSTR text) {
    auto* edit = qobject_cast<QLineEdit*>(m_hWnd);
    if (!edit) return;
    const QString value = QString::fromUtf8(text ? text : "");
    if (edit->text() == value)
        Q_EMIT edit->textChanged(value);
    else
        edit->setText(value);
}

void CEdit::GetWindowText(CString& text) const {
    const auto* edit = qobject_cast<const QLineEdit*>(m_hWnd);
    text = edit ? CString(edit->text().toUtf8().toStdString()) : CString();
}
