// SPDX-License-Identifier: MIT
#pragma once
// The application object: one per process. The entry point creates the Qt
// application and calls InitInstance; when it returns FALSE the program ends
// with the code ExitInstance gives.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/MessageMap.h"

class QIcon;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }
    // The exit code, asked for when InitInstance returns FALSE.
    virtual int ExitInstance() { return 0; }

    // The command line after the window system has taken its own options
    // (-platform, -display, -style, ...): the program's name, then the rest.
    std::vector<std::string> GetArguments() const;

    // The icon resource `id`, loaded once and kept for the program's life.
    IconHandle LoadIcon(UINT id) const;
    // Nothing to do: Qt draws the controls in its own style.
    void Enable3dControls() {}

    // The framework's help handler, for an application's map to route the
    // help command to: tavlin has no help pages, so it says so.
    void OnHelp();

private:
    mutable std::map<UINT, std::unique_ptr<QIcon>> m_icons;
};

CWinApp* AfxGetApp();
// Lets dialogs host embedded controls; nothing to do on this platform.
BOOL AfxEnableControlContainer();
// The process entry: runs the application object and returns the exit code.
int AfxWinMain(int argc, char** argv);
