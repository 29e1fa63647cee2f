// SPDX-License-Identifier: MIT
// Devices found by the names users type, listed and chosen, and their SVD
// text read through their pack.
#include <gtest/gtest.h>

#include "packs/DeviceCatalog.h"
#include "tests/PackRoot.h"

namespace {

const char* const kStDevices = R"(
<family Dfamily="STM32H7 Series" Dvendor="STMicroelectronics:13">
  <processor Dcore="Cortex-M7"/>
  <debug svd="CMSIS\SVD\STM32H743.svd"/>
  <device Dname="STM32H743ZITx"/>
  <device Dname="STM32H743XIHx"/>
  <device Dname="STM32H743VITx"/>
  <device Dname="STM32H745ZITx">
    <processor Pname="CM7" Dcore="Cortex-M7"/>
    <processor Pname="CM4" Dcore="Cortex-M4"/>
    <debug Pname="CM7" svd="CMSIS/SVD/STM32H745_CM7.svd"/>
    <debug Pname="CM4" svd="CMSIS/SVD/STM32H745_CM4.svd"/>
  </device>
  <device Dname="STM32H7B0VBTx"><debug svd="CMSIS/SVD/Missing.svd"/></device>
</family>)";

const char* const kNxpDevices = R"(
<family Dfamily="LPC55S6x" Dvendor="NXP:11">
  <processor Dcore="Cortex-M33"/>
  <device Dname="LPC55S69"><debug svd="LPC55S69.svd"/>
    <variant Dvariant="LPC55S69JBD100"/>
    <variant Dvariant="LPC55S69JBD64"/>
  </device>
  <device Dname="LPC55S66"/>
</family>)";

class DeviceCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        stFolder = dir.AddPack("root", "Keil", "STM32H7xx_DFP", "4.0.1", PdscText("Keil", "STM32H7xx_DFP", {"4.0.1"}, kStDevices),
                               {{"CMSIS/SVD/STM32H743.svd", PackSvdText("STM32H743")},
                                {"CMSIS/SVD/STM32H745_CM7.svd", PackSvdText("STM32H745_CM7")},
                                {"CMSIS/SVD/STM32H745_CM4.svd", PackSvdText("STM32H745_CM4")}});
        dir.AddPack("root", "NXP", "LPC55S69_DFP", "17.0.0", PdscText("NXP", "LPC55S69_DFP", {}, kNxpDevices),
                    {{"LPC55S69.svd", PackSvdText("LPC55S69")}});
        const std::vector<PackRoot> roots = {{dir.SubFolder("root"), "user"}, {dir.Folder() + "/absent", "pyOCD"}};
        auto scan = PackIndex(dir.Folder() + "/cache").Scan(roots);
        ASSERT_TRUE(scan.Ok());
        catalog = DeviceCatalog(scan.Value());
    }

    PackRootDir dir;
    std::string stFolder;
    DeviceCatalog catalog;
};

struct Found {
    const char* typed;
    const char* device;
    const char* processor;
};

TEST_F(DeviceCatalogTest, FindsByWildcardPrefixAndProcessor) {
    const Found cases[] = {
        {"STM32H743ZITx", "STM32H743ZITx", ""},
        {"STM32H743ZIT6", "STM32H743ZITx", ""},   // the pack's lowercase x: any one character
        {"stm32h743zit6", "STM32H743ZITx", ""},   // case is ignored
        {"STM32H743ZI", "STM32H743ZITx", ""},     // a unique prefix
        {"STM32H743XIH6", "STM32H743XIHx", ""},   // the capital X as a letter, the last x as any
        {"STM32H743V", "STM32H743VITx", ""},
        {"LPC55S69", "LPC55S69", ""},             // a whole name beats the variants it prefixes
        {"LPC55S69JBD6", "LPC55S69JBD64", ""},
        {"LPC55S69JBD100", "LPC55S69JBD100", ""},
        {"STM32H745ZITx:CM4", "STM32H745ZITx", "CM4"},
        {"STM32H745ZIT3:cm7", "STM32H745ZITx", "CM7"},
    };
    for (const Found& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto found = catalog.Find(c.typed);
        ASSERT_TRUE(found.Ok()) << found.Text();
        EXPECT_EQ(found.Value().device.name, c.device);
        EXPECT_EQ(found.Value().processor.name, c.processor);
    }
}

struct Refused {
    const char* typed;
    ProblemCode code;
    std::vector<std::string> detailHolds;
};

