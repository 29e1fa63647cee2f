// SPDX-License-Identifier: MIT
#pragma once
// The About box: the program's name and version, its authors, and credits.
// Everything it does is the dialog's default: OK, Escape or the close box
// close it.
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    const MessageMap* GetMessageMap() const override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
