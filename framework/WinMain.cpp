// SPDX-License-Identifier: MIT
// The process entry on Qt: the Qt application, message boxes drawn as
// QMessageBox and input boxes as QInputDialog, then the application object.
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "framework/InputBox.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"

namespace {
int ShowMessageBox(const std::string& text, UINT type) {
    const bool yesNo = (type & 0x0F) == MB_YESNO;
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), QString::fromUtf8(text.c_str()),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    if ((type & 0xF0) == MB_ICONEXCLAMATION) box.setIcon(QMessageBox::Warning);
    if ((type & 0xF0) == MB_ICONINFORMATION) box.setIcon(QMessageBox::Information);
    if ((type & 0xF0) == MB_ICONQUESTION) box.setIcon(QMessageBox::Question);
    // A question that changes something on the chip defaults to No.
    if (yesNo) box.setDefaultButton(QMessageBox::No);
    const int pressed = box.exec();
    if (yesNo) return pressed == QMessageBox::Yes ? IDYES : IDNO;
    return IDOK;
}

std::optional<std::string> AskText(const std::string& prompt, const std::string& text) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                              QString::fromUtf8(prompt.c_str()), QLineEdit::Normal,
                              QString::fromUtf8(text.c_str()), &ok);
    if (!ok) return std::nullopt;
    return answer.toUtf8().toStdString();
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
    AfxSetInputBoxAsker(&AskText);
    CWinApp* app = AfxGetApp();
    if (!app) return 0;
    if (!app->InitInstance()) return app->ExitInstance();
    return QApplication::exec();
}
