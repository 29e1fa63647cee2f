// SPDX-License-Identifier: MIT
#include "framework/PaintDC.h"

#include <QIcon>
#include <QPainter>
#include <QWidget>

#include "framework/Wnd.h"

int GetSystemMetrics(int index) { return index == SM_CXICON || index == SM_CYICON ? 32 : 0; }

CPaintDC::CPaintDC(CWnd* wnd) : m_painter(wnd && wnd->m_hWnd ? new QPainter(wnd->m_hWnd) : nullptr) {}

CPaintDC::~CPaintDC() { delete m_painter; }

BOOL CPaintDC::DrawIcon(int x, int y, IconHandle icon) {
    if (!m_painter || !icon) return FALSE;
    const int size = GetSystemMetrics(SM_CXICON);
    m_painter->drawPixmap(x, y, static_cast<QIcon*>(icon)->pixmap(size, size));
    return TRUE;
}
