// SPDX-License-Identifier: MIT
#include "ui/DialogLayout.h"

#include "framework/Edit.h"
#include "framework/WidgetWnd.h"

namespace {

int HeightOf(const CEdit& box) {
    RECT r;
    box.GetWindowRect(&r);
    return r.bottom - r.top;
}

}  // namespace

void LayOutTreeAndBoxes(const RECT& client, CWnd& tree, CEdit& hexBox, CEdit& decimalBox) {
    const int cw = client.right - client.left;
    const int ch = client.bottom - client.top;
    const int w2 = (cw - 4) / 2;
    if (IsWindow(hexBox.m_hWnd)) {
        const int hh = HeightOf(hexBox);
        hexBox.SetWindowPos(nullptr, 2, ch - hh - 2, w2, hh, SWP_NOZORDER);
    }
    if (IsWindow(decimalBox.m_hWnd)) {
        const int hd = HeightOf(decimalBox);
        decimalBox.SetWindowPos(nullptr, w2 + 3, ch - hd - 2, w2 - 1, hd, SWP_NOZORDER);
    }
    if (IsWindow(tree.m_hWnd)) ::SetWindowPos(tree.m_hWnd, nullptr, -1, -1, cw + 2, ch - HeightOf(hexBox) - 4, SWP_NOZORDER);
}
