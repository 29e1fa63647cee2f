// SPDX-License-Identifier: MIT
#include "ui/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

const MessageMap* CAboutDlg::GetMessageMap() const {
    static const MessageMap map{CDialog::GetMessageMap(), nullptr, 0};
    return &map;
}
