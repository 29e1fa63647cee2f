// SPDX-License-Identifier: MIT
#pragma once
// Message maps: one table per class, searched for the first entry matching
// the message, its notification code and the sending control's id, then the
// base class's table. Entries are plain data; the small templates below turn
// a member function into the entry's uniform handler.
#include <cstddef>

#include "framework/AfxTypes.h"

class CCmdTarget;

// Calls the handler of one entry; the returned value is the message result.
using MessageHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT code;  // WM_COMMAND: notification code; WM_NOTIFY: compared on its low 16 bits
    UINT id;    // the control (or command) id; 0 with any code for window messages
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;
    std::size_t count;
};

template <std::size_t N>
constexpr MessageMap MakeMessageMap(const MessageMap* base, const MessageMapEntry (&entries)[N]) {
    return MessageMap{base, entries, N};
}

constexpr UINT LOWORD(WPARAM value) { return static_cast<UINT>(value & 0xFFFF); }
constexpr UINT HIWORD(WPARAM value) { return static_cast<UINT>((value >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(UINT low, UINT high) { return (low & 0xFFFF) | ((high & 0xFFFF) << 16); }
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>((static_cast<unsigned>(low) & 0xFFFF) | ((static_cast<unsigned>(high) & 0xFFFF) << 16));
}

// Anything that handles messages through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const MessageMap* GetMessageMap() const;

    // Finds the entry for the message in this class's map and its bases' and
    // calls it. False when no entry matches.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// --- Entries -----------------------------------------------------------
namespace msgmap_detail {
template <class T>
T* As(CCmdTarget* target) {
    return static_cast<T*>(target);
}
}  // namespace msgmap_detail

// A window message whose handler takes no arguments.
template <class T, void (T::*F)()>
constexpr MessageMapEntry OnMessage(UINT message) {
    return {message, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                (msgmap_detail::As<T>(t)->*F)();
                return 0;
            }};
}

// WM_SYSCOMMAND: command id and the second parameter.
template <class T, void (T::*F)(UINT, LPARAM)>
constexpr MessageMapEntry OnSysCommandEntry() {
    return {WM_SYSCOMMAND, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {
                (msgmap_detail::As<T>(t)->*F)(static_cast<UINT>(w), l);
                return 0;
            }};
}

// WM_SIZE: size type, client width, client height.
template <class T, void (T::*F)(UINT, int, int)>
constexpr MessageMapEntry OnSizeEntry() {
    return {WM_SIZE, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {
                (msgmap_detail::As<T>(t)->*F)(static_cast<UINT>(w), static_cast<short>(LOWORD(static_cast<WPARAM>(l))),
                                              static_cast<short>(HIWORD(static_cast<WPARAM>(l))));
                return 0;
            }};
}

// WM_QUERYDRAGICON: the returned cursor is the message's result.
template <class T, CursorHandle (T::*F)()>
constexpr MessageMapEntry OnQueryDragIconEntry() {
    return {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                return reinterpret_cast<LRESULT>((msgmap_detail::As<T>(t)->*F)());
            }};
}

// WM_COMMAND from control `id` with notification `code` (0 for commands).
template <class T, void (T::*F)()>
constexpr MessageMapEntry OnCommandEntry(UINT code, UINT id) {
    return {WM_COMMAND, code, id, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {
                (msgmap_detail::As<T>(t)->*F)();
                return 0;
            }};
}

// WM_NOTIFY from control `id` with code `code`: the record and a result slot.
template <class T, void (T::*F)(NMHDR*, LRESULT*)>
constexpr MessageMapEntry OnNotifyEntry(UINT code, UINT id) {
    return {WM_NOTIFY, code & 0xFFFF, id, [](CCmdTarget* t, WPARAM, LPARAM l) -> LRESULT {
                LRESULT result = 0;
                (msgmap_detail::As<T>(t)->*F)(reinterpret_cast<NMHDR*>(l), &result);
                return result;
            }};
}

// WM_DROPFILES: the files dropped on the window, read with DragQueryFile.
template <class T, void (T::*F)(HDROP)>
constexpr MessageMapEntry OnDropFilesEntry() {
    return {WM_DROPFILES, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM) -> LRESULT {
                (msgmap_detail::As<T>(t)->*F)(reinterpret_cast<HDROP>(w));
                return 0;
            }};
}
