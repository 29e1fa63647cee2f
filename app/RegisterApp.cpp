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
    WindowArguments window;
    if (const auto code = ParseWindowArguments(GetArguments(), window, std::cerr)) {
        m_nExitCode = *code;
        return FALSE;
    }
    CRegisterDlg dlg;
    dlg.m_strFileToOpen = window.file;
    dlg.m_bDesktopStart = window.desktop;
    dlg.m_strGdbServer = window.gdb;
    dlg.DoModal();
    return FALSE;
}

int CRegisterApp::ExitInstance() { return m_nExitCode; }
