// SPDX-License-Identifier: MIT
// .pack files in a root and its .Download folder: read in place, competing
// with unpacked versions of their pack, their SVDs read out of the archive,
// and hostile archives a problem of the scan that leaves the other packs listed.
#include <gtest/gtest.h>

#include <algorithm>

#include "defs/CoreInfo.h"
#include "defs/RegisterMap.h"
#include "packs/ArchivePackFiles.h"
#include "packs/DeviceCatalog.h"
#include "packs/DeviceMap.h"
#include "packs/PackIndex.h"
#include "tests/PackRoot.h"

namespace {

// One device DEV_<name> whose SVD is `svd` (written with backslashes, as some vendors do).
std::string Pdsc(const std::string& name, const std::string& svd = "SVD\\chip.svd") {
    return PdscText("Acme", name, {"1.0.0"},
                    "<family Dfamily=\"F\" Dvendor=\"Acme:1\"><processor Dcore=\"Cortex-M4\"/><device Dname=\"DEV_" +
                        name + "\"><debug svd=\"" + svd + "\"/></device></family>");
}

std::vector<PackFile> Svd(const std::string& name) { return {{"SVD/chip.svd", PackSvdText(name)}}; }

class PackArchiveTest : public ::testing::Test {
protected:
    // A root whose name is not ASCII, as a user's folder may be.
    void SetUp() override { root = dir.SubFolder("packs-\xC3\x85\xC3\xA4\xC3\xB6"); }

    std::string Archive(const std::string& where, const std::string& name, const std::string& version,
                        const std::string& pdsc, const std::vector<PackFile>& files) const {
        return dir.AddPackArchive(where + "Acme." + name + "." + version + ".pack", "Acme." + name + ".pdsc", pdsc, files);
    }

    PackIndexScan Scan() const {
        auto scan = PackIndex(dir.Folder() + "/cache").Scan({{root, "user"}});
        EXPECT_TRUE(scan.Ok());
        return scan.Ok() ? scan.Value() : PackIndexScan{};
    }

