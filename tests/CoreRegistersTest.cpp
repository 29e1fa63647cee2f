// SPDX-License-Identifier: MIT
// The core's registers added beside a vendor's: by <cpu>, after the vendor's
// sets, never over a set the file names itself, and by name to any map.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "defs/CoreRegisters.h"
#include "defs/DefinitionsLoader.h"
#include "defs/RegisterMap.h"
#include "defs/SvdLoader.h"
#include "tree/PropTreeItem.h"

namespace {

std::vector<std::string> SetsOf(const CRegisterMap& map) {
    std::vector<std::string> sets;
    for (const CPropTreeItem* set = map.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling())
        sets.emplace_back(set->GetLabelText());
    return sets;
}

std::string Device(const std::string& cpu, const std::string& peripherals = "<peripheral><name>P</name>"
                                                                             "<baseAddress>0x40000000</baseAddress>"
                                                                             "<registers/></peripheral>") {
    return "<device><name>D</name>" + cpu + "<peripherals>" + peripherals + "</peripherals></device>";
}

using Sets = std::vector<std::string>;
const Sets kArmv7m = {"SCnSCB", "SysTick", "NVIC", "SCB", "MPU", "FPU", "CoreDebug", "DWT", "ITM"};

TEST(CoreRegisters, TheCoreACpuNamesAddsItsSetsAfterTheVendorsOwn) {
    const auto with = [](Sets sets, const Sets& more) {
        sets.insert(sets.end(), more.begin(), more.end());
        return sets;
    };
    const struct {
        const char* rule;
        std::string svd;
        Sets sets;
    } cases[] = {
        {"a Cortex-M4", Device("<cpu><name>CM4</name></cpu>"), with({"P"}, kArmv7m)},
        {"names in any case", Device("<cpu><name>cm7</name></cpu>"), with({"P"}, kArmv7m)},
        {"a set the vendor names itself is its own",
         Device("<cpu><name>CM4</name></cpu>",
                "<peripheral><name>SCB</name><baseAddress>0xE000ED00</baseAddress><registers/></peripheral>"),
         {"SCB", "SCnSCB", "SysTick", "NVIC", "MPU", "FPU", "CoreDebug", "DWT", "ITM"}},
        {"a Cortex-M3 has no floating-point unit", Device("<cpu><name>CM3</name></cpu>"),
         {"P", "SCnSCB", "SysTick", "NVIC", "SCB", "MPU", "CoreDebug", "DWT", "ITM"}},
        {"nor a device whose cpu says so, nor an MPU",
         Device("<cpu><name>CM4</name><mpuPresent>false</mpuPresent><fpuPresent>false</fpuPresent></cpu>"),
         {"P", "SCnSCB", "SysTick", "NVIC", "SCB", "CoreDebug", "DWT", "ITM"}},
        {"Armv6-M: CM0+ is CM0PLUS", Device("<cpu><name>CM0+</name></cpu>"), {"P", "SysTick", "NVIC", "SCB"}},
        {"Armv8-M Baseline", Device("<cpu><name>CM23</name></cpu>"),
         {"P", "SysTick", "NVIC", "SCB", "MPU", "CoreDebug", "DWT"}},
        {"Armv8-M Mainline", Device("<cpu><name>ARMV8MML</name></cpu>"), with({"P"}, kArmv7m)},
        {"a core tavlin has no registers for", Device("<cpu><name>CA5</name></cpu>"), {"P"}},
        {"no cpu", Device(""), {"P"}},
    };
    for (const auto& c : cases) {
        CRegisterMap map;
        const LoadReport report = LoadSvdText(map, c.svd, "d.svd");
        EXPECT_TRUE(report.Ok()) << c.rule << ": " << report.Message().value_or("");
        EXPECT_EQ(SetsOf(map), c.sets) << c.rule;
        EXPECT_EQ(report.registerSets, static_cast<int>(c.sets.size())) << c.rule;
        EXPECT_EQ(report.registers, static_cast<int>(map.Registers().size())) << c.rule;
    }
}

TEST(CoreRegisters, EachAddedSetSaysTavlinAddedItForTheCore) {
    CRegisterMap map;
    ASSERT_TRUE(LoadSvdText(map, Device("<cpu><name>CM0PLUS</name></cpu>"), "d.svd").Ok());
    ASSERT_NE(map.Core(), nullptr);
    EXPECT_EQ(map.Core()->name, "CM0PLUS");
    const CPropTreeItem* set = map.Tree().GetRootItem()->GetChild();
    EXPECT_EQ(std::string(set->GetInfoText()).find("added by tavlin"), std::string::npos);
    for (set = set->GetSibling(); set; set = set->GetSibling())
        EXPECT_NE(std::string(set->GetInfoText()).find("added by tavlin for the Cortex-M0+"), std::string::npos)
            << set->GetInfoText();
}

// --core and "Add core registers" on any map: a definitions file gains the
// sets, its own registers keep their values, and every core's map loads clean.
TEST(CoreRegisters, AnyMapGainsTheCoreByName) {
    for (const CoreInfo& core : KnownCores()) {
        CRegisterMap map;
        const std::string text = "<tavlin><regset n=\"SCB\" d=\"ours\"><register n=\"R\" w=\"8\" v=\"0x5a\" d=\"\">"
                           "<field n=\"F\" k=\"edit\" d=\"\" l=\"0\" h=\"7\"></field></register></regset></tavlin>";
        LoadReport report = LoadDefinitionsText(map, text, "tavlin.xml");
        ASSERT_TRUE(report.Ok()) << report.Message().value_or("");
        map.SetValue(*map.Registers().front(), 0x3C, ValueSource::Typed);
        const std::size_t own = map.Registers().size();
        const int added = AddCoreRegisters(map, core, report);
        EXPECT_TRUE(report.Ok()) << core.name << ": " << report.Message().value_or("");
        const Sets sets = SetsOf(map);
        EXPECT_EQ(added + 1, static_cast<int>(sets.size())) << core.name;
        EXPECT_EQ(sets.front(), "SCB") << core.name;  // the file's own: the core's SCB is left out
        EXPECT_EQ(std::count(sets.begin(), sets.end(), "SCB"), 1) << core.name;
        EXPECT_GT(map.Registers().size(), own) << core.name;
        EXPECT_EQ(map.ValueOf(*map.Registers().front())->value, 0x3Cu) << core.name;
        EXPECT_TRUE(map.HasAddresses()) << core.name;
        EXPECT_EQ(map.Core(), &core);
        // Added again, nothing more comes.
        EXPECT_EQ(AddCoreRegisters(map, core, report), 0) << core.name;
    }
}

// The tree keeps every register of the profile's map, also one a core's
// header has no member for (the Cortex-M4's FPU has no MVFR2).
TEST(CoreRegisters, EachCoreOfAProfileHasTheProfilesRegisters) {
    for (const char* core : {"CM4", "CM7", "CM33"}) {
        CRegisterMap map;
        LoadReport report;
        ASSERT_GT(AddCoreRegisters(map, *FindCore(core), report), 0) << core;
        std::vector<std::string> fpu;
        for (const CRegisterItem* reg : map.Registers())
            if (std::string_view(reg->GetParent()->GetLabelText()) == "FPU") fpu.emplace_back(reg->GetLabelText());
        EXPECT_EQ(std::count(fpu.begin(), fpu.end(), "MVFR2"), 1) << core;
        EXPECT_EQ(std::count(fpu.begin(), fpu.end(), "MVFR1"), 1) << core;
        EXPECT_TRUE(report.Ok()) << core << ": " << report.Message().value_or("");
    }
}

}  // namespace
