// SPDX-License-Identifier: MIT
// The zip archive reader over archives the tests write, honest and hostile.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "archive/ZipArchive.h"
#include "tests/TempDir.h"
#include "tests/ZipWriter.h"

namespace {

constexpr std::uint64_t kLimit = 64 * 1024 * 1024;

std::string Text(std::size_t size) {
    std::string text;
    while (text.size() < size) text += "<register><name>CTRL" + std::to_string(text.size()) + "</name></register>\n";
    text.resize(size);
    return text;
}

CZipArchive OpenOk(std::string zip) {
    auto archive = CZipArchive::FromMemory(std::move(zip));
    EXPECT_TRUE(archive.Ok()) << archive.Text();
    if (!archive.Ok()) return std::move(CZipArchive::FromMemory(ZipWriter().Add("none/", "", false).Finish()).Value());
    return std::move(archive.Value());
}

// --- Honest archives: what goes in comes out -------------------------------------------------
struct RoundTripCase {
    const char* label;
    std::string name;
    std::string bytes;
    bool deflate;
};
void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.label; }


class ZipRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ZipRoundTrip, ReadGivesTheBytesWritten) {
    const RoundTripCase& c = GetParam();
    ZipWriter writer;
    writer.Add("first.txt", "before");
    writer.Add(c.name, c.bytes, c.deflate);
    writer.Add("last.txt", "after", false);
    const CZipArchive archive = OpenOk(writer.Finish());
    ASSERT_EQ(archive.Entries().size(), 3u);
    const ZipEntry& entry = archive.Entries()[1];
    EXPECT_EQ(entry.size, c.bytes.size());
    EXPECT_TRUE(entry.supported);
    EXPECT_FALSE(entry.encrypted);
    const auto read = archive.Read(entry.name, kLimit);
    ASSERT_TRUE(read.Ok()) << read.Text();
    EXPECT_EQ(read.Value(), c.bytes);
    EXPECT_EQ(archive.Read("last.txt", kLimit).Value(), "after");
}

