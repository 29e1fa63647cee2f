// SPDX-License-Identifier: MIT
// What tavlin remembers comes back the same from each place it can be kept:
// the system's own store (the registry on Windows, a file elsewhere) and an
// INI file, the file under a folder of any name.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "platform/FilePaths.h"
#include "tests/TempDir.h"
#include "ui/AppSettings.h"

namespace {

// Everything remembered, set to values with non-ASCII paths.
void Remember(CAppSettings& settings) {
    settings.AddRecentMap("C:/Users/Jörg/Документы/chip.svd");
    settings.AddRecentMap("/home/jörg/My Maps/日本 board.svd");
    settings.SetWindowState(QByteArray("\x01\xd9\xd0\xcb\x00\x03\x00\x00", 8), QRect(40, 50, 900, 700));
    settings.SetFittedToMap();
    settings.SetColumnWidths({220, 0x60, 340});
    settings.SetLastServer("localhost:3333");
    settings.SetLastValuesFolder("C:/Users/Jörg/Документы/dumps");
    settings.SetPackFolders({"C:/Users/Jörg/Packs", "/opt/日本 packs"});
}

void ExpectRemembered(const CAppSettings& settings, const std::string& what) {
    EXPECT_EQ(settings.RecentMaps(),
              (std::vector<std::string>{"/home/jörg/My Maps/日本 board.svd", "C:/Users/Jörg/Документы/chip.svd"}))
        << what;
    EXPECT_EQ(settings.WindowState(), QByteArray("\x01\xd9\xd0\xcb\x00\x03\x00\x00", 8)) << what;
    EXPECT_EQ(settings.WindowGeometry(), std::optional<QRect>(QRect(40, 50, 900, 700))) << what;
    EXPECT_TRUE(settings.FittedToMap()) << what;
    EXPECT_EQ(settings.ColumnWidths(), (QList<int>{220, 0x60, 340})) << what;
    EXPECT_EQ(settings.LastServer(), "localhost:3333") << what;
    EXPECT_EQ(settings.LastValuesFolder(), "C:/Users/Jörg/Документы/dumps") << what;
    EXPECT_EQ(settings.PackFolders(), (QStringList{"C:/Users/Jörg/Packs", "/opt/日本 packs"})) << what;
}

QString TestOrganization() {
    std::random_device seed;
    return QStringLiteral("tavlin-tests-%1").arg(seed() % 1'000'000'000u);
}

TEST(SettingsStore, EverythingRememberedComesBackFromEachStore) {
    TempDir dir;
    const QString organization = TestOrganization();
    const std::string iniFolder = Utf8FromPath(dir.Path()) + "/Jörg/Документы";
    std::filesystem::create_directories(PathFromUtf8(iniFolder));
    const struct {
        const char* what;
        std::function<std::unique_ptr<QSettings>()> open;
        QSettings::Format form;
    } stores[] = {
        {"the system's own store",
         [&] { return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organization, "tavlin"); },
         QSettings::NativeFormat},
        {"an INI file",
         [&] { return std::make_unique<QSettings>(QString::fromUtf8(iniFolder + "/tavlin.conf"), QSettings::IniFormat); },
         QSettings::IniFormat},
    };
    for (const auto& store : stores) {
        {
            CAppSettings settings(store.open());
            EXPECT_EQ(settings.Form(), store.form) << store.what;
            EXPECT_TRUE(settings.RecentMaps().empty()) << store.what << " starts empty";
            Remember(settings);
        }
        // Read by a fresh start, through the same store.
        ExpectRemembered(CAppSettings(store.open()), store.what);
        store.open()->clear();
        EXPECT_TRUE(CAppSettings(store.open()).RecentMaps().empty()) << store.what;
    }
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(iniFolder + "/tavlin.conf")));
}

TEST(SettingsStore, TheProgramKeepsItsSettingsWhereTheSystemsProgramsDo) {
#ifdef _WIN32
    // The registry, unless a test or an MSYS2 user named an XDG config folder.
    const CAppSettings native{QString()};
    EXPECT_EQ(native.Form(), QSettings::NativeFormat);
    EXPECT_TRUE(native.Location().startsWith(QStringLiteral("\\HKEY_CURRENT_USER\\Software\\tavlin\\tavlin"),
                                             Qt::CaseInsensitive))
        << native.Location().toStdString();
#else
    // tavlin/tavlin.conf in the XDG config folder, as it always was.
    const CAppSettings kept;
    EXPECT_EQ(kept.Form(), QSettings::IniFormat);
    EXPECT_EQ(kept.Location(), CAppSettings::DefaultFile());
    EXPECT_TRUE(CAppSettings::DefaultFile().endsWith(QStringLiteral("/tavlin/tavlin.conf")));
    EXPECT_TRUE(CAppSettings::DefaultFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
#endif
}

}  // namespace
