// SPDX-License-Identifier: MIT
#pragma once
// A single-line edit box, shown by a QLineEdit. Every change of its text,
// typed or set by the program, raises EN_CHANGE to the dialog at once,
// inside the change.
#include "framework/WidgetWnd.h"

class CEdit : public CWidgetWnd {
public:
    // Setting the same text again still counts as a change, as a typed one does.
    void SetWindowText(LPCTSTR text) override;
    void GetWindowText(CString& text) const override;
};
