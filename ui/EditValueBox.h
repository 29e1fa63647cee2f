// SPDX-License-Identifier: MIT
#pragma once
// One of the dialog's edit boxes as the calculator sees it. Writing its text
// raises the box's change notification inside the write, as typing does.
#include "calc/ValueBox.h"
#include "framework/Edit.h"
#include "framework/String.h"

class EditValueBox : public ValueBox {
public:
    explicit EditValueBox(CEdit& edit) : m_edit(edit) {}
    std::string GetText() const override {
        CString text;
        m_edit.GetWindowText(text);
        return text.str();
    }
    void SetText(const std::string& text) override { m_edit.SetWindowText(text.c_str()); }

private:
    CEdit& m_edit;
};
