// SPDX-License-Identifier: MIT
// The installed packs as the command line and the window find them: the
// user's folders from the settings before $CMSIS_PACK_ROOT, the index kept in
// the cache folder the environment names.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FilePaths.h"
#include "tests/PackRoot.h"
#include "tests/PackTestEnvironment.h"
#include "tests/TempDir.h"
#include "ui/AppSettings.h"
#include "ui/InstalledPacks.h"

namespace {

const char* const kDevices = R"(<family Dfamily="F" Dvendor="V:1"><processor Dcore="Cortex-M4"/>
  <device Dname="CHIP1"><debug svd="chip.svd"/></device></family>)";

TEST(InstalledPacks, TheSettingsFoldersComeBeforeCmsisPackRootAndTheIndexGoesToTheCacheFolder) {
    PackRootDir dir;
    const std::string envRoot = dir.SubFolder("env");
    const std::string userRoot = dir.SubFolder("user");
    // The same pack and version in both roots: the earlier root wins.
    dir.AddPack("env", "V", "P", "1.0.0", PdscText("V", "P", {"1.0.0"}, kDevices), {{"chip.svd", PackSvdText("C")}});
    dir.AddPack("user", "V", "P", "1.0.0", PdscText("V", "P", {"1.0.0"}, kDevices), {{"chip.svd", PackSvdText("C")}});
    const PackTestEnvironment environment(envRoot);
    CAppSettings settings(QString::fromStdString(dir.Folder() + "/tavlin.conf"));
    settings.SetPackFolders({QString::fromStdString(userRoot)});

    EXPECT_EQ(PackCacheFolder(), environment.CacheFolder());
    const std::vector<PackRoot> roots = InstalledPackRoots(settings);
    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], (PackRoot{userRoot, "user"}));
    EXPECT_EQ(roots[1], (PackRoot{envRoot, "CMSIS_PACK_ROOT"}));
    for (std::size_t i = 2; i < roots.size(); ++i) {  // the tools' folders, all under the empty home
        if (roots[i].folder == "C:\\Keil_v5\\ARM\\PACK") continue;  // older MDK's one fixed folder, on Windows
        EXPECT_EQ(roots[i].folder.rfind(environment.HomeFolder(), 0), 0u) << roots[i].folder;
    }

    const auto catalog = InstalledDevices(settings);
    ASSERT_TRUE(catalog.Ok()) << catalog.Text();
    const auto found = catalog.Value().Find("chip1");
    ASSERT_TRUE(found.Ok()) << found.Text();
    EXPECT_EQ(found.Value().pack.root, userRoot);
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(PackIndex(environment.CacheFolder()).FilePath())));
}

TEST(InstalledPacks, ARaisedCancelStopsTheScan) {
    PackRootDir dir;
    dir.AddPack("", "V", "P", "1.0.0", PdscText("V", "P", {"1.0.0"}, kDevices));
    const PackTestEnvironment environment(dir.Folder());
    const std::atomic<bool> cancel{true};
    const auto catalog = InstalledDevices(CAppSettings(QString::fromStdString(dir.Folder() + "/t.conf")), {}, &cancel);
    EXPECT_TRUE(catalog.Failed(ProblemCode::kCancelled));
}

}  // namespace
