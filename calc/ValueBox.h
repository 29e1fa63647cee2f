// SPDX-License-Identifier: MIT
#pragma once
// A text box under the tree that the calculator reads and writes: the hex box
// or the decimal box. In the dialog, writing the hex box's text raises its
// change notification at once, inside SetText, which runs the decomposition;
// implementations forward SetText to the real control and keep that behaviour.
#include <string>

class ValueBox {
public:
    virtual ~ValueBox() = default;
    virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// The boxes of a calculation without a window (the command line): the
// calculator writes the hex box only for the register in hand, and no row is
// in hand there.
class NoValueBox : public ValueBox {
public:
    std::string GetText() const override { return {}; }
    void SetText(const std::string&) override {}
};
