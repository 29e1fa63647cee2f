// SPDX-License-Identifier: MIT
#pragma once
// Painting a window while it handles WM_PAINT.
#include "framework/AfxTypes.h"

class CWnd;
class QPainter;

constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
int GetSystemMetrics(int index);

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    // The device context handle, as sent with WM_ICONERASEBKGND.
    WPARAM GetSafeHdc() const { return reinterpret_cast<WPARAM>(m_painter); }
    BOOL DrawIcon(int x, int y, IconHandle icon);

private:
    QPainter* m_painter;
};
