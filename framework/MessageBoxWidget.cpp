#include "framework/MessageBoxWidget.h"

#include <QApplication>
#include <QMessageBox>

#include "framework/MessageBox.h"

void AfxInstallMessageBoxWidget() {
    AfxSetMessageBoxPresenter([](const std::string& text, UINT type) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), QString::fromLocal8Bit(text.c_str()),
                        QMessageBox::Ok);
        if ((type & 0xF0) == MB_ICONEXCLAMATION) box.setIcon(QMessageBox::Warning);
        box.exec();
        return IDOK;
    });
}
