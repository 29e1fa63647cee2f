// SPDX-License-Identifier: MIT
// A device opened in the window from the installed packs: File > Open
// device... and its chooser, the caption and Open recent naming the device,
// Settings > Pack folders..., and a cold scan cancelled. The packs, the
// settings and the index's cache are the test's own; every wait has a deadline.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/DragAndDrop.h"
#include "tests/GuiHarness.h"
#include "tests/MessageRecorder.h"
#include "tests/PackTestEnvironment.h"
#include "tests/PackRoot.h"
#include "tests/RowPath.h"
#include "tests/TempDir.h"
#include "ui/AppSettings.h"
#include "ui/DeviceChooser.h"
#include "ui/DeviceListModel.h"
#include "ui/PackFoldersDlg.h"

namespace {

constexpr int kDeadlineMs = 10000;
const std::string kDash = " \xE2\x80\x94 ";

const char* const kStart = R"(<tavlin><regset n="Start" d="s">
<register n="R0" w="8" v="0" d="r"><field n="F" k="edit" d="f" l="0" h="7"></field></register></regset></tavlin>)";

const char* const kAcmeDevices = R"(
<family Dfamily="Parts" Dvendor="Acme:1">
  <processor Dcore="Cortex-M4"/>
  <debug svd="SVD/plain.svd"/>
  <device Dname="PLAIN1"/>
  <device Dname="TWIN1">
    <processor Pname="CM7" Dcore="Cortex-M7"/>
    <processor Pname="CM4" Dcore="Cortex-M4"/>
    <debug Pname="CM7" svd="SVD/twin_cm7.svd"/>
    <debug Pname="CM4" svd="SVD/twin_cm4.svd"/>
  </device>
  <device Dname="LACKING1"><debug svd="SVD/lacking.svd"/></device>
</family>)";

const char* const kBetaDevices = R"(
<family Dfamily="Widgets" Dvendor="Beta:2">
  <processor Dcore="Cortex-M0+"/>
  <device Dname="WIDGET9"><debug svd="w9.svd"/></device>
</family>)";

// An SVD whose one peripheral is named `peripheral`, so a test can tell which file was loaded.
std::string SvdWithPeripheral(const std::string& device, const std::string& peripheral) {
    std::string text = PackSvdText(device);
    const std::string gpio = "<name>GPIO</name>";
    text.replace(text.find(gpio), gpio.size(), "<name>" + peripheral + "</name>");
    return text;
}

// Writes Acme.Parts_DFP `version` under `root`, PLAIN1's SVD naming its peripheral `plainPeripheral`.
void AddAcme(const PackRootDir& dir, const std::string& root, const std::string& version,
             const std::string& plainPeripheral = "GPIO") {
    dir.AddPack(root, "Acme", "Parts_DFP", version, PdscText("Acme", "Parts_DFP", {version}, kAcmeDevices),
                {{"SVD/plain.svd", SvdWithPeripheral("PLAIN1", plainPeripheral)},
                 {"SVD/twin_cm7.svd", SvdWithPeripheral("TWIN1", "M7SIDE")},
                 {"SVD/twin_cm4.svd", SvdWithPeripheral("TWIN1", "M4SIDE")}});
}

void AddBeta(const PackRootDir& dir, const std::string& root) {
    dir.AddPack(root, "Beta", "Widget_DFP", "0.9.0", PdscText("Beta", "Widget_DFP", {"0.9.0"}, kBetaDevices),
                {{"w9.svd", PackSvdText("WIDGET9")}});
}

std::string Caption(CRegisterDlg& dlg) { return dlg.m_hWnd->windowTitle().toStdString(); }

// Opens File > Open device... by its shortcut and waits for the chooser.
CDeviceChooser* OpenChooser(CRegisterDlg& dlg) {
    // The window is active again once a chooser before has gone, as the desktop makes it.
    dlg.m_hWnd->activateWindow();
    if (!QTest::qWaitForWindowActive(dlg.m_hWnd, kDeadlineMs)) return nullptr;
    QTest::keySequence(dlg.m_hWnd, QKeySequence(Qt::CTRL | Qt::Key_D));
    if (!QTest::qWaitFor([&] { return dlg.Devices().Chooser() && dlg.Devices().Chooser()->isVisible(); }, kDeadlineMs))
        return nullptr;
    return dlg.Devices().Chooser();
}

