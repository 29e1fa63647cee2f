// SPDX-License-Identifier: MIT
// A device's map loaded from its pack: the SVD it names, the core registers
// its processor's Dcore names where the SVD names none, and the problems of a
// pack that lacks the file.
#include <gtest/gtest.h>

#include "defs/CoreInfo.h"
#include "defs/CoreRegisters.h"
#include "defs/RegisterMap.h"
#include "packs/DeviceMap.h"
#include "tests/PackRoot.h"

namespace {

const char* const kDevices = R"(
<family Dfamily="Parts" Dvendor="Acme:1">
  <processor Dcore="Cortex-M4"/>
  <debug svd="SVD\plain.svd"/>
  <device Dname="PLAIN1"/>
  <device Dname="OWNCPU1"><debug svd="SVD/owncpu.svd"/></device>
  <device Dname="ODDCORE1"><processor Dcore="Star-MC1"/></device>
  <device Dname="LACKING1"><debug svd="SVD/lacking.svd"/></device>
</family>)";

// An SVD whose <cpu> names the Cortex-M33.
std::string SvdNamingItsCpu() {
    std::string text = PackSvdText("OWNCPU1");
    text.insert(text.find("<addressUnitBits>"), "<cpu><name>CM33</name><revision>r0p0</revision><endian>little</endian>"
                                                "<mpuPresent>true</mpuPresent><fpuPresent>true</fpuPresent>"
                                                "<nvicPrioBits>3</nvicPrioBits><vendorSystickConfig>false</vendorSystickConfig></cpu>");
    return text;
}

TEST(DeviceMap, TheDevicesSvdLoadsWithTheCoreItsSvdOrItsProcessorNames) {
    PackRootDir dir;
    dir.AddPack("root", "Acme", "Parts_DFP", "1.2.0", PdscText("Acme", "Parts_DFP", {"1.2.0"}, kDevices),
                {{"SVD/plain.svd", PackSvdText("PLAIN1")}, {"SVD/owncpu.svd", SvdNamingItsCpu()}});
    auto scan = PackIndex(dir.SubFolder("cache")).Scan({{dir.SubFolder("root"), "user"}});
    ASSERT_TRUE(scan.Ok()) << scan.Text();
    const DeviceCatalog catalog(scan.Value());

    const struct {
        const char* device;
        const char* coreOption;  // as --core gives it; null for none
        bool opened;
        const char* core;        // the title of the core added; "" for none
        ProblemCode problem;     // the first problem, when not opened
    } cases[] = {
        {"PLAIN1", nullptr, true, "Cortex-M4", {}},        // the SVD names no core: the processor's Dcore
        {"PLAIN1", "CM7", true, "Cortex-M7", {}},          // --core wins over the Dcore
        {"OWNCPU1", nullptr, true, "Cortex-M33", {}},      // the SVD's own <cpu> wins
        {"ODDCORE1", nullptr, true, "", {}},               // a core tavlin has no map for adds nothing
        {"LACKING1", nullptr, false, "", ProblemCode::kSvdMissing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        const Result<DeviceChoice> choice = catalog.Find(c.device);
        if (!c.opened && !choice) {
            EXPECT_TRUE(choice.Failed(c.problem)) << choice.Text();
            continue;
        }
        ASSERT_TRUE(choice.Ok()) << choice.Text();
        CRegisterMap map;
        const LoadReport report = LoadDeviceMap(map, choice.Value(), c.coreOption ? FindCore(c.coreOption) : nullptr);
        EXPECT_EQ(report.opened, c.opened);
        EXPECT_EQ(std::string(map.Core() ? map.Core()->title : ""), c.core);
        if (c.opened) {
            EXPECT_EQ(report.displayName.rfind("Acme.Parts_DFP 1.2.0: SVD/", 0), 0u) << report.displayName;
            EXPECT_GE(report.registers, 1);
        } else {
            ASSERT_FALSE(report.Ok());
            EXPECT_EQ(report.problems.Front().code, c.problem);
        }
    }
}

TEST(DeviceMap, AnSvdBeyondTheLimitIsRefusedBeforeItIsLoaded) {
    PackRootDir dir;
    dir.AddPack("root", "Acme", "Parts_DFP", "1.2.0", PdscText("Acme", "Parts_DFP", {"1.2.0"}, kDevices),
                {{"SVD/plain.svd", PackSvdText("PLAIN1")}});
    auto scan = PackIndex(dir.SubFolder("cache")).Scan({{dir.SubFolder("root"), "user"}});
    ASSERT_TRUE(scan.Ok()) << scan.Text();
    const Result<DeviceChoice> choice = DeviceCatalog(scan.Value()).Find("PLAIN1");
    ASSERT_TRUE(choice.Ok()) << choice.Text();
    CRegisterMap map;
    const LoadReport report = LoadDeviceMap(map, choice.Value(), nullptr, 16);
    EXPECT_FALSE(report.opened);
    EXPECT_FALSE(report.Ok());
    EXPECT_EQ(map.Registers().size(), 0u);
}

TEST(DeviceMap, ADcoreNamesTheCoreByItsTitle) {
    const struct {
        const char* dcore;
        const char* core;  // null: none
    } cases[] = {{"Cortex-M0+", "CM0PLUS"}, {"Cortex-M7", "CM7"}, {"Cortex-M33", "CM33"}, {"SC300", "SC300"},
                 {"Star-MC1", nullptr},     {"cortex-m7", nullptr}, {"", nullptr}};
    for (const auto& c : cases) {
        const CoreInfo* core = CoreOfDcore(c.dcore);
        EXPECT_EQ(std::string(core ? core->name : "-"), std::string(c.core ? c.core : "-")) << c.dcore;
    }
}

}  // namespace
