#include "framework/Wnd.h"

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) { return 0; }
