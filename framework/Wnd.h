// SPDX-License-Identifier: MIT
#pragma once
// A window object: messages are sent to it and handled through its message
// map. A window shown on screen has its Qt widget in m_hWnd; the operations
// on that widget belong to the windowing layer (CWidgetWnd), so that the
// tree's rows and drop-down lists, windows without a widget, need no display.
#include "framework/AfxTypes.h"
#include "framework/MessageMap.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Delivers a message synchronously and returns its result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return WindowProc(message, wParam, lParam);
    }

    // The widget that shows the window; null while it has none.
    WindowHandle m_hWnd = nullptr;

protected:
    // Routes a message through the message map, else to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What happens to a message no entry handles.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled right now.
    LRESULT Default();
};
