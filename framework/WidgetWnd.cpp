// SPDX-License-Identifier: MIT
#include "framework/WidgetWnd.h"

#include <QWidget>
#include <algorithm>

#include "framework/DialogWidget.h"
#include "framework/String.h"

CWidgetWnd::~CWidgetWnd() { QObject::disconnect(m_onDestroyed); }

void CWidgetWnd::Attach(WindowHandle widget) {
    QObject::disconnect(m_onDestroyed);
    m_hWnd = widget;
    if (widget) m_onDestroyed = QObject::connect(widget, &QObject::destroyed, [this]() { m_hWnd = nullptr; });
}

void CWidgetWnd::SetWindowText(LPCTSTR text) {
    if (m_hWnd) m_hWnd->setWindowTitle(QString::fromUtf8(text ? text : ""));
}

void CWidgetWnd::GetWindowText(CString& text) const {
    text = m_hWnd ? CString(m_hWnd->windowTitle().toUtf8().toStdString()) : CString();
}

BOOL CWidgetWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, nullptr, x, y, cx, cy, flags);
}

void CWidgetWnd::GetClientRect(LPRECT rect) const {
    *rect = RECT{};
    if (!m_hWnd || IsIconic()) return;
    // A dialog's client area is below its menu bar.
    const auto* dialog = dynamic_cast<const DialogWidget*>(m_hWnd);
    const QSize size = dialog ? dialog->ClientSize() : m_hWnd->size();
    rect->right = size.width();
    rect->bottom = size.height();
}

void CWidgetWnd::GetWindowRect(LPRECT rect) const {
    *rect = RECT{};
    if (!m_hWnd) return;
    const QRect r = m_hWnd->isWindow() ? m_hWnd->frameGeometry()
                                       : QRect(m_hWnd->mapToGlobal(QPoint(0, 0)), m_hWnd->size());
    *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

BOOL CWidgetWnd::IsIconic() const { return m_hWnd && m_hWnd->isWindow() && m_hWnd->isMinimized(); }

BOOL SetWindowPos(WindowHandle hWnd, WindowHandle, int x, int y, int cx, int cy, UINT) {
    if (!hWnd) return FALSE;
    hWnd->setGeometry(x, y, std::max(cx, 0), std::max(cy, 0));
    return TRUE;
}
