// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QString>
#include <iostream>

#include "app/CommandLine.h"
#include "app/RegisterApp.h"
#include "platform/ProcessText.h"

CRegisterApp theApp;

int main(int argc, char** argv) {
    WriteConsoleAsUtf8();
    // Named before any mode runs, so the folders Qt gives (the pack index's
    // cache folder) are tavlin's own from the command line too.
    QCoreApplication::setApplicationName(QStringLiteral("tavlin"));
    if (const auto code = RunCommandLine(Utf8Arguments(argc, argv), std::cout, std::cerr)) return *code;
    return AfxWinMain(argc, argv);
}
