// SPDX-License-Identifier: MIT
// The pack roots in order for each system, from the environment the test gives.
#include <gtest/gtest.h>

#include "packs/PackRoots.h"

namespace {

struct Case {
    const char* what;
    std::vector<std::string> user;
    PackEnvironment environment;
    std::vector<PackRoot> roots;
};

TEST(PackRoots, InOrderForEachSystem) {
    const Case cases[] = {
        {"Linux, nothing set but HOME",
         {},
         {PackHostSystem::kLinux, "/home/jo", "", "", ""},
         {{"/home/jo/.cache/arm/packs", "cmsis-toolbox"}, {"/home/jo/.local/share/cmsis-pack-manager", "pyOCD"}}},
        {"Linux, user folders, CMSIS_PACK_ROOT and XDG_DATA_HOME",
         {"/opt/packs", "/srv/more/"},
         {PackHostSystem::kLinux, "/home/jo", "", "/tools/packs", "/data"},
         {{"/opt/packs", "user"},
          {"/srv/more/", "user"},
          {"/tools/packs", "CMSIS_PACK_ROOT"},
          {"/home/jo/.cache/arm/packs", "cmsis-toolbox"},
          {"/data/cmsis-pack-manager", "pyOCD"}}},
        {"macOS",
         {},
         {PackHostSystem::kMacOs, "/Users/jo", "", "", "/ignored"},
         {{"/Users/jo/.cache/arm/packs", "cmsis-toolbox"},
          {"/Users/jo/Library/Application Support/cmsis-pack-manager", "pyOCD"}}},
        {"Windows with LOCALAPPDATA",
         {"D:\\Packs"},
         {PackHostSystem::kWindows, "C:\\Users\\J\xC3\xB6rg", "C:\\Users\\J\xC3\xB6rg\\AppData\\Local", "", ""},
         {{"D:\\Packs", "user"},
          {"C:\\Users\\J\xC3\xB6rg\\AppData\\Local\\Arm\\Packs", "cmsis-toolbox"},
          {"C:\\Keil_v5\\ARM\\PACK", "Keil MDK"},
          {"C:\\Users\\J\xC3\xB6rg\\AppData\\Local\\cmsis-pack-manager\\cmsis-pack-manager", "pyOCD"}}},
        {"Windows without LOCALAPPDATA",
         {},
         {PackHostSystem::kWindows, "", "", "", ""},
         {{"C:\\Keil_v5\\ARM\\PACK", "Keil MDK"}}},
        {"duplicates collapse, the first naming kept",
         {"/home/jo/.cache/arm/packs/", "/opt/p", "/opt/p"},
         {PackHostSystem::kLinux, "/home/jo", "", "/opt/p", ""},
         {{"/home/jo/.cache/arm/packs/", "user"},
          {"/opt/p", "user"},
          {"/home/jo/.local/share/cmsis-pack-manager", "pyOCD"}}},
        {"Windows names compared ignoring case and slashes",
         {"c:/keil_v5/arm/pack/"},
         {PackHostSystem::kWindows, "", "C:\\L", "C:\\KEIL_V5\\ARM\\PACK", ""},
         {{"c:/keil_v5/arm/pack/", "user"},
          {"C:\\L\\Arm\\Packs", "cmsis-toolbox"},
          {"C:\\L\\cmsis-pack-manager\\cmsis-pack-manager", "pyOCD"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PackRoot> roots = PackRootsFor(c.user, c.environment);
        ASSERT_EQ(roots.size(), c.roots.size());
        for (std::size_t i = 0; i < roots.size(); ++i) {
            EXPECT_EQ(roots[i].folder, c.roots[i].folder) << i;
            EXPECT_EQ(roots[i].origin, c.roots[i].origin) << i;
        }
    }
}

}  // namespace
