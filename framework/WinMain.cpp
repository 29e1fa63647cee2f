// SPDX-License-Identifier: MIT
// The process entry on Qt: the Qt application, message boxes drawn as
// QMessageBox, then the application object.
#include <QApplication>
#include <QMessageBox>

#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"

namespace {
int ShowMessageBox(const std::string& text, UINT type) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), QString::fromLocal8Bit(text.c_str()),
                    QMessageBox::Ok);
    if ((type & 0xF0) == MB_ICONEXCLAMATION) box.setIcon(QMessageBox::Warning);
    box.exec();
    return IDOK;
}
}  // namespace

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    if (const ResourceTable* resources = AfxGetResources(); resources && resources->version) {
        const VersionInfo& v = *resources->version;
        QApplication::setApplicationName(QString::fromLatin1(v.internalName));
        QApplication::setApplicationDisplayName(QString::fromLatin1(v.internalName));
        QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.build).arg(v.revision));
    }
    AfxSetMessageBoxPresenter(&ShowMessageBox);
    CWinApp* app = AfxGetApp();
    if (!app) return 0;
    if (!app->InitInstance()) return app->ExitInstance();
    return QApplication::exec();
}
