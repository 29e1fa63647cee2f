// SPDX-License-Identifier: MIT
// GUI tests run headless: the offscreen platform, one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/RegisterApp.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static CRegisterApp app;
    QApplication qapp(argc, argv);
    return RUN_ALL_TESTS();
}
