// SPDX-License-Identifier: MIT
// Finding the packs in their roots (the highest version wins) and the index
// that spares a start re-reading every pdsc.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include "packs/PackIndex.h"
#include "packs/PackIndexFile.h"
#include "tests/ExampleFiles.h"
#include "tests/PackRoot.h"

namespace {

std::string OneDevice(const std::string& name) {
    return "<family Dfamily=\"F\" Dvendor=\"Acme:1\"><processor Dcore=\"Cortex-M4\"/><device Dname=\"" + name +
           "\"><debug svd=\"a.svd\"/></device></family>";
}

std::string Pdsc(const std::string& vendor, const std::string& name, const std::string& device) {
    return PdscText(vendor, name, {"1.0.0"}, OneDevice(device));
}

struct Winner {
    const char* pack;
    const char* version;
    int root;
};

TEST(PackScanner, HighestVersionWinsAcrossRootsFirstRootOnATieUnpackedBeforeArchive) {
    PackRootDir dir;
    const std::string first = dir.SubFolder("first"), second = dir.SubFolder("second");
    dir.AddPack("first", "Acme", "Chips_DFP", "3.9.0", Pdsc("Acme", "Chips_DFP", "A"));
    dir.AddPack("first", "Acme", "Chips_DFP", "3.10.2", Pdsc("Acme", "Chips_DFP", "A"));
    dir.AddPack("second", "Acme", "Chips_DFP", "3.10.2-rc1", Pdsc("Acme", "Chips_DFP", "A"));  // below its release
    dir.AddPack("first", "Acme", "Tied_DFP", "2.0.0", Pdsc("Acme", "Tied_DFP", "B"));
    dir.AddPack("second", "Acme", "Tied_DFP", "2.0.0", Pdsc("Acme", "Tied_DFP", "B"));
    dir.AddPack("second", "Other", "Pre_DFP", "1.0.0-rc1", Pdsc("Other", "Pre_DFP", "C"));
    dir.AddPack("second", "Other", "Pre_DFP", "1.0.0", Pdsc("Other", "Pre_DFP", "C"));
    dir.Write("second/Other/Lost_DFP/1.0.0/README.txt", "a version folder without its pdsc");
    dir.Write("second/Acme.Chips_DFP.3.10.2.pack", "PK");            // equal to an unpacked one, which wins
    dir.Write("second/.Download/Acme.Chips_DFP.3.9.0.pack", "PK");  // below it

    const PackScan scan = ScanPackRoots({{first, "user"}, {second, "user"}, {dir.Folder() + "/gone", "pyOCD"}});
    const Winner winners[] = {{"Acme.Chips_DFP", "3.10.2", 0}, {"Acme.Tied_DFP", "2.0.0", 0}, {"Other.Pre_DFP", "1.0.0", 1}};
    ASSERT_EQ(scan.packs.size(), std::size(winners));
    for (std::size_t i = 0; i < std::size(winners); ++i) {
        SCOPED_TRACE(winners[i].pack);
        EXPECT_EQ(scan.packs[i].PackName(), winners[i].pack);
        EXPECT_EQ(scan.packs[i].version.Text(), winners[i].version);
        EXPECT_EQ(scan.packs[i].root, winners[i].root ? second : first);
        EXPECT_TRUE(scan.packs[i].archive.empty());
        EXPECT_GT(scan.packs[i].pdscSize, 0u);
    }
    ASSERT_EQ(scan.roots.size(), 3u);
    EXPECT_TRUE(scan.roots[0].exists);
    EXPECT_EQ(scan.roots[0].packs, 3);
    EXPECT_EQ(scan.roots[1].packs, 6);
    EXPECT_EQ(scan.roots[1].archives, 2);
    EXPECT_FALSE(scan.roots[2].exists);
    EXPECT_EQ(scan.roots[2].packs, 0);
}

class PackIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = dir.SubFolder("root");
        other = dir.SubFolder("other");
        cache = dir.Folder() + "/cache";
        for (const char* name : {"A_DFP", "B_DFP", "C_DFP"})
            dir.AddPack("root", "Acme", name, "1.0.0", Pdsc("Acme", name, std::string("DEV_") + name));
        dir.AddPack("other", "Zeta", "Z_DFP", "2.0.0", Pdsc("Zeta", "Z_DFP", "ZDEV"));
    }

    std::vector<PackRoot> Roots() const { return {{root, "user"}, {other, "CMSIS_PACK_ROOT"}}; }

    PackIndexScan Scan() const {
        auto scan = PackIndex(cache).Scan(Roots());
        EXPECT_TRUE(scan.Ok()) << scan.Text();
        return scan.Ok() ? scan.Value() : PackIndexScan{};
    }

    std::vector<std::string> DeviceNames(const PackIndexScan& scan) const {
        std::vector<std::string> names;
        for (const IndexedPack& pack : scan.packs)
            for (const PackDevice& device : pack.description.devices) names.push_back(device.name);
        return names;
    }

    PackRootDir dir;
    std::string root, other, cache;
};

