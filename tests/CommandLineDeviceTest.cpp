// SPDX-License-Identifier: MIT
// --device NAME[:PROCESSOR] in place of MAP in every mode, and
// --list-devices, over pack roots the tests write: through $CMSIS_PACK_ROOT
// and the settings' pack folders, with HOME and the cache in folders of the
// test's own so the machine's packs never come in.
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "tests/CommandLineRun.h"
#include "tests/GuiHarness.h"
#include "tests/PackRoot.h"
#include "tests/PackTestEnvironment.h"
#include "ui/AppSettings.h"
#include "ui/RegisterDlg.h"

namespace {

const char* const kDevices = R"(
<family Dfamily="STM32H7 Series" Dvendor="STMicroelectronics:13">
  <processor Dcore="Cortex-M7"/>
  <debug svd="SVD\STM32H743.svd"/>
  <device Dname="STM32H743ZITx"/>
  <device Dname="STM32H743VITx"/>
  <device Dname="STM32H745ZITx">
    <processor Pname="CM7" Dcore="Cortex-M7"/>
    <processor Pname="CM4" Dcore="Cortex-M4"/>
    <debug Pname="CM7" svd="SVD/STM32H745_CM7.svd"/>
    <debug Pname="CM4" svd="SVD/STM32H745_CM4.svd"/>
  </device>
  <device Dname="STM32H7B0VBTx"><debug svd="SVD/Missing.svd"/></device>
</family>)";

const char* const kOtherDevices = R"(
<family Dfamily="LPC55S6x" Dvendor="NXP:11"><processor Dcore="Cortex-M33"/>
  <device Dname="LPC55S69"><debug svd="LPC55S69.svd"/></device>
</family>)";

class CommandLineDeviceTest : public ::testing::Test {
protected:
    CommandLineDeviceTest() : environment(dir.SubFolder("env")) {
        packFolder = dir.AddPack("env", "Keil", "STM32H7xx_DFP", "4.0.1",
                                 PdscText("Keil", "STM32H7xx_DFP", {"4.0.1"}, kDevices),
                                 {{"SVD/STM32H743.svd", PackSvdText("STM32H743")},
                                  {"SVD/STM32H745_CM7.svd", PackSvdText("STM32H745_CM7")},
                                  {"SVD/STM32H745_CM4.svd", PackSvdText("STM32H745_CM4")}});
    }

    PackRootDir dir;
    PackTestEnvironment environment;
    std::string packFolder;
};

// The start of the summary line --check prints for the device's SVD, named by its pack.
std::string Summary(const std::string& svd) { return "Keil.STM32H7xx_DFP 4.0.1: " + svd + ": "; }

TEST_F(CommandLineDeviceTest, CheckAndDumpFindTheDeviceByWildcardPrefixAndProcessor) {
    const struct {
        std::vector<std::string> args;
        std::string svd;
    } cases[] = {
        {{"--check", "--device", "STM32H743ZITx"}, "SVD/STM32H743.svd"},
        {{"--check", "--device", "stm32h743zit6"}, "SVD/STM32H743.svd"},  // x for any one character, any case
        {{"--device", "STM32H743V", "--check"}, "SVD/STM32H743.svd"},     // a unique prefix
        {{"--check", "--device", "STM32H745ZITx:CM4"}, "SVD/STM32H745_CM4.svd"},
        {{"--check", "--device", "STM32H745ZIT6:cm7"}, "SVD/STM32H745_CM7.svd"},
        {{"--dump", "--device", "STM32H743ZITx"}, "SVD/STM32H743.svd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[c.args.size() - 1]);
        const Outcome run = RunTavlin(c.args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out.rfind(Summary(c.svd), 0), 0u) << run.out.substr(0, 200);
        // --dump goes on with the tree; --check stops at the summary line.
        EXPECT_EQ(run.out.find("register ODR") != std::string::npos, c.args.front() == "--dump") << run.out;
    }
}

TEST_F(CommandLineDeviceTest, TheProcessorsCoreAddsItsRegistersAndCoreStillNamesAnother) {
    const struct {
        std::vector<std::string> args;
        const char* core;
    } cases[] = {
        {{"--dump", "--device", "STM32H745ZITx:CM4"}, "added by tavlin for the Cortex-M4"},
        {{"--dump", "--device", "STM32H745ZITx:CM7"}, "added by tavlin for the Cortex-M7"},
        {{"--dump", "--device", "STM32H743ZITx", "--core", "CM33"}, "added by tavlin for the Cortex-M33"},
    };
    for (const auto& c : cases) {
        const Outcome run = RunTavlin(c.args);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find(c.core), std::string::npos) << c.core;
    }
}