// The chooser's rows as "NAME" or "NAME:PROCESSOR".
std::vector<std::string> Listed(CDeviceChooser& chooser) {
    std::vector<std::string> names;
    for (int row = 0; row < chooser.Model()->rowCount(); ++row) {
        const DeviceChoice* choice = chooser.Model()->ChoiceAt(row);
        names.push_back(choice->device.name + (choice->processor.name.empty() ? "" : ":" + choice->processor.name));
    }
    return names;
}

// Types `text` into the chooser's find field in place of what it holds.
void TypeFind(CDeviceChooser& chooser, const std::string& text) {
    chooser.Find()->clear();
    QTest::keyClicks(chooser.Find(), QString::fromStdString(text));
}

// The top-level rows' labels.
std::vector<std::string> Sets(CRegisterDlg& dlg) {
    std::vector<std::string> labels;
    for (const CPropTreeItem* set = dlg.Tree().GetRootItem()->GetChild(); set; set = set->GetSibling())
        labels.push_back(set->GetLabelText());
    return labels;
}

// Chooses `text` in File > Open recent, as the menu shows it when the File menu opens.
bool ChooseRecent(CRegisterDlg& dlg, const std::string& text) {
    for (QAction* title : dlg.GetMenuBar()->actions()) {
        if (WithoutMnemonic(title->text()) != "File") continue;
        emit title->menu()->aboutToShow();
        for (QAction* action : title->menu()->actions()) {
            if (!action->menu() || WithoutMnemonic(action->text()) != "Open recent") continue;
            for (QAction* entry : action->menu()->actions())
                if (entry->text().toStdString() == text) {
                    entry->trigger();
                    return true;
                }
        }
    }
    return false;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(GuiDevice, TypingNarrowsTheDevicesByNameVendorFamilyAndCore) {
    PackRootDir dir;
    AddAcme(dir, "root", "1.2.0");
    AddBeta(dir, "root");
    const PackTestEnvironment home(dir.SubFolder("root"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        CDeviceChooser* chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        const struct {
            const char* text;
            std::vector<std::string> listed;
        } cases[] = {
            {"", {"LACKING1", "PLAIN1", "TWIN1:CM7", "TWIN1:CM4", "WIDGET9"}},
            {"plain", {"PLAIN1"}},                            // a name, any case
            {"TWIN", {"TWIN1:CM7", "TWIN1:CM4"}},             // both processors of a device
            {"beta", {"WIDGET9"}},                            // a vendor
            {"widgets", {"WIDGET9"}},                         // a family
            {"m7", {"TWIN1:CM7"}},                            // a core
            {"cortex-m4", {"LACKING1", "PLAIN1", "TWIN1:CM4"}},  // a core, inherited from the family
            {"m0+", {"WIDGET9"}},
            {"nothing", {}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            TypeFind(*chooser, c.text);
            EXPECT_EQ(Listed(*chooser), c.listed);
            EXPECT_EQ(chooser->Count()->text().toStdString(), std::to_string(c.listed.size()) + " of 5 devices");
            // The first row is in hand, ready for Enter.
            EXPECT_EQ(chooser->List()->currentIndex().row(), c.listed.empty() ? -1 : 0);
        }
        // Escape closes the chooser and opens nothing.
        QTest::keyClick(chooser->Find(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.Devices().Chooser() == nullptr; }, kDeadlineMs));
        EXPECT_EQ(Sets(dlg), std::vector<std::string>{"Start"});
    });
}

TEST(GuiDevice, EnterOpensTheDeviceInHandAndTheCaptionNamesItsPack) {
    PackRootDir dir;
    AddAcme(dir, "root", "1.2.0");
    const PackTestEnvironment home(dir.SubFolder("root"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        const struct {
            const char* text;
            int downs;  // Down pressed in the find field before Enter
            std::vector<std::string> sets;
            std::string caption;
        } cases[] = {
            {"plain", 0, {"GPIO"}, "PLAIN1" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},
            {"twin", 1, {"M4SIDE"}, "TWIN1:CM4" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},
            {"twin", 3, {"M4SIDE"}, "TWIN1:CM4" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},  // stops at the last
            {"twin", 0, {"M7SIDE"}, "TWIN1:CM7" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.downs));
            CDeviceChooser* chooser = OpenChooser(dlg);
            ASSERT_NE(chooser, nullptr);
            TypeFind(*chooser, c.text);
            for (int i = 0; i < c.downs; ++i) QTest::keyClick(chooser->Find(), Qt::Key_Down);
            QTest::keyClick(chooser->Find(), Qt::Key_Return);
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Devices().Chooser() == nullptr; }, kDeadlineMs));
            EXPECT_EQ(Sets(dlg).front(), c.sets.front());  // the core's sets follow
            EXPECT_EQ(Caption(dlg), c.caption);
        }
        // Up from the find field moves back.
        CDeviceChooser* chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        TypeFind(*chooser, "twin");
        QTest::keyClick(chooser->Find(), Qt::Key_Down);
        QTest::keyClick(chooser->Find(), Qt::Key_Up);
        ASSERT_NE(chooser->Current(), nullptr);
        EXPECT_EQ(chooser->Current()->processor.name, "CM7");
        chooser->reject();
    });
}

