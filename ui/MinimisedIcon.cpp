// SPDX-License-Identifier: MIT
#include "ui/MinimisedIcon.h"

#include "framework/PaintDC.h"
#include "framework/WidgetWnd.h"

void PaintMinimisedIcon(CWidgetWnd& wnd, IconHandle icon) {
    CPaintDC dc(&wnd);
    wnd.SendMessage(WM_ICONERASEBKGND, dc.GetSafeHdc(), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    wnd.GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, icon);
}
