// SPDX-License-Identifier: MIT
#pragma once
// The application: runs the main dialog once, on the file named on the
// command line if any, and ends when it closes.
#include "framework/WinApp.h"

class CRegisterApp : public CWinApp {
public:
    CRegisterApp();
    const MessageMap* GetMessageMap() const override;
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    int m_nExitCode = 0;
};