TEST(GuiDevice, OpenRecentReopensTheDeviceByNameAfterItsPackWasUpdated) {
    PackRootDir dir;
    AddAcme(dir, "root", "1.2.0", "OLDGPIO");
    const std::string file = dir.Write("maps/chip.svd", SvdWithPeripheral("CHIP", "FILEPERIPH"));
    const PackTestEnvironment home(dir.SubFolder("root"));
    TempDir config;
    const ConfigHome configHome(config.Path());
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        OpenMapFile(dlg, file);
        CDeviceChooser* chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        TypeFind(*chooser, "PLAIN1");
        QTest::keyClick(chooser->Find(), Qt::Key_Return);
        ASSERT_EQ(Sets(dlg).front(), "OLDGPIO");
    });
    // The pack is updated: 1.2.0 goes, 1.3.0 comes with another SVD.
    std::filesystem::remove_all(PathFromUtf8(dir.SubFolder("root")) / "Acme" / "Parts_DFP" / "1.2.0");
    AddAcme(dir, "root", "1.3.0", "NEWGPIO");
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        // The device is kept by its name, the file by its path, as before.
        const std::vector<std::string> recent = dlg.Settings().RecentMaps();
        ASSERT_EQ(recent.size(), 2u);
        EXPECT_EQ(recent[1], Utf8AbsolutePath(file));
        ASSERT_TRUE(ChooseRecent(dlg, "PLAIN1 (device)"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Sets(dlg).front() == "NEWGPIO"; }, kDeadlineMs));
        EXPECT_EQ(Caption(dlg), "PLAIN1" + kDash + "Acme.Parts_DFP 1.3.0" + kDash + "tavlin");
        ASSERT_TRUE(ChooseRecent(dlg, Utf8AbsolutePath(file)));
        EXPECT_EQ(Sets(dlg), std::vector<std::string>{"FILEPERIPH"});
        EXPECT_EQ(Caption(dlg), "chip.svd" + kDash + "tavlin");
        // Each reopened entry came first again, and once.
        EXPECT_EQ(dlg.Settings().RecentMaps(), (std::vector<std::string>{Utf8AbsolutePath(file), "device:PLAIN1"}));
    });
}