TEST_F(CommandLineDeviceTest, ANameThatOpensNoDeviceIsToldWithWhatTheUserNeeds) {
    const struct {
        std::vector<std::string> args;
        int code;
        std::vector<std::string> errHolds;
    } cases[] = {
        {{"--check", "--device", "STM32H74"}, 2, {"tavlin: STM32H74 names several devices: ", "STM32H743ZITx", "STM32H745ZITx"}},
        {{"--check", "--device", "STM32H745ZITx"}, 2,
         {"tavlin: STM32H745ZITx has several processors; name one: STM32H745ZITx:CM7, STM32H745ZITx:CM4"}},
        {{"--check", "--device", "STM32F407VG"}, 1,
         {"tavlin: no installed pack describes STM32F407VG", "the closest names: ", "the folders searched: ",
          "env"}},
        {{"--check", "--device", "STM32H745ZITx:CM0"}, 1, {"STM32H745ZITx has no processor CM0"}},
        {{"--check", "--device", "STM32H7B0VBTx"}, 1,
         {"Keil.STM32H7xx_DFP.pdsc", "STM32H7B0VBTx", "SVD/Missing.svd"}},
        {{"--dump", "--device", "STM32H74"}, 2, {"names several devices"}},
        {{"--decode", "--device", "STM32F407VG", "v.txt"}, 1, {"no installed pack describes STM32F407VG"}},
        {{"--gdb", "127.0.0.1:1", "--read", "--device", "STM32H74", "GPIO"}, 2, {"names several devices"}},
        {{"--device", "STM32F407VG"}, 1, {"no installed pack describes STM32F407VG"}},  // the window's start
        {{"--device", "STM32H74"}, 2, {"names several devices"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[c.args.size() - 1] + " " + c.args.front());
        const Outcome run = RunTavlin(c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(run.out, "");
        for (const std::string& part : c.errHolds) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
    }
}

TEST_F(CommandLineDeviceTest, AMapAndADeviceGoOneAtATime) {
    const std::vector<std::string> cases[] = {
        {"--check", "chip.svd", "--device", "STM32H743ZITx"},
        {"--dump", "--device", "STM32H743ZITx", "chip.svd"},
        {"--gdb", "127.0.0.1:1", "--fault", "chip.svd", "--device", "STM32H743ZITx"},
        {"chip.svd", "--device", "STM32H743ZITx"},
    };
    for (const auto& args : cases) {
        const Outcome run = RunTavlin(args);
        EXPECT_EQ(run.code, 2) << args.front();
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "tavlin: a MAP and --device go one at a time") << args.front();
    }
    std::ostringstream err;
    WindowArguments window;
    EXPECT_EQ(ParseWindowArguments({"tavlin", "chip.svd", "--device", "STM32H743ZITx"}, window, err), 2);
}

TEST_F(CommandLineDeviceTest, DecodeTakesEveryWordAsValuesWithADevice) {
    const std::string values = dir.Write("values.txt", "0x40000000 0x5\n");
    const Outcome listed = RunTavlin({"--decode", "--device", "STM32H743ZITx", values});
    EXPECT_EQ(listed.code, 0) << listed.err;
    EXPECT_NE(listed.out.find("GPIO.ODR @0x40000000 = 0x00000005"), std::string::npos) << listed.out;
    const Outcome asC = RunTavlin({"--decode", "--device", "STM32H743ZITx", values, "--as", "c"});
    EXPECT_EQ(asC.code, 0) << asC.err;
    EXPECT_NE(asC.out.find("GPIO->ODR = 0x5UL;"), std::string::npos) << asC.out;
    const Outcome none = RunTavlin({"--decode", "--device", "STM32H743ZITx"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.err, "tavlin: --decode --device needs at least one values file\n");
}

TEST_F(CommandLineDeviceTest, TheChipModesLoadTheDeviceBeforeTheyConnect) {
    // Nothing listens on port 1: the map is loaded, then the connection is refused.
    const std::vector<std::string> cases[] = {
        {"--gdb", "127.0.0.1:1", "--read", "--device", "STM32H743ZITx", "GPIO.ODR"},
        {"--gdb", "127.0.0.1:1", "--write", "--device", "STM32H743ZITx", "GPIO.ODR=1"},
        {"--gdb", "127.0.0.1:1", "--fault", "--device", "STM32H743ZITx"},
    };
    for (const auto& args : cases) {
        const Outcome run = RunTavlin(args);
        EXPECT_EQ(run.code, 1) << args[2];
        EXPECT_EQ(run.err.find("STM32H743"), std::string::npos) << run.err;  // no word about the map
        EXPECT_NE(run.err.find("127.0.0.1:1"), std::string::npos) << run.err;
    }
    const Outcome noName = RunTavlin({"--gdb", "127.0.0.1:1", "--read", "--device", "STM32H743ZITx"});
    EXPECT_EQ(noName.code, 2);
    EXPECT_EQ(noName.err, "tavlin: --read needs a NAME\n");
}

TEST_F(CommandLineDeviceTest, TheWindowIsStartedWithTheDevice) {
    EXPECT_EQ(RunTavlin({"--device", "STM32H743ZITx"}).code, std::nullopt);
    std::ostringstream err;
    WindowArguments window;
    ASSERT_EQ(ParseWindowArguments({"tavlin", "--device", "STM32H745ZITx:CM4", "--core", "CM4"}, window, err),
              std::nullopt)
        << err.str();
    ASSERT_TRUE(window.device.has_value());
    EXPECT_EQ(window.device->device.name, "STM32H745ZITx");
    EXPECT_EQ(window.device->processor.name, "CM4");
    EXPECT_NE(window.core, nullptr);
    EXPECT_EQ(window.file, "");
}

TEST_F(CommandLineDeviceTest, TheWindowStartedWithADeviceOpensItsMap) {
    const TempDir config;  // what the desktop start keeps, in a folder of this test's own
    const ConfigHome home(config.Path());
    const GuiRun run = StartMainWindow({"tavlin", "--desktop", "--device", "STM32H745ZIT6:CM4"}, [&](CRegisterDlg& dlg) {
        EXPECT_FALSE(dlg.IsMapEmpty());
        const std::string caption = dlg.m_hWnd->windowTitle().toStdString();
        EXPECT_NE(caption.find("STM32H745ZITx:CM4"), std::string::npos) << caption;
        EXPECT_NE(caption.find("Keil.STM32H7xx_DFP 4.0.1"), std::string::npos) << caption;
    });
    EXPECT_EQ(run.events, std::vector<std::string>{"main"});
    const GuiRun refused = StartMainWindow({"tavlin", "--device", "STM32H74"}, [](CRegisterDlg&) {});
    EXPECT_EQ(refused.result, 2);
}

TEST_F(CommandLineDeviceTest, ListDevicesPrintsALineForEachDeviceAndProcessorMatching) {
    const std::string svd743 = packFolder + "/SVD/STM32H743.svd";
    const std::string line743 = "STM32H743ZITx\t\tSTMicroelectronics\tKeil.STM32H7xx_DFP\t4.0.1\t" + svd743 + "\n";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> names;  // each line's first column
    } cases[] = {
        {{"--list-devices"}, {"STM32H743VITx", "STM32H743ZITx", "STM32H745ZITx", "STM32H745ZITx", "STM32H7B0VBTx"}},
        {{"--list-devices", "h743z"}, {"STM32H743ZITx"}},
        {{"--list-devices", "Cortex-M4"}, {"STM32H745ZITx"}},  // the core
        {{"--list-devices", "nxp"}, {}},                         // none match: nothing, and success
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Outcome run = RunTavlin(c.args);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
        std::vector<std::string> names;
        for (std::size_t at = 0; at < run.out.size(); at = run.out.find('\n', at) + 1)
            names.push_back(run.out.substr(at, run.out.find('\t', at) - at));
        EXPECT_EQ(names, c.names) << run.out;
    }
    EXPECT_NE(RunTavlin({"--list-devices", "STM32H743ZITx"}).out.find(line743), std::string::npos);
    const Outcome two = RunTavlin({"--list-devices", "a", "b"});
    EXPECT_EQ(two.code, 2);
    EXPECT_EQ(two.err.substr(0, two.err.find('\n')), "tavlin: --list-devices takes at most one TEXT");
}

TEST_F(CommandLineDeviceTest, TheSettingsPackFoldersAreSearchedToo) {
    dir.AddPack("mine", "NXP", "LPC55S69_DFP", "17.0.0", PdscText("NXP", "LPC55S69_DFP", {"17.0.0"}, kOtherDevices),
                {{"LPC55S69.svd", PackSvdText("LPC55S69")}});
    CAppSettings settings;
    settings.SetPackFolders({QString::fromStdString(dir.SubFolder("mine"))});
    const Outcome run = RunTavlin({"--check", "--device", "lpc55s69"});
    settings.SetPackFolders({});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.rfind("NXP.LPC55S69_DFP 17.0.0: LPC55S69.svd: ", 0), 0u) << run.out;
}

}  // namespace