INSTANTIATE_TEST_SUITE_P(Entries, ZipRoundTrip,
    testing::Values(RoundTripCase{"StoredEmpty", "empty", "", false},
                    RoundTripCase{"DeflatedEmpty", "empty", "", true},
                    RoundTripCase{"StoredText", "Files/chip.pdsc", Text(1000), false},
                    RoundTripCase{"DeflatedAcrossChunks", "SVD/chip.svd", Text(300 * 1024), true},
                    RoundTripCase{"BinaryBytes", "bin", std::string("\0\xff\x01PK\x03\x04", 8), true},
                    RoundTripCase{"Utf8Name", "SVD/Jörg Документы.svd", "x", true}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Names: '\\' and '/' both match '/'; case counts -----------------------------------------
struct NameCase {
    const char* label;
    std::string written;
    std::string asked;
    bool found;
};
void PrintTo(const NameCase& c, std::ostream* out) { *out << c.label; }


class ZipNames : public testing::TestWithParam<NameCase> {};

TEST_P(ZipNames, FindsTheEntryByItsSlashedName) {
    const NameCase& c = GetParam();
    const CZipArchive archive = OpenOk(ZipWriter().Add(c.written, "bytes").Finish());
    const auto read = archive.Read(c.asked, kLimit);
    if (c.found) {
        ASSERT_TRUE(read.Ok()) << read.Text();
        EXPECT_EQ(read.Value(), "bytes");
    } else {
        EXPECT_TRUE(read.Failed(ProblemCode::kArchiveEntryMissing)) << read.Text();
    }
}

INSTANTIATE_TEST_SUITE_P(Lookup, ZipNames,
    testing::Values(NameCase{"Slashes", "SVD/chip.svd", "SVD/chip.svd", true},
                    NameCase{"BackslashesWritten", "SVD\\sub\\chip.svd", "SVD/sub/chip.svd", true},
                    NameCase{"BackslashesAsked", "SVD/chip.svd", "SVD\\chip.svd", true},
                    NameCase{"OtherCase", "SVD/chip.svd", "svd/chip.svd", false},
                    NameCase{"Missing", "SVD/chip.svd", "SVD/other.svd", false},
                    NameCase{"PrefixOnly", "SVD/chip.svd", "SVD", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ZipArchive, ListsFilesNotFoldersAndReadsTheFirstOfTwoNames) {
    ZipWriter writer;
    writer.Add("SVD/", "", false).Add("SVD/a.svd", "one").Add("SVD/a.svd", "two");
    const CZipArchive archive = OpenOk(writer.Finish());
    ASSERT_EQ(archive.Entries().size(), 2u);
    EXPECT_EQ(archive.Entries()[0].name, "SVD/a.svd");
    EXPECT_EQ(archive.Read("SVD/a.svd", kLimit).Value(), "one");
}

// --- Hostile entries: each refused with its own code, the others still read ------------------
struct HostileCase {
    const char* label;
    std::string name;
    std::string bytes;
    bool deflate;
    ZipEntryLies lies;
    std::uint64_t limit;
    ProblemCode code;
    bool listedSupported;
};
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.label; }


class ZipHostileEntry : public testing::TestWithParam<HostileCase> {};

TEST_P(ZipHostileEntry, IsRefusedWithItsCode) {
    const HostileCase& c = GetParam();
    ZipWriter writer;
    writer.Add(c.name, c.bytes, c.deflate, c.lies);
    writer.Add("good.txt", "good");
    const CZipArchive archive = OpenOk(writer.Finish());
    ASSERT_EQ(archive.Entries().size(), 2u);
    EXPECT_EQ(archive.Entries()[0].supported, c.listedSupported);
    const auto read = archive.Read(archive.Entries()[0].name, c.limit);
    EXPECT_TRUE(read.Failed(c.code)) << (read.Ok() ? "read " + std::to_string(read.Value().size()) + " bytes"
                                                   : std::string(ProblemCodeName(read.Error().code)) + ": " + read.Text());
    EXPECT_EQ(archive.Read("good.txt", kLimit).Value(), "good");
}

const std::string kZeros(16 * 1024 * 1024, '\0');

INSTANTIATE_TEST_SUITE_P(Entries, ZipHostileEntry,
    testing::Values(
        HostileCase{"ClimbsOut", "../evil.svd", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"ClimbsOutInside", "SVD/../../evil.svd", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"ClimbsOutBackslashed", "SVD\\..\\..\\evil.svd", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"Absolute", "/etc/passwd", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"DriveLetter", "C:\\Windows\\evil.dll", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"DriveRelative", "C:evil.dll", "x", true, {}, kLimit, ProblemCode::kUnsafeArchiveEntry, false},
        HostileCase{"Encrypted", "secret.svd", "x", true, {.encrypted = true}, kLimit, ProblemCode::kUnsupportedArchiveEntry, false},
        HostileCase{"UnknownMethod", "lzma.svd", "x", false, {.method = 14}, kLimit, ProblemCode::kUnsupportedArchiveEntry, false},
        HostileCase{"DeclaredBeyondLimit", "big.svd", Text(5000), true, {}, 4999, ProblemCode::kArchiveEntryTooLarge, true},
        HostileCase{"DeclaredSmallInflatesBeyondLimit", "big.svd", Text(5000), true, {.size = 100}, 1000, ProblemCode::kBadArchive, true},
        HostileCase{"DeclaredLargerThanItIs", "short.svd", Text(5000), true, {.size = 6000}, kLimit, ProblemCode::kBadArchive, true},
        HostileCase{"StoredCompressedSizeShort", "short.svd", Text(5000), false, {.compressedSize = 10}, kLimit, ProblemCode::kBadArchive, true},
        HostileCase{"BadCrcStored", "crc.svd", Text(5000), false, {.crc = 0x12345678}, kLimit, ProblemCode::kBadArchive, true},
        HostileCase{"BadCrcDeflated", "crc.svd", Text(5000), true, {.crc = 0x12345678}, kLimit, ProblemCode::kBadArchive, true},
        HostileCase{"DeclaredBomb", "bomb.svd", "tiny", true, {.size = 2000000000u}, ~0ull, ProblemCode::kArchiveEntryTooLarge, true},
        HostileCase{"RealBomb", "bomb.svd", kZeros, true, {}, ~0ull, ProblemCode::kArchiveEntryTooLarge, true},
        HostileCase{"DamagedDeflate", "noise.svd", Text(5000), false, {.method = 8}, kLimit, ProblemCode::kBadArchive, true}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Hostile archives: refused whole --------------------------------------------------------
struct BadArchiveCase {
    const char* label;
    std::string zip;
};
void PrintTo(const BadArchiveCase& c, std::ostream* out) { *out << c.label; }


class ZipBadArchive : public testing::TestWithParam<BadArchiveCase> {};

TEST_P(ZipBadArchive, IsRefused) {
    const auto archive = CZipArchive::FromMemory(GetParam().zip);
    EXPECT_TRUE(archive.Failed(ProblemCode::kBadArchive)) << archive.Text();
}

std::string TwoEntries(const ZipDirectoryLies& lies) {
    return ZipWriter().Add("a.pdsc", Text(100)).Add("b.svd", Text(200)).Finish(lies);
}

INSTANTIATE_TEST_SUITE_P(Archives, ZipBadArchive,
    testing::Values(BadArchiveCase{"Empty", ""},
                    BadArchiveCase{"NotZip", "<?xml version=\"1.0\"?><device/>"},
                    BadArchiveCase{"EndRecordOnly", TwoEntries({}).substr(TwoEntries({}).size() - 22)},
                    BadArchiveCase{"CutBeforeTheEnd", TwoEntries({}).substr(0, TwoEntries({}).size() - 10)},
                    BadArchiveCase{"DirectoryCutShort", TwoEntries({.cutDirectory = 20})},
                    BadArchiveCase{"MoreEntriesThanWritten", TwoEntries({.entryCount = 3})},
                    BadArchiveCase{"DirectoryBeyondTheFile", TwoEntries({.directoryOffset = 0x7fffffff})}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ZipArchive, ArchiveOfFoldersHasNoEntries) {
    const CZipArchive archive = OpenOk(ZipWriter().Add("SVD/", "", false).Add("Files\\", "", false).Finish());
    EXPECT_TRUE(archive.Entries().empty());
    EXPECT_TRUE(archive.Read("SVD", kLimit).Failed(ProblemCode::kArchiveEntryMissing));
}

// --- From a file: by its UTF-8 name -----------------------------------------------------------
TEST(ZipArchiveFile, OpensByUtf8NameAndReadsInPlace) {
    const TempDir dir;
    const std::string path = dir.Write("Jörg Документы.pack", ZipWriter().Add("Keil.Chip.pdsc", Text(4000)).Finish());
    auto archive = CZipArchive::Open(path);
    ASSERT_TRUE(archive.Ok()) << archive.Text();
    const CZipArchive moved = std::move(archive.Value());
    EXPECT_EQ(moved.Read("Keil.Chip.pdsc", kLimit).Value(), Text(4000));
}

TEST(ZipArchiveFile, MissingFileAndFolderAreNotArchives) {
    const TempDir dir;
    EXPECT_TRUE(CZipArchive::Open(dir.Path().string() + "/none.pack").Failed(ProblemCode::kCannotRead));
    EXPECT_TRUE(CZipArchive::Open(dir.Path().string()).Failed(ProblemCode::kNotRegularFile));
}

}  // namespace
