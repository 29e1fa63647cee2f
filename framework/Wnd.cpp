#include "framework/Wnd.h"

#include <utility>

namespace {
WindowDetachHook g_detachHook = nullptr;
}

void AfxSetWindowDetachHook(WindowDetachHook hook) { g_detachHook = hook; }

CWnd::~CWnd() {
    if (m_hWnd && g_detachHook) g_detachHook(this);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Handlers may send further messages; each keeps its own current message.
    const CurrentMessage saved = std::exchange(m_current, CurrentMessage{message, wParam, lParam});
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    m_current = saved;
    return result;
}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }
