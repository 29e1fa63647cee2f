// SPDX-License-Identifier: MIT
#pragma once
// The application: runs the main dialog once, on the file named on the
// command line if any, and ends when it closes.
#include <ostream>
#include <string>
#include <vector>

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

// Runs the main window on the window's command line (`arguments`, the
// program's name first, as left after the window system took its options)
// until it closes. Returns 0, or 2 after printing the usage to `err` for a
// command line the window does not take.
int RunMainWindow(const std::vector<std::string>& arguments, std::ostream& err);
