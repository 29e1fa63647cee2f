#include <QApplication>

#include "framework/MessageBoxWidget.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    if (const ResourceTable* resources = AfxGetResources(); resources && resources->version) {
        const VersionInfo& v = *resources->version;
        QApplication::setApplicationName(QString::fromLatin1(v.internalName));
        QApplication::setApplicationDisplayName(QString::fromLatin1(v.internalName));
        QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3.%4").arg(v.major).arg(v.minor).arg(v.build).arg(v.revision));
    }
    AfxInstallMessageBoxWidget();
    CWinApp* app = AfxGetApp();
    if (!app) return 0;
    if (!app->InitInstance()) return app->ExitInstance();
    return QApplication::exec();
}
