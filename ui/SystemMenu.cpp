// SPDX-License-Identifier: MIT
#include "ui/SystemMenu.h"

#include "framework/Menu.h"
#include "framework/String.h"
#include "res/resource.h"

void AddOpenAndAbout(CMenu* systemMenu) {
    if (!systemMenu) return;
    CString open;
    CString about;
    open.LoadString(IDS_OPEN);
    about.LoadString(IDS_ABOUTBOX);
    if (!open.IsEmpty() || !about.IsEmpty()) systemMenu->AppendMenu(MF_SEPARATOR);
    if (!open.IsEmpty()) systemMenu->AppendMenu(MF_STRING, IDM_OPEN, open);
    if (!about.IsEmpty()) systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
}