namespace {

// A .pack file of its own, outside every pack folder: two devices, or one.
class PackFileMapTest : public CommandLineDeviceTest {
protected:
    PackFileMapTest() {
        twoDevices = dir.AddPackArchive("files/Keil.STM32H7xx_DFP.4.0.1.pack", "Keil.STM32H7xx_DFP.pdsc",
                                        PdscText("Keil", "STM32H7xx_DFP", {"4.0.1"}, kDevices),
                                        {{"SVD/STM32H743.svd", PackSvdText("STM32H743")},
                                         {"SVD/STM32H745_CM7.svd", PackSvdText("STM32H745_CM7")},
                                         {"SVD/STM32H745_CM4.svd", PackSvdText("STM32H745_CM4")}});
        oneDevice = dir.AddPackArchive("files/NXP.LPC55S69_DFP.17.0.0.pack", "NXP.LPC55S69_DFP.pdsc",
                                       PdscText("NXP", "LPC55S69_DFP", {"17.0.0"}, kOtherDevices),
                                       {{"LPC55S69.svd", PackSvdText("LPC55S69")}});
        notAZip = dir.Write("files/broken.pack", "PK\x03\x04 no more of a zip than this");
        loosePdsc = dir.AddPack("loose", "Keil", "STM32H7xx_DFP", "4.0.1",
                                PdscText("Keil", "STM32H7xx_DFP", {"4.0.1"}, kDevices),
                                {{"SVD/STM32H743.svd", PackSvdText("STM32H743")}}) +
                    "/Keil.STM32H7xx_DFP.pdsc";
    }

