// SPDX-License-Identifier: MIT
// GUI tests run headless: the offscreen platform, one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "app/RegisterApp.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // What the window keeps between runs goes to a folder of the tests' own,
    // never to the user's settings, and starts empty.
    char config[] = "/tmp/tavlin-gui-config-XXXXXX";
    if (mkdtemp(config)) setenv("XDG_CONFIG_HOME", config, 1);
    static CRegisterApp app;
    QApplication qapp(argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return result;
}
