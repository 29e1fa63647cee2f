// SPDX-License-Identifier: MIT
#pragma once
// Window-system types and constants the application code is written against.
// Values follow the classic dialog-framework numbering so message tables and
// notification codes read the same as in register documentation and logs.
#include <cstdint>

class QWidget;

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;  // wide enough for a pointer and a 64-bit field value
using LRESULT = std::intptr_t;
// Handles by names of our own: Qt declares the system's HWND, HICON and
// HCURSOR itself on Windows.
using WindowHandle = QWidget*;  // a window is the widget that draws it
using IconHandle = void*;
using CursorHandle = void*;
using LPCTSTR = const char*;
using LPTSTR = char*;

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
using LPRECT = RECT*;

// The files of a drop, handed to WM_DROPFILES (see framework/DropFiles.h).
struct DropFiles;
using HDROP = const DropFiles*;

// Header of every WM_NOTIFY record.
struct NMHDR {
    WindowHandle hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};

constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_CONTEXTMENU = 0x007B;  // wParam: the widget; lParam: the screen point
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_DROPFILES = 0x0233;

constexpr UINT EN_CHANGE = 0x0300;

constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_INITSTORAGE = 0x0161;  // wParam: how many entries are coming
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr LRESULT CB_ERR = -1;

constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr UINT ICON_SMALL = 0;
constexpr UINT ICON_BIG = 1;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT ID_HELP = 0xE146;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;