TEST_F(PackIndexTest, ReReadsOnlyThePdscsThatChanged) {
    const PackIndexScan cold = Scan();
    EXPECT_EQ(cold.reread, 4u);
    EXPECT_EQ(cold.reused, 0u);
    const std::vector<std::string> all = {"DEV_A_DFP", "DEV_B_DFP", "DEV_C_DFP", "ZDEV"};
    EXPECT_EQ(DeviceNames(cold), all);

    const PackIndexScan warm = Scan();
    EXPECT_EQ(warm.reread, 0u);
    EXPECT_EQ(warm.reused, 4u);
    EXPECT_EQ(DeviceNames(warm), all);

    // A new size: the pdsc now names another device.
    dir.AddPack("root", "Acme", "B_DFP", "1.0.0", Pdsc("Acme", "B_DFP", "DEV_B_DFP_REV2"));
    const PackIndexScan resized = Scan();
    EXPECT_EQ(resized.reread, 1u);
    EXPECT_EQ(DeviceNames(resized)[1], "DEV_B_DFP_REV2");

    // The same size, another modification time.
    const auto pdsc = PathFromUtf8(root + "/Acme/C_DFP/1.0.0/Acme.C_DFP.pdsc");
    std::filesystem::last_write_time(pdsc, std::filesystem::last_write_time(pdsc) + std::chrono::hours(1));
    dir.AddPack("root", "Acme", "C_DFP", "1.0.0", Pdsc("Acme", "C_DFP", "DEV_C_DFQ"));  // same length
    std::filesystem::last_write_time(pdsc, std::filesystem::last_write_time(pdsc) + std::chrono::hours(2));
    const PackIndexScan touched = Scan();
    EXPECT_EQ(touched.reread, 1u);
    EXPECT_EQ(touched.reused, 3u);
    EXPECT_EQ(DeviceNames(touched)[2], "DEV_C_DFQ");
}

TEST_F(PackIndexTest, AVanishedRootLeavesTheIndex) {
    Scan();
    std::filesystem::remove_all(PathFromUtf8(other));
    const PackIndexScan scan = Scan();
    EXPECT_EQ(DeviceNames(scan), (std::vector<std::string>{"DEV_A_DFP", "DEV_B_DFP", "DEV_C_DFP"}));
    EXPECT_FALSE(scan.roots[1].exists);
    const auto entries = ReadPackIndex(ReadWholeFile(PathFromUtf8(PackIndex(cache).FilePath())));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), 3u);
}

TEST_F(PackIndexTest, ADamagedIndexCountsAsNone) {
    Scan();
    const std::string file = PackIndex(cache).FilePath();
    const std::string whole = ReadWholeFile(PathFromUtf8(file));
    const std::string damaged[] = {"", whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 1),
                                   std::string(whole.size(), '\xFF'), whole + "more"};
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        dir.Write("cache/packs.index", bytes);
        const PackIndexScan scan = Scan();
        EXPECT_EQ(scan.reread, 4u);
        EXPECT_EQ(DeviceNames(scan).size(), 4u);
    }
}

TEST_F(PackIndexTest, ReportsProgressAndStopsWhenCancelled) {
    std::vector<std::pair<std::size_t, std::size_t>> steps;
    ASSERT_TRUE(PackIndex(cache).Scan(Roots(), [&](std::size_t done, std::size_t total) { steps.emplace_back(done, total); }));
    EXPECT_EQ(steps, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));

    dir.AddPack("root", "Acme", "A_DFP", "1.0.0", Pdsc("Acme", "A_DFP", "DEV_A_CHANGED"));
    std::atomic<bool> cancel{false};
    const auto cancelled = PackIndex(cache).Scan(Roots(), [&](std::size_t, std::size_t) { cancel = true; }, &cancel);
    EXPECT_TRUE(cancelled.Failed(ProblemCode::kCancelled));
    EXPECT_EQ(Scan().reread, 1u);  // the index of before the cancel was kept
}

TEST_F(PackIndexTest, ABadPdscIsAProblemNamingItsFile) {
    const std::string folder = dir.AddPack("root", "Acme", "Bad_DFP", "1.0.0", "<package><devices><family");
    const PackIndexScan scan = Scan();
    ASSERT_EQ(scan.problems.size(), 1u);
    EXPECT_EQ(scan.problems[0].code, ProblemCode::kBadPackDescription);
    EXPECT_EQ(scan.problems[0].path, folder + "/Acme.Bad_DFP.pdsc");
    EXPECT_EQ(Scan().problems.size(), 1u);  // told again from the index
}

TEST(PackIndexFile, RoundTripsAndRefusesEveryCut) {
    PackIndexEntry entry;
    entry.pdsc = "/p/Acme/X/1.0.0/Acme.X.pdsc";
    entry.size = 1234;
    entry.time = -5;
    entry.description = {"Acme", "X", "1.0.0", {{"DEV", "Acme", "F", "S", {{"CM7", "Cortex-M7", "a.svd"}, {"CM4", "", ""}}}}};
    PackIndexEntry bad;
    bad.pdsc = "bad.pdsc";
    bad.problem = "not well-formed";
    bad.problemLine = 3;
    const std::string bytes = WritePackIndex({entry, bad});
    const auto read = ReadPackIndex(bytes);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, (std::vector<PackIndexEntry>{entry, bad}));
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(ReadPackIndex(bytes.substr(0, cut))) << cut;
}

}  // namespace
