// The operations of a window object that work on its widget.
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "framework/Dialog.h"
#include "framework/DialogWidget.h"
#include "framework/String.h"
#include "framework/Window.h"
#include "framework/Wnd.h"

void CWnd::SetWindowText(LPCTSTR text) {
    if (!m_hWnd) return;
    const QString value = QString::fromLocal8Bit(text ? text : "");
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd)) {
        // Setting the same text still counts as a change, as for a typed one.
        if (edit->text() == value)
            Q_EMIT edit->textChanged(value);
        else
            edit->setText(value);
        return;
    }
    m_hWnd->setWindowTitle(value);
}

void CWnd::GetWindowText(CString& text) const {
    if (!m_hWnd) {
        text = CString();
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(m_hWnd))
        text = CString(edit->text().toLocal8Bit().toStdString());
    else
        text = CString(m_hWnd->windowTitle().toLocal8Bit().toStdString());
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT) {
    if (!m_hWnd) return FALSE;
    // Sizes below zero are taken as zero.
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if (m_hWnd->isWindow()) {
        // Top-level windows are placed by their outer frame.
        const QSize frameExtra = m_hWnd->frameGeometry().size() - m_hWnd->size();
        m_hWnd->move(x, y);
        m_hWnd->resize(std::max(cx - frameExtra.width(), 0), std::max(cy - frameExtra.height(), 0));
        // The frame of a window not yet shown is unknown: the dialog sizes
        // itself again once it is (see DialogWidget::showEvent).
        if (!m_hWnd->isVisible()) m_hWnd->setProperty(kOuterSizeProperty, QSize(cx, cy));
    } else {
        m_hWnd->setGeometry(x, y, cx, cy);
    }
    return TRUE;
}

void CWnd::GetClientRect(LPRECT rect) const {
    *rect = RECT{};
    if (!m_hWnd || (m_hWnd->isWindow() && m_hWnd->isMinimized())) return;
    rect->right = m_hWnd->width();
    rect->bottom = m_hWnd->height();
}

void CWnd::GetWindowRect(LPRECT rect) const {
    *rect = RECT{};
    if (!m_hWnd) return;
    const QRect r = m_hWnd->isWindow() ? m_hWnd->frameGeometry()
                                       : QRect(m_hWnd->mapToGlobal(QPoint(0, 0)), m_hWnd->size());
    *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

BOOL CWnd::IsIconic() const { return m_hWnd && m_hWnd->isWindow() && m_hWnd->isMinimized(); }


CWnd* CWnd::GetDlgItem(int id) const {
    if (!m_hWnd) return nullptr;
    for (QWidget* child : m_hWnd->findChildren<QWidget*>()) {
        if (AfxControlId(child) != id) continue;
        if (CWnd* wnd = AfxWindowFromWidget(child)) return wnd;
    }
    return nullptr;
}

CMenu* CWnd::GetSystemMenu(BOOL) {
    auto* dialog = dynamic_cast<CDialog*>(this);
    return dialog ? dialog->SystemMenu() : nullptr;
}