    std::string twoDevices, oneDevice, notAZip, loosePdsc;
};

TEST_F(PackFileMapTest, APackNamedAsTheMapIsChosenInWithDevice) {
    const struct {
        std::vector<std::string> args;  // the pack's path goes in for "PACK", "ONE", "BROKEN" or "PDSC"
        int code;
        std::string out;  // the start of standard output
        std::string err;  // a part of standard error
    } cases[] = {
        {{"--check", "PACK", "--device", "STM32H745ZITx:CM4"}, 0, "Keil.STM32H7xx_DFP 4.0.1: SVD/STM32H745_CM4.svd: ", ""},
        {{"--check", "ONE"}, 0, "NXP.LPC55S69_DFP 17.0.0: LPC55S69.svd: ", ""},  // a pack of one device needs no name
        {{"--check", "PACK"}, 2, "", "describes several devices; name one with --device: STM32H743VITx, STM32H743ZITx, "},
        {{"--check", "PACK", "--device", "STM32H745ZITx"}, 2, "", "STM32H745ZITx has several processors"},
        {{"--check", "PACK", "--device", "LPC55S69"}, 1, "", "LPC55S69"},  // the installed packs are not asked
        {{"--check", "PACK", "--device", "STM32H7B0VBTx"}, 1, "", "SVD/Missing.svd"},
        {{"--check", "BROKEN", "--device", "X"}, 1, "", "broken.pack"},
        {{"--check", "PDSC", "--device", "STM32H743ZI"}, 0, "Keil.STM32H7xx_DFP 4.0.1: SVD/STM32H743.svd: ", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& word : args)
            word = word == "PACK" ? twoDevices : word == "ONE" ? oneDevice : word == "BROKEN" ? notAZip : word == "PDSC" ? loosePdsc : word;
        SCOPED_TRACE(c.args[1] + (c.args.size() > 2 ? " " + c.args.back() : ""));
        const Outcome run = RunTavlin(args);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << run.out.substr(0, 200);
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

TEST_F(PackFileMapTest, TheWindowTakesAPacksDeviceOrLeavesThePackToTheChooser) {
    std::ostringstream err;
    WindowArguments window;
    ASSERT_EQ(ParseWindowArguments({"tavlin", twoDevices, "--device", "STM32H743Z"}, window, err), std::nullopt)
        << err.str();
    ASSERT_TRUE(window.device.has_value());
    EXPECT_EQ(window.device->device.name, "STM32H743ZITx");
    // Without --device the window opens the pack itself, on the chooser of its devices.
    WindowArguments chooser;
    ASSERT_EQ(ParseWindowArguments({"tavlin", twoDevices}, chooser, err), std::nullopt) << err.str();
    EXPECT_FALSE(chooser.device.has_value());
    EXPECT_EQ(chooser.file, twoDevices);
}

}  // namespace
