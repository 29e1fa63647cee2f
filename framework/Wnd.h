#pragma once
// A window object: something messages can be sent to. The widget-backed
// operations (text, placement, rectangles) come with the windowing layer;
// here is only what message passing needs, so the tree's row model and the
// loader can use it without a display.
#include "framework/AfxTypes.h"

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    // Delivers a message synchronously and returns its result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return WindowProc(message, wParam, lParam);
    }


    HWND m_hWnd = nullptr;

protected:
    // Handles one message; windows that answer messages override this.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
};
