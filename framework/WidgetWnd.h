// SPDX-License-Identifier: MIT
#pragma once
// A window object shown by a Qt widget of its own: the dialog and its edit
// boxes. m_hWnd goes back to null when the widget is destroyed, and the
// widget is let go when the window object goes first.
#include <QMetaObject>

#include "framework/Wnd.h"

class CString;

class CWidgetWnd : public CWnd {
public:
    CWidgetWnd() = default;
    ~CWidgetWnd() override;

    // Makes `widget` (null: none) the window's widget.
    void Attach(WindowHandle widget);

    // The caption of a window; the text of an edit box (see CEdit).
    virtual void SetWindowText(LPCTSTR text);
    virtual void GetWindowText(CString& text) const;
    // Places a child window in its parent's client area; sizes below zero
    // are taken as zero. The dialog places its outer frame (see CDialog).
    virtual BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    // The client area from (0, 0); empty while the window is minimised.
    void GetClientRect(LPRECT rect) const;
    // The outer frame of a window, or a child's place on the screen.
    void GetWindowRect(LPRECT rect) const;
    BOOL IsIconic() const;

private:
    QMetaObject::Connection m_onDestroyed;
};

// True when `hWnd` names a window that exists.
inline BOOL IsWindow(WindowHandle hWnd) { return hWnd != nullptr; }
// Places the child window `hWnd` as CWidgetWnd::SetWindowPos does, for a
// window whose object is no CWidgetWnd: the register tree, whose window
// (tree/PropTreeView.h) keeps its m_hWnd itself.
BOOL SetWindowPos(WindowHandle hWnd, WindowHandle insertAfter, int x, int y, int cx, int cy, UINT flags);