TEST(GuiDevice, AMissingSvdIsToldAndTheMapShownStays) {
    PackRootDir dir;
    AddAcme(dir, "root", "1.2.0");
    const PackTestEnvironment home(dir.SubFolder("root"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        MessageRecorder recorder;
        CDeviceChooser* chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        TypeFind(*chooser, "plain");
        QTest::keyClick(chooser->Find(), Qt::Key_Return);
        const std::string caption = Caption(dlg);
        chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        TypeFind(*chooser, "lacking");
        QTest::keyClick(chooser->Find(), Qt::Key_Return);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_NE(recorder.boxes[0].text.find("LACKING1"), std::string::npos) << recorder.boxes[0].text;
        EXPECT_NE(recorder.boxes[0].text.find("SVD/lacking.svd"), std::string::npos) << recorder.boxes[0].text;
        EXPECT_EQ(Sets(dlg).front(), "GPIO");
        EXPECT_EQ(Caption(dlg), caption);
        EXPECT_EQ(dlg.Settings().RecentMaps(), std::vector<std::string>{"device:PLAIN1"});
    });
}

TEST(GuiDevice, PackFoldersAreKeptAndSearchedFirst) {
    PackRootDir dir;
    AddAcme(dir, "mine", "2.0.0", "MINE");
    AddAcme(dir, "root", "2.0.0", "THEIRS");  // the same version in CMSIS_PACK_ROOT: the earlier root wins
    const std::string mine = dir.SubFolder("mine");
    // kept as Qt writes paths, with '/' on every system
    const QString kept = QDir::fromNativeSeparators(QString::fromStdString(mine));
    const std::string spare = dir.SubFolder("spare");
    const PackTestEnvironment home(dir.SubFolder("root"));
    TempDir config;
    const ConfigHome configHome(config.Path());
    std::vector<QString> offered;
    std::vector<std::string> answers{spare, mine};
    const auto previous = CPackFoldersDlg::SetFolderAsker([&](QWidget*, const QString& start) {
        offered.push_back(start);
        const std::string answer = answers.front();
        answers.erase(answers.begin());
        return QString::fromStdString(answer);
    });
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        const MenuCommand command = FindCommand(dlg, "Pack folders...");
        ASSERT_NE(command.action, nullptr);
        EXPECT_EQ(WithoutMnemonic(command.menu->title()), "Settings");
        command.action->trigger();
        CPackFoldersDlg* folders = dlg.Devices().FoldersDialog();
        ASSERT_NE(folders, nullptr);
        EXPECT_FALSE(folders->RemoveButton()->isEnabled());  // nothing listed
        folders->AddButton()->click();
        folders->AddButton()->click();
        folders->List()->setCurrentRow(0);
        folders->RemoveButton()->click();  // the spare one
        EXPECT_EQ(folders->Folders(), QStringList{kept});
        folders->accept();
        EXPECT_EQ(dlg.Settings().PackFolders(), QStringList{kept});
        // The user's folder comes before CMSIS_PACK_ROOT.
        CDeviceChooser* chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        TypeFind(*chooser, "plain");
        QTest::keyClick(chooser->Find(), Qt::Key_Return);
        EXPECT_EQ(Sets(dlg).front(), "MINE");
    });
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        dlg.Devices().EditPackFolders();
        CPackFoldersDlg* folders = dlg.Devices().FoldersDialog();
        ASSERT_NE(folders, nullptr);
        EXPECT_EQ(folders->Folders(), QStringList{kept});  // kept between runs
        folders->RemoveButton()->click();
        folders->reject();  // Cancel keeps the folders as they were
        EXPECT_EQ(dlg.Settings().PackFolders(), QStringList{kept});
    });
    CPackFoldersDlg::SetFolderAsker(previous);
    EXPECT_EQ(offered.size(), 2u);
}

