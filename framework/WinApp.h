#pragma once
// The application object: one per process. The entry point creates the Qt
// application and calls InitInstance; when it returns FALSE the program ends
// with the code ExitInstance gives.
#include <string>
#include <vector>

#include "framework/MessageMap.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }
    // The exit code, asked for when InitInstance returns FALSE.
    virtual int ExitInstance() { return 0; }

    // The command line after the window system has taken its own options
    // (-platform, -display, -style, ...): the program's name, then the rest.
    std::vector<std::string> GetArguments() const;

    // The icon resource `id`, loaded once and kept for the program's life.
    HICON LoadIcon(UINT id) const;
    void Enable3dControls() {}

    CWnd* m_pMainWnd = nullptr;
    const char* m_pszAppName;

    // The framework's help handler, for an application's map to route the
    // help command to: tavlin has no help pages, so it says so.
    void OnHelp();
};

CWinApp* AfxGetApp();
// Lets dialogs host embedded controls; nothing to do on this platform.
BOOL AfxEnableControlContainer();
// The process entry: runs the application object and returns the exit code.
int AfxWinMain(int argc, char** argv);
