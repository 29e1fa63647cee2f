// SPDX-License-Identifier: MIT
// One pack opened on its own, a .pack file or a lone .pdsc: its devices, their
// SVDs read from it, and the files that are no pack refused with their reason.
#include <gtest/gtest.h>

#include "packs/PackFileCatalog.h"
#include "tests/PackRoot.h"

namespace {

const char* const kDevices = R"(
<family Dfamily="Parts" Dvendor="Acme:1">
  <processor Dcore="Cortex-M4"/>
  <debug svd="SVD\one.svd"/>
  <device Dname="ONE1"/>
  <device Dname="TWO1">
    <processor Pname="CM7" Dcore="Cortex-M7"/>
    <processor Pname="CM4" Dcore="Cortex-M4"/>
    <debug Pname="CM7" svd="SVD/two_cm7.svd"/>
    <debug Pname="CM4" svd="SVD/two_cm4.svd"/>
  </device>
</family>)";

std::vector<PackFile> Files() {
    return {{"SVD/one.svd", PackSvdText("ONE1")},
            {"SVD/two_cm7.svd", PackSvdText("TWO1_CM7")},
            {"SVD/two_cm4.svd", PackSvdText("TWO1_CM4")}};
}

std::string Pdsc() { return PdscText("Acme", "Parts_DFP", {"1.2.0", "1.10.0"}, kDevices); }

// Opened three ways: a .pack, a .pack whose files sit in one folder, and a
// lone .pdsc in a folder whose name is not ASCII.
struct Opened {
    const char* label;
    bool archive;
};

TEST(PackFileCatalog, ListsAndReadsTheDevicesOfOnePack) {
    PackRootDir dir;
    const std::string packAtTop = dir.AddPackArchive("Acme.Parts_DFP.1.10.0.pack", "Acme.Parts_DFP.pdsc", Pdsc(), Files());
    const std::string packInFolder =
        dir.AddPackArchive("in folder.pack", "Acme.Parts_DFP.pdsc", Pdsc(), Files(), "Acme.Parts_DFP.1.10.0/");
    const std::string folder = dir.AddPack("\xE6\x97\xA5\xE6\x9C\xAC", "Acme", "Parts_DFP", "1.10.0", Pdsc(), Files());
    const std::string pdsc = folder + "/Acme.Parts_DFP.pdsc";
    const struct {
        std::string path;
        bool archive;
    } cases[] = {{packAtTop, true}, {packInFolder, true}, {pdsc, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Result<DeviceCatalog> catalog = CatalogOfPackFile(c.path);
        ASSERT_TRUE(catalog.Ok()) << catalog.Text();
        EXPECT_EQ(catalog.Value().DeviceCount(), 2u);
        ASSERT_EQ(catalog.Value().SearchedRoots().size(), 1u);
        EXPECT_EQ(catalog.Value().Matching("").size(), 3u);  // ONE1, TWO1:CM7, TWO1:CM4
        const struct {
            const char* typed;
            const char* svd;
        } devices[] = {{"one1", "ONE1"}, {"TWO1:CM7", "TWO1_CM7"}, {"two:cm4", "TWO1_CM4"}};
        for (const auto& d : devices) {
            SCOPED_TRACE(d.typed);
            const auto found = catalog.Value().Find(d.typed);
            ASSERT_TRUE(found.Ok()) << found.Text();
            EXPECT_EQ(found.Value().Caption().find("Acme.Parts_DFP 1.10.0") != std::string::npos, true)
                << found.Value().Caption();
            EXPECT_EQ(found.Value().pack.archive.empty(), !c.archive);
            const auto svd = ReadDeviceSvd(found.Value(), 1 << 20);
            ASSERT_TRUE(svd.Ok()) << svd.Text();
            EXPECT_EQ(svd.Value(), PackSvdText(d.svd));
        }
    }
}

TEST(PackFileCatalog, RefusesWhatIsNoPack) {
    PackRootDir dir;
    ZipWriter noPdsc;
    noPdsc.Add("readme.txt", "no pack here");
    ZipWriter badPdsc;
    badPdsc.Add("Acme.Bad.pdsc", "<package><devices>");
    ZipWriter notAPackage;
    notAPackage.Add("Acme.Bad.pdsc", "<device/>");
    const struct {
        const char* label;
        std::string path;
        ProblemCode code;
    } cases[] = {
        {"no file", dir.Folder() + "/absent.pack", ProblemCode::kCannotRead},
        {"no pdsc file", dir.Folder() + "/absent.pdsc", ProblemCode::kCannotRead},
        {"a folder", dir.SubFolder("folder.pack"), ProblemCode::kNotRegularFile},
        {"not a zip", dir.Write("text.pack", "just some text, long enough to be looked at"), ProblemCode::kBadArchive},
        {"no pdsc inside", dir.Write("empty.pack", noPdsc.Finish()), ProblemCode::kBadPackDescription},
        {"a pdsc that is not XML", dir.Write("bad.pack", badPdsc.Finish()), ProblemCode::kBadPackDescription},
        {"a pdsc without <package>", dir.Write("other.pack", notAPackage.Finish()), ProblemCode::kBadPackDescription},
        {"a lone pdsc not XML", dir.Write("lone/Acme.Bad.pdsc", "<package>"), ProblemCode::kBadPackDescription},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Result<DeviceCatalog> catalog = CatalogOfPackFile(c.path);
        EXPECT_TRUE(catalog.Failed(c.code)) << (catalog.Ok() ? "opened" : catalog.Text());
    }
}

}  // namespace