TEST(GuiDevice, ACancelledScanLeavesTheIndexAndTheMapAsTheyWere) {
    PackRootDir dir;
    AddAcme(dir, "root", "1.2.0");
    const PackTestEnvironment home(dir.SubFolder("root"));
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        MessageRecorder recorder;
        CDeviceChooser* chooser = OpenChooser(dlg);  // a first scan writes the index
        ASSERT_NE(chooser, nullptr);
        chooser->reject();
        std::string index;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(PathFromUtf8(home.CacheFolder())))
            if (entry.is_regular_file()) index = Utf8FromPath(entry.path());
        ASSERT_FALSE(index.empty());
        const std::string indexBefore = FileBytes(index);

        AddBeta(dir, "root");
        // The scan is held back until the user cancels it, then runs with the cancel raised.
        const CDeviceScan::Scan real = dlg.Devices().InstalledScan();
        dlg.Devices().SetScan([real](const PackScanProgress& progress, const std::atomic<bool>* cancel) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
            while (!*cancel && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return real(progress, cancel);
        });
        dlg.Devices().OpenDeviceAction()->trigger();
        ASSERT_TRUE(dlg.Devices().Scan()->IsRunning());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dlg.Devices().Scan()->Progress() && dlg.Devices().Scan()->Progress()->isVisible(); },
            kDeadlineMs));
        QProgressDialog* progress = dlg.Devices().Scan()->Progress();
        QAbstractButton* cancel = progress->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        cancel->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.Devices().Scan()->IsRunning(); }, kDeadlineMs));
        EXPECT_EQ(dlg.Devices().Chooser(), nullptr);
        EXPECT_TRUE(recorder.boxes.empty());
        EXPECT_EQ(FileBytes(index), indexBefore);
        EXPECT_EQ(Sets(dlg), std::vector<std::string>{"Start"});

        // The next scan, not held, finds the new pack.
        dlg.Devices().SetScan({});
        chooser = OpenChooser(dlg);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->Model()->DeviceCount(), 5);
        chooser->reject();
    });
}

}  // namespace

namespace {

TEST(GuiDevice, APackOpenedOrDroppedShowsTheChooserOverItsOwnDevices) {
    PackRootDir dir;
    AddBeta(dir, "root");  // installed, and not the pack's: never listed
    const PackTestEnvironment home(dir.SubFolder("root"));
    const std::string pack =
        dir.AddPackArchive("files/Acme.Parts_DFP.1.2.0.pack", "Acme.Parts_DFP.pdsc",
                           PdscText("Acme", "Parts_DFP", {"1.2.0"}, kAcmeDevices),
                           {{"SVD/plain.svd", SvdWithPeripheral("PLAIN1", "GPIO")},
                            {"SVD/twin_cm7.svd", SvdWithPeripheral("TWIN1", "M7SIDE")},
                            {"SVD/twin_cm4.svd", SvdWithPeripheral("TWIN1", "M4SIDE")}});
    RunMainDialog(kStart, [&](CRegisterDlg& dlg) {
        const struct {
            bool dropped;  // dropped on the tree (with a map shown: not taken as values), or opened
            const char* find;
            std::string set;
            std::string caption;
        } cases[] = {
            {false, "plain", "GPIO", "PLAIN1" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},
            {true, "twin1", "M7SIDE", "TWIN1:CM7" + kDash + "Acme.Parts_DFP 1.2.0" + kDash + "tavlin"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.find);
            if (c.dropped)
                EXPECT_TRUE(DragAndDrop(TreeWindow(dlg)->View()->viewport(),
                                        *Files({QUrl::fromLocalFile(QString::fromStdString(pack))})));
            else
                dlg.OpenFile(pack.c_str());
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Devices().Chooser() && dlg.Devices().Chooser()->isVisible(); },
                                        kDeadlineMs));
            CDeviceChooser& chooser = *dlg.Devices().Chooser();
            EXPECT_EQ(Listed(chooser), (std::vector<std::string>{"LACKING1", "PLAIN1", "TWIN1:CM7", "TWIN1:CM4"}));
            TypeFind(chooser, c.find);
            QTest::keyClick(chooser.Find(), Qt::Key_Return);
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Devices().Chooser() == nullptr; }, kDeadlineMs));
            EXPECT_EQ(Sets(dlg).front(), c.set);
            EXPECT_EQ(Caption(dlg), c.caption);
        }
    });
}

}  // namespace
