// SPDX-License-Identifier: MIT
// What a pdsc tells of each device: every device and variant by name, its
// vendor and family, and each processor's core and SVD file inherited from
// the nearest level that names one.
#include <gtest/gtest.h>

#include "packs/PdscReader.h"
#include "tests/PackRoot.h"

namespace {

const char* const kDevices = R"(
<family Dfamily="STM32H7 Series" Dvendor="STMicroelectronics:13">
  <processor Dcore="Cortex-M7" DcoreVersion="r1p1"/>
  <debug svd="CMSIS\SVD\STM32H7_family.svd"/>
  <subFamily DsubFamily="STM32H743">
    <debug svd="CMSIS/SVD/STM32H743.svd"/>
    <device Dname="STM32H743ZITx"/>
    <device Dname="STM32H743XIHx">
      <variant Dvariant="STM32H743XIH6"/>
      <variant Dvariant="STM32H743XIH3"><debug svd="SVD\H743_rev3.svd"/></variant>
    </device>
  </subFamily>
  <device Dname="STM32H750VBTx"/>
  <subFamily DsubFamily="STM32H745">
    <processor Pname="CM7" Dcore="Cortex-M7"/>
    <processor Pname="CM4" Dcore="Cortex-M4"/>
    <debug Pname="CM7" svd="CMSIS/SVD/STM32H745_CM7.svd"/>
    <debug Pname="CM4" svd="CMSIS/SVD/STM32H745_CM4.svd"/>
    <device Dname="STM32H745ZITx"><debug Pname="CM4" svd="Own/CM4.svd"/></device>
  </subFamily>
</family>
<family Dfamily="Bare" Dvendor="Acme:99">
  <device Dname="NOSVD1"><processor Dcore="Cortex-M0+"/></device>
</family>)";

struct Expected {
    const char* name;
    const char* family;
    const char* subFamily;
    std::vector<PackProcessor> processors;
};

TEST(PackPdscReader, InheritsCoresAndSvdsFromTheNearestLevel) {
    const auto read = ReadPdscText(PdscText("Keil", "STM32H7xx_DFP", {"3.1.0", "4.0.1", "4.0.1-dev2"}, kDevices));
    ASSERT_TRUE(read.Ok()) << read.Text();
    const PackDescription& pack = read.Value();
    EXPECT_EQ(pack.vendor, "Keil");
    EXPECT_EQ(pack.name, "STM32H7xx_DFP");
    EXPECT_EQ(pack.version, "4.0.1");
    EXPECT_EQ(pack.PackName(), "Keil.STM32H7xx_DFP");

    const Expected expected[] = {
        {"STM32H743ZITx", "STM32H7 Series", "STM32H743", {{"", "Cortex-M7", "CMSIS/SVD/STM32H743.svd"}}},
        {"STM32H743XIHx", "STM32H7 Series", "STM32H743", {{"", "Cortex-M7", "CMSIS/SVD/STM32H743.svd"}}},
        {"STM32H743XIH6", "STM32H7 Series", "STM32H743", {{"", "Cortex-M7", "CMSIS/SVD/STM32H743.svd"}}},
        {"STM32H743XIH3", "STM32H7 Series", "STM32H743", {{"", "Cortex-M7", "SVD/H743_rev3.svd"}}},
        {"STM32H750VBTx", "STM32H7 Series", "", {{"", "Cortex-M7", "CMSIS/SVD/STM32H7_family.svd"}}},
        {"STM32H745ZITx", "STM32H7 Series", "STM32H745",
         {{"CM7", "Cortex-M7", "CMSIS/SVD/STM32H745_CM7.svd"}, {"CM4", "Cortex-M4", "Own/CM4.svd"}}},
        {"NOSVD1", "Bare", "", {{"", "Cortex-M0+", ""}}},
    };
    ASSERT_EQ(pack.devices.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        const PackDevice& device = pack.devices[i];
        EXPECT_EQ(device.name, expected[i].name);
        EXPECT_EQ(device.vendor, i + 1 < std::size(expected) ? "STMicroelectronics" : "Acme");
        EXPECT_EQ(device.family, expected[i].family);
        EXPECT_EQ(device.subFamily, expected[i].subFamily);
        EXPECT_EQ(device.processors, expected[i].processors);
    }
}

TEST(PackPdscReader, RefusesWhatIsNoPackDescription) {
    struct Case {
        const char* what;
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"cut short", "<?xml version=\"1.0\"?>\n<package>\n<devices>\n<family Dfamily=\"F\"", 4},
        {"not XML at all", "\x01\x02 garbage", 1},
        {"another root", "<device><name>X</name></device>", 0},
        {"empty", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto read = ReadPdscText(c.text);
        ASSERT_TRUE(read.Failed(ProblemCode::kBadPackDescription));
        if (c.line) {
            EXPECT_EQ(read.Error().line, c.line);
        }
    }
}

TEST(PackPdscReader, APackWithoutDevicesOrReleasesIsStillRead) {
    const auto read = ReadPdscText("<package><vendor>ARM</vendor><name>CMSIS</name></package>");
    ASSERT_TRUE(read.Ok());
    EXPECT_TRUE(read.Value().devices.empty());
    EXPECT_EQ(read.Value().version, "");
}

}  // namespace
