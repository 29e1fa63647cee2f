// SPDX-License-Identifier: MIT
#pragma once
// A menu whose entries send a command to a window: the dialog's menu of
// window commands (its "system menu").
#include "framework/AfxTypes.h"

class CWnd;
class QAction;
class QMenu;

class CMenu {
public:
    // Entries send `message` with their id to `owner` when chosen.
    CMenu(CWnd* owner, UINT message);
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // MF_SEPARATOR adds a separator; MF_STRING an entry with `text` ('&'
    // marks the mnemonic) and command `id`. A key after a tab in `text`
    // ("&Open...\tCtrl+O") runs the entry anywhere in the owner's window.
    BOOL AppendMenu(UINT flags, UINT id = 0, LPCTSTR text = nullptr);
    QMenu* GetQMenu() const { return m_menu; }
    // The entry of command `id`, or null; a menu bar may show it too.
    QAction* GetAction(UINT id) const;

private:
    CWnd* m_owner;
    UINT m_message;
    QMenu* m_menu;
};
