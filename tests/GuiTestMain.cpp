// SPDX-License-Identifier: MIT
// GUI tests run headless: the offscreen platform, one application object.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/RegisterApp.h"
#include "platform/FilePaths.h"
#include "tests/TempDir.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the window keeps between runs goes to a folder of the tests' own,
    // never to the user's settings, and starts empty.
    const TempDir config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Utf8FromPath(config.Path())));
    static CRegisterApp app;
    QApplication qapp(argc, argv);
    return RUN_ALL_TESTS();
}
