// SPDX-License-Identifier: MIT
#pragma once
// A dialog described as data: its place and size in dialog units, its
// caption and font, and its controls in tab order. The framework builds the
// window from it.
#include <span>

#include "framework/AfxTypes.h"

enum class ControlClass { Edit, Static, Button };

struct DialogControl {
    ControlClass cls;
    const char* text;
    int id;
    int x, y, cx, cy;  // dialog units
    DWORD style;
};

struct DialogTemplate {
    DWORD style;
    int x, y, cx, cy;  // dialog units
    const char* caption;
    const char* fontName;
    int pointSize;
    std::span<const DialogControl> controls;
};

// The style bits the framework reads.
constexpr DWORD WS_BORDER = 0x00800000;       // an edit box's frame
constexpr DWORD WS_SYSMENU = 0x00080000;      // a close box and a menu of window commands
constexpr DWORD WS_THICKFRAME = 0x00040000;   // the user may resize the dialog
constexpr DWORD WS_TABSTOP = 0x00010000;      // the control takes the focus
constexpr DWORD SS_CENTER = 0x00000001;       // centred text
constexpr DWORD SS_SUNKEN = 0x00001000;       // a sunken frame round the text
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;  // the button Enter presses