    PackRootDir dir;
    std::string root;
    const std::string top = "packs-\xC3\x85\xC3\xA4\xC3\xB6/";
    const std::string download = "packs-\xC3\x85\xC3\xA4\xC3\xB6/.Download/";
};

TEST_F(PackArchiveTest, ArchivesCompeteWithUnpackedVersions) {
    dir.AddPack(top, "Acme", "A_DFP", "1.0.0", Pdsc("A_DFP"), Svd("A_unpacked"));
    Archive(top, "A_DFP", "1.1.0", Pdsc("A_DFP"), Svd("A_archive"));  // higher: the archive wins
    dir.AddPack(top, "Acme", "B_DFP", "2.0.0", Pdsc("B_DFP"), Svd("B_unpacked"));
    Archive(download, "B_DFP", "2.0.0", Pdsc("B_DFP"), Svd("B_archive"));  // equal: the unpacked one wins
    Archive(top, "C_DFP", "1.0.0", Pdsc("C_DFP"), Svd("C_old"));
    Archive(download, "C_DFP", "1.1.0-rc1", Pdsc("C_DFP"), Svd("C_rc"));
    Archive(download, "C_DFP", "1.1.0", Pdsc("C_DFP"), Svd("C_release"));  // a pre-release below its release
    Archive(download, "D_DFP", "3.0.0", Pdsc("D_DFP"), Svd("D_download"));  // only in .Download
    dir.Write(top + "README.pack", "not named VENDOR.NAME.VERSION.pack: passed over");

    const PackIndexScan scan = Scan();
    EXPECT_TRUE(scan.problems.empty()) << scan.problems.front().Describe();
    ASSERT_EQ(scan.roots.size(), 1u);
    EXPECT_EQ(scan.roots[0].packs, 8);
    EXPECT_EQ(scan.roots[0].archives, 6);
    const DeviceCatalog catalog(scan);
    struct Case {
        const char* device;
        const char* version;
        bool archive;
        const char* svdName;
    };
    const Case cases[] = {
        {"DEV_A_DFP", "1.1.0", true, "A_archive"},
        {"DEV_B_DFP", "2.0.0", false, "B_unpacked"},
        {"DEV_C_DFP", "1.1.0", true, "C_release"},
        {"DEV_D_DFP", "3.0.0", true, "D_download"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        const auto found = catalog.Find(c.device);
        ASSERT_TRUE(found.Ok()) << found.Text();
        EXPECT_EQ(found.Value().pack.version.Text(), c.version);
        EXPECT_EQ(!found.Value().pack.archive.empty(), c.archive);
        const auto svd = ReadDeviceSvd(found.Value(), 1 << 20);
        ASSERT_TRUE(svd.Ok()) << svd.Text();
        EXPECT_EQ(svd.Value(), PackSvdText(c.svdName));
    }
}

TEST_F(PackArchiveTest, DeviceMapLoadsFromTheArchiveWithItsCore) {
    Archive(top, "A_DFP", "1.0.0", Pdsc("A_DFP"), Svd("A"));
    const DeviceCatalog catalog(Scan());
    const auto found = catalog.Find("dev_a");
    ASSERT_TRUE(found.Ok()) << found.Text();
    CRegisterMap map;
    const LoadReport report = LoadDeviceMap(map, found.Value());
    EXPECT_TRUE(report.opened) << (report.Ok() ? "" : report.problems.Front().Describe());
    EXPECT_GE(report.registers, 1);
    ASSERT_NE(map.Core(), nullptr);  // the processor's Dcore, the SVD naming none
    EXPECT_EQ(std::string(map.Core()->title), "Cortex-M4");
    EXPECT_NE(DeviceListLine(found.Value()).find("Acme.A_DFP.1.0.0.pack/SVD/chip.svd"), std::string::npos);
}

TEST_F(PackArchiveTest, TheIndexRereadsOnlyAnArchiveThatChanged) {
    Archive(top, "A_DFP", "1.0.0", Pdsc("A_DFP"), Svd("A"));
    Archive(top, "B_DFP", "1.0.0", Pdsc("B_DFP"), Svd("B"));
    const PackIndexScan first = Scan();
    EXPECT_EQ(first.reread, 2u);
    Archive(top, "B_DFP", "1.0.0", Pdsc("B_DFP"), Svd("B, remade with another size"));
    const PackIndexScan second = Scan();
    EXPECT_EQ(second.reused, 1u);
    EXPECT_EQ(second.reread, 1u);
    EXPECT_EQ(DeviceCatalog(second).DeviceCount(), 2u);
}

// An archive in the root that is not a pack it can read: one problem naming it, the others listed.
struct Hostile {
    const char* label;
    std::string bytes;
    const char* detailHolds;
};

std::string ZipOf(const std::string& pdscName, const std::string& pdsc, const ZipEntryLies& lies = {},
                  const ZipDirectoryLies& directoryLies = {}) {
    ZipWriter zip;
    zip.Add(pdscName, pdsc, true, lies);
    return zip.Finish(directoryLies);
}

TEST_F(PackArchiveTest, AHostileArchiveIsAProblemOfTheScan) {
    const std::string pdsc = Pdsc("H_DFP");
    ZipEntryLies encrypted;
    encrypted.encrypted = true;
    ZipEntryLies bomb;
    bomb.size = 0xF0000000u;  // a few hundred bytes said to be nearly 4 GB
    ZipDirectoryLies cut;
    cut.cutDirectory = 20;
    ZipWriter two;
    two.Add("one/a.pdsc", pdsc).Add("two/b.pdsc", pdsc);
    const Hostile cases[] = {
        {"not a zip", "PK\x03\x04 but nothing more", "not a zip archive"},
        {"central directory cut short", ZipOf("Acme.H_DFP.pdsc", pdsc, {}, cut), ""},
        {"pdsc encrypted", ZipOf("Acme.H_DFP.pdsc", pdsc, encrypted), "encrypted"},
        {"pdsc a thousandfold", ZipOf("Acme.H_DFP.pdsc", pdsc, bomb), ""},
        {"pdsc climbing out", ZipOf("../Acme.H_DFP.pdsc", pdsc), ""},
        {"no pdsc", ZipOf("readme.txt", "hello"), "holds no .pdsc"},
        {"two pdscs, none at the top", two.Finish(), "several .pdsc"},
        {"pdsc not XML", ZipOf("Acme.H_DFP.pdsc", "<package><vendor>"), "not well-formed"},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.label);
        PackRootDir own;
        root = own.SubFolder("root");
        own.AddPack("root", "Acme", "A_DFP", "1.0.0", Pdsc("A_DFP"), Svd("A"));
        const std::string hostile = own.Write("root/Acme.H_DFP.1.0.0.pack", c.bytes);
        own.AddPackArchive("root/.Download/Acme.G_DFP.1.0.0.pack", "Acme.G_DFP.pdsc", Pdsc("G_DFP"), Svd("G"));

        auto scan = PackIndex(own.Folder() + "/cache").Scan({{root, "user"}});
        ASSERT_TRUE(scan.Ok());
        ASSERT_EQ(scan.Value().problems.size(), 1u);
        const Problem& problem = scan.Value().problems.front();
        EXPECT_EQ(problem.path, hostile);
        EXPECT_NE(problem.detail.find(c.detailHolds), std::string::npos) << problem.detail;
        const DeviceCatalog catalog(scan.Value());
        EXPECT_EQ(catalog.DeviceCount(), 2u);
        EXPECT_TRUE(catalog.Find("DEV_A_DFP").Ok());
        EXPECT_TRUE(catalog.Find("DEV_G_DFP").Ok());
    }
}

struct SvdRead {
    const char* label;
    std::string svdPath;      // as the pdsc names it
    std::vector<PackFile> files;
    ZipEntryLies lies;        // for the SVD entry
    ProblemCode code;         // kBadValue: read
};

TEST_F(PackArchiveTest, TheSvdIsReadOutOfTheArchiveOrRefused) {
    ZipEntryLies encrypted;
    encrypted.encrypted = true;
    ZipEntryLies badCrc;
    badCrc.crc = 0x12345678u;
    const SvdRead cases[] = {
        {"backslashes", "SVD\\chip.svd", Svd("S"), {}, ProblemCode::kBadValue},
        {"another case", "svd/CHIP.svd", Svd("S"), {}, ProblemCode::kBadValue},
        {"dot parts", "./SVD/./chip.svd", Svd("S"), {}, ProblemCode::kBadValue},
        {"missing", "SVD/other.svd", Svd("S"), {}, ProblemCode::kSvdMissing},
        {"climbing out", "../chip.svd", Svd("S"), {}, ProblemCode::kSvdMissing},
        {"encrypted", "SVD/chip.svd", Svd("S"), encrypted, ProblemCode::kUnsupportedArchiveEntry},
        {"damaged", "SVD/chip.svd", Svd("S"), badCrc, ProblemCode::kBadArchive},
        {"too large", "SVD/chip.svd", {{"SVD/chip.svd", std::string(4096, ' ') + PackSvdText("S")}}, {},
         ProblemCode::kTooLarge},
    };
    for (const SvdRead& c : cases) {
        SCOPED_TRACE(c.label);
        ZipWriter zip;
        zip.Add("Acme.S_DFP.pdsc", Pdsc("S_DFP", c.svdPath));
        for (const PackFile& file : c.files) zip.Add(file.name, file.bytes, true, c.lies);
        PackRootDir own;
        root = own.SubFolder("root");
        own.Write("root/Acme.S_DFP.1.0.0.pack", zip.Finish());
        auto scan = PackIndex(own.Folder() + "/cache").Scan({{root, "user"}});
        ASSERT_TRUE(scan.Ok());
        const DeviceCatalog catalog(scan.Value());
        const auto found = catalog.Find("DEV_S_DFP");
        if (c.code == ProblemCode::kSvdMissing) {
            EXPECT_TRUE(found.Failed(ProblemCode::kSvdMissing)) << found.Text();
            continue;
        }
        ASSERT_TRUE(found.Ok()) << found.Text();
        const auto svd = ReadDeviceSvd(found.Value(), 2048);
        if (c.code == ProblemCode::kBadValue) {
            ASSERT_TRUE(svd.Ok()) << svd.Text();
            EXPECT_EQ(svd.Value(), PackSvdText("S"));
        } else {
            EXPECT_TRUE(svd.Failed(c.code)) << svd.Text();
        }
    }
}

TEST(ArchivePackFiles, ThePackTopIsThePdscsFolder) {
    struct Case {
        const char* label;
        std::vector<std::string> entries;
        const char* expected;
        const char* pdsc;  // "" when refused
        const char* top;
    };
    const Case cases[] = {
        {"at the top", {"Acme.P.pdsc", "SVD/chip.svd"}, "", "Acme.P.pdsc", ""},
        {"top beats deeper", {"Examples/x.pdsc", "Acme.P.pdsc", "SVD/chip.svd"}, "", "Acme.P.pdsc", ""},
        {"the only one, in a folder", {"Acme.P.1.0.0/Acme.P.pdsc", "Acme.P.1.0.0/SVD/chip.svd"}, "", "Acme.P.pdsc",
         "Acme.P.1.0.0/"},
        {"several at the top: the expected", {"Other.pdsc", "Acme.P.pdsc", "SVD/chip.svd"}, "acme.p.pdsc", "Acme.P.pdsc",
         ""},
        {"several at the top, none expected", {"Other.pdsc", "Acme.P.pdsc"}, "", "", ""},
        {"no name before .pdsc", {"Acme.P/.pdsc", "SVD/chip.svd"}, "", "", ""},
        {"only one, climbing out", {"../Acme.P.pdsc", "SVD/chip.svd"}, "", "", ""},
        {"only one, named as a drive", {"Acme/C:P.pdsc", "SVD/chip.svd"}, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ZipWriter zip;
        for (const std::string& entry : c.entries) zip.Add(entry, "bytes of " + entry);
        auto archive = CZipArchive::FromMemory(zip.Finish());
        ASSERT_TRUE(archive.Ok());
        auto files = ArchivePackFiles::Over(std::move(archive.Value()), "x.pack", c.expected);
        if (!*c.pdsc) {
            EXPECT_TRUE(files.Failed(ProblemCode::kBadPackDescription));
            continue;
        }
        ASSERT_TRUE(files.Ok()) << files.Text();
        EXPECT_EQ(files.Value()->PdscName(), c.pdsc);
        const auto svd = files.Value()->Read("SVD/chip.svd", 100);
        if (std::find(c.entries.begin(), c.entries.end(), std::string(c.top) + "SVD/chip.svd") != c.entries.end()) {
            ASSERT_TRUE(svd.Ok()) << svd.Text();
            EXPECT_EQ(svd.Value(), "bytes of " + std::string(c.top) + "SVD/chip.svd");
        }
        EXPECT_FALSE(files.Value()->Exists("../Acme.P.pdsc"));
        EXPECT_TRUE(files.Value()->Read("nothing.svd", 100).Failed(ProblemCode::kCannotRead));
    }
}

}  // namespace

namespace {

// The tools' default folders of this system, under a home and a local application data folder the
// test sets (on Windows %LOCALAPPDATA%\Arm\Packs, with backslashes; elsewhere ~/.cache/arm/packs),
// holding a .pack in .Download and an unpacked pack: both found there, their SVDs read.
TEST(PackArchiveRoots, TheToolsDefaultFolderUnderTheTestsEnvironment) {
    PackRootDir dir;
    PackEnvironment environment;
    environment.system = PackEnvironmentOfThisSystem().system;
    environment.home = dir.SubFolder("h\xC3\xB6me");
    environment.localAppData = dir.SubFolder("h\xC3\xB6me/AppData/Local");
    const std::vector<PackRoot> roots = PackRootsFor({}, environment);
    const auto toolbox = std::find_if(roots.begin(), roots.end(), [](const PackRoot& r) { return r.origin == "cmsis-toolbox"; });
    ASSERT_NE(toolbox, roots.end());
    const std::string base = Utf8FromPath(PathFromUtf8(environment.home));
    ASSERT_EQ(toolbox->folder.rfind(environment.system == PackHostSystem::kWindows ? environment.localAppData : base, 0), 0u)
        << toolbox->folder;
    std::filesystem::create_directories(PathFromUtf8(toolbox->folder) / ".Download");
    const std::string relative = Utf8FromPath(std::filesystem::relative(PathFromUtf8(toolbox->folder), PathFromUtf8(dir.Folder())));
    dir.AddPackArchive(relative + "/.Download/Acme.A_DFP.1.0.0.pack", "Acme.A_DFP.pdsc", Pdsc("A_DFP"), Svd("A"));
    dir.AddPack(relative, "Acme", "B_DFP", "1.0.0", Pdsc("B_DFP"), Svd("B"));

    auto scan = PackIndex(dir.SubFolder("cache")).Scan(roots);
    ASSERT_TRUE(scan.Ok());
    const DeviceCatalog catalog(scan.Value());
    for (const char* device : {"DEV_A_DFP", "DEV_B_DFP"}) {
        SCOPED_TRACE(device);
        const auto found = catalog.Find(device);
        ASSERT_TRUE(found.Ok()) << found.Text();
        EXPECT_EQ(found.Value().pack.root, toolbox->folder);
        EXPECT_TRUE(ReadDeviceSvd(found.Value(), 1 << 20).Ok());
    }
}

}  // namespace
