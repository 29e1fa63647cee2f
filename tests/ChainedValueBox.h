// SPDX-License-Identifier: MIT
#pragma once
// A value box as the dialog has it, without a window: writing its text
// announces the change at once, inside the write, so that a hex box can run
// the decomposition exactly where the real edit box would.
#include <functional>
#include <string>

#include "calc/ValueBox.h"

class ChainedValueBox : public ValueBox {
public:
    std::string GetText() const override { return text; }
    void SetText(const std::string& newText) override {
        text = newText;
        OnWritten(newText);
        if (onChange) onChange();
    }

    std::string text;
    std::function<void()> onChange;

protected:
    // Called after each write, before the change is announced.
    virtual void OnWritten(const std::string&) {}
};
