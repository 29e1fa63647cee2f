// SPDX-License-Identifier: MIT
#include "framework/WinApp.h"

#include <QApplication>
#include <QIcon>
#include <string>

#include "framework/MessageBox.h"
#include "framework/Resources.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

BOOL AfxEnableControlContainer() { return TRUE; }

void CWinApp::OnHelp() {
    const ResourceTable* resources = AfxGetResources();
    const std::string name = resources && resources->version ? resources->version->internalName : "This program";
    AfxMessageBox((name + " has no help pages. Run '" + name + " --help' for its command line.").c_str(), MB_OK);
}

std::vector<std::string> CWinApp::GetArguments() const {
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments()) arguments.push_back(argument.toUtf8().toStdString());
    return arguments;
}

IconHandle CWinApp::LoadIcon(UINT id) const {
    auto& icon = m_icons[id];
    if (!icon) {
        const ResourceTable* resources = AfxGetResources();
        const char* path = resources && resources->iconPath ? resources->iconPath(id) : nullptr;
        if (!path) return nullptr;
        icon = std::make_unique<QIcon>(QString::fromLatin1(path));
    }
    return icon.get();
}
