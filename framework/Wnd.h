#pragma once
// A window object: messages are sent to it and handled through its message
// map. Windows on screen are Qt widgets (m_hWnd); the operations that touch
// the widget come with the windowing layer (the framework library), while
// message passing alone needs no display.
#include "framework/AfxTypes.h"
#include "framework/MessageMap.h"

class CMenu;
class CString;

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // Delivers a message synchronously and returns its result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return WindowProc(message, wParam, lParam);
    }

    // --- Windowing layer ------------------------------------------------
    void SetWindowText(LPCTSTR text);
    void GetWindowText(CString& text) const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    BOOL IsIconic() const;
    CWnd* GetDlgItem(int id) const;
    // The window's own menu of window commands; null when it has none.
    CMenu* GetSystemMenu(BOOL revert);

    HWND m_hWnd = nullptr;

protected:
    // Routes a message through the message map, else to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What happens to a message no entry handles.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled right now.
    LRESULT Default();

};

// Called when a window object goes away while it still has a widget, so the
// windowing layer can forget it. Installed by that layer.
using WindowDetachHook = void (*)(CWnd* wnd);
void AfxSetWindowDetachHook(WindowDetachHook hook);

// True when `hWnd` names a window that exists.
BOOL IsWindow(HWND hWnd);