TEST_F(DeviceCatalogTest, RefusesWithWhatTheUserNeeds) {
    const Refused cases[] = {
        {"STM32H743", ProblemCode::kSeveralDevices, {"STM32H743ZITx", "STM32H743XIHx", "STM32H743VITx"}},
        {"LPC55S69J", ProblemCode::kSeveralDevices, {"LPC55S69JBD100", "LPC55S69JBD64"}},
        {"STM32H743AIH6", ProblemCode::kNoSuchDevice, {"no installed pack describes STM32H743AIH6"}},
        {"STM32H745ZITx", ProblemCode::kSeveralProcessors, {"STM32H745ZITx:CM7", "STM32H745ZITx:CM4"}},
        {"STM32H745ZITx:CM0", ProblemCode::kNoSuchProcessor, {"CM0", "STM32H745ZITx:CM4"}},
        {"STM32H7B0VBTx", ProblemCode::kSvdMissing, {"Keil.STM32H7xx_DFP.pdsc", "STM32H7B0VBTx", "CMSIS/SVD/Missing.svd"}},
        {"STM32H743ZITxx", ProblemCode::kNoSuchDevice, {"the closest names: STM32H743ZITx, ", "absent (not there)"}},
        {"", ProblemCode::kNoSuchDevice, {"no installed pack describes"}},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto found = catalog.Find(c.typed);
        ASSERT_TRUE(found.Failed(c.code)) << (found.Ok() ? found.Value().device.name : found.Text());
        for (const std::string& part : c.detailHolds) EXPECT_NE(found.Error().detail.find(part), std::string::npos) << part;
    }
}

TEST_F(DeviceCatalogTest, TellsAtMostFiveClosestNames) {
    const auto found = catalog.Find("LPC55S00");
    ASSERT_TRUE(found.Failed(ProblemCode::kNoSuchDevice));
    const std::string& detail = found.Error().detail;
    const std::size_t start = detail.find("closest names: ") + 15;
    const std::string names = detail.substr(start, detail.find(';', start) - start);
    EXPECT_EQ(names, "LPC55S66, LPC55S69, LPC55S69JBD100, LPC55S69JBD64, STM32H745ZITx");  // by distance
}

TEST_F(DeviceCatalogTest, MatchesTextOverNameVendorFamilyAndCore) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;  // name:processor
    };
    const Case cases[] = {
        {"cortex-m4", {"STM32H745ZITx:CM4"}},
        {"nxp", {"LPC55S66:", "LPC55S69:", "LPC55S69JBD100:", "LPC55S69JBD64:"}},
        {"H7 SERIES", {"STM32H743VITx:", "STM32H743XIHx:", "STM32H743ZITx:", "STM32H745ZITx:CM7", "STM32H745ZITx:CM4", "STM32H7B0VBTx:"}},
        {"nothing like it", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> lines;
        for (const DeviceChoice& choice : catalog.Matching(c.text)) lines.push_back(choice.device.name + ":" + choice.processor.name);
        EXPECT_EQ(lines, c.lines);
    }
    EXPECT_EQ(catalog.Matching("").size(), 10u);
}

TEST_F(DeviceCatalogTest, ListsAndCaptionsAChoice) {
    const auto found = catalog.Find("STM32H745ZITx:CM7");
    ASSERT_TRUE(found.Ok());
    EXPECT_EQ(DeviceListLine(found.Value()), "STM32H745ZITx\tCM7\tSTMicroelectronics\tKeil.STM32H7xx_DFP\t4.0.1\t" +
                                                 stFolder + "/CMSIS/SVD/STM32H745_CM7.svd");
    EXPECT_EQ(found.Value().Caption(), "STM32H745ZITx:CM7 \xE2\x80\x94 Keil.STM32H7xx_DFP 4.0.1");
    const auto lpc = catalog.Find("LPC55S66");
    ASSERT_TRUE(lpc.Ok());
    EXPECT_EQ(DeviceListLine(lpc.Value()), "LPC55S66\t\tNXP\tNXP.LPC55S69_DFP\t17.0.0\t");  // the folder's version
}

TEST_F(DeviceCatalogTest, ReadsTheDevicesSvdThroughItsPack) {
    struct Case {
        const char* typed;
        ProblemCode code;  // kBadValue for none
        const char* device;
    };
    const Case cases[] = {
        {"STM32H743ZIT6", ProblemCode::kBadValue, "STM32H743"},  // named with backslashes
        {"STM32H745ZITx:CM4", ProblemCode::kBadValue, "STM32H745_CM4"},
        {"LPC55S69JBD64", ProblemCode::kBadValue, "LPC55S69"},   // a variant inherits its device's
        {"LPC55S66", ProblemCode::kNoSvdNamed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto found = catalog.Find(c.typed);
        ASSERT_TRUE(found.Ok()) << found.Text();
        const auto svd = ReadDeviceSvd(found.Value(), 1 << 20);
        if (c.code == ProblemCode::kBadValue) {
            ASSERT_TRUE(svd.Ok()) << svd.Text();
            EXPECT_EQ(svd.Value(), PackSvdText(c.device));
            EXPECT_TRUE(ReadDeviceSvd(found.Value(), 16).Failed(ProblemCode::kTooLarge));
        } else {
            EXPECT_TRUE(svd.Failed(c.code));
        }
    }
}

}  // namespace
