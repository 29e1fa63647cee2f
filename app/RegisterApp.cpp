// SPDX-License-Identifier: MIT
#include "app/RegisterApp.h"

#include <iostream>
#include <string>

#include "app/CommandLine.h"
#include "res/TavlinResources.h"
#include "ui/RegisterDlg.h"

CRegisterApp::CRegisterApp() {
    AfxSetResources(&TavlinResources());
}

const MessageMap* CRegisterApp::GetMessageMap() const {
    static const MessageMapEntry entries[] = {
        OnCommandEntry<CWinApp, &CWinApp::OnHelp>(0, ID_HELP),
    };
    static const MessageMap map = MakeMessageMap(CWinApp::GetMessageMap(), entries);
    return &map;
}

BOOL CRegisterApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    m_nExitCode = RunMainWindow(GetArguments(), std::cerr);
    return FALSE;
}

int RunMainWindow(const std::vector<std::string>& arguments, std::ostream& err) {
    WindowArguments window;
    if (const auto code = ParseWindowArguments(arguments, window, err)) return *code;
    CRegisterDlg dlg;
    dlg.SetStart({window.file, window.desktop, window.gdb, window.core, std::move(window.device)});
    dlg.DoModal();
    return 0;
}

int CRegisterApp::ExitInstance() { return m_nExitCode; }
