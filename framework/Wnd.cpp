// SPDX-License-Identifier: MIT
#include "framework/Wnd.h"

namespace {
// The messages being handled right now, innermost first. Kept here rather
// than in every window, since drop-down rows are windows too and a tree
// holds millions of them.
struct MessageInProgress {
    const CWnd* wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const MessageInProgress* outer;
};
thread_local const MessageInProgress* g_inProgress = nullptr;
}  // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const MessageInProgress frame{this, message, wParam, lParam, g_inProgress};
    g_inProgress = &frame;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    g_inProgress = frame.outer;
    return result;
}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

LRESULT CWnd::Default() {
    for (const MessageInProgress* frame = g_inProgress; frame; frame = frame->outer)
        if (frame->wnd == this) return DefWindowProc(frame->message, frame->wParam, frame->lParam);
    return 0;
}
