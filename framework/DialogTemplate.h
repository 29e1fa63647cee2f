#pragma once
// A dialog described as data: the window's style, place and size in dialog
// units, its caption and font, and its controls in tab order. The framework
// builds the window from it.
#include <span>

#include "framework/AfxTypes.h"

enum class ControlClass { Edit, Static, Button };

struct DialogControl {
    ControlClass cls;
    const char* text;
    int id;
    int x, y, cx, cy;  // dialog units
    DWORD style;
    DWORD exStyle;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;  // dialog units
    const char* caption;
    const char* fontName;
    int pointSize;
    std::span<const DialogControl> controls;
};

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD DS_MODALFRAME = 0x00000080;
constexpr DWORD DS_SETFONT = 0x00000040;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD ES_AUTOHSCROLL = 0x00000080;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_CENTERIMAGE = 0x00000200;
constexpr DWORD SS_NOPREFIX = 0x00000080;
constexpr DWORD SS_SUNKEN = 0x00001000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
