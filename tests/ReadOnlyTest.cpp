// SPDX-License-Identifier: MIT
// The definitions file is only ever read: after a load and a session of edits
// and calculations it is unchanged to the byte and to the timestamp, and
// nothing has appeared in, or vanished from, the working directory.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <climits>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

#include "bits/NumberFormatting.h"
#include "calc/RegisterCalculator.h"
#include "calc/ValueBox.h"
#include "defs/DefinitionsLoader.h"
#include "defs/FieldTable.h"
#include "defs/RegisterItem.h"
#include "defs/RegisterMap.h"
#include "tests/ChainedValueBox.h"
#include "tests/ExampleFiles.h"
#include "tests/LoadedTreeCheck.h"
#include "platform/FilePaths.h"
#include "tests/TempDir.h"
#include "tree/PropTree.h"

namespace {

// Works inside `dir` for as long as it lives, as the program works in the
// folder it was started in.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path m_previous;
};

// An entry's metadata: what std::filesystem tells on every system, and on
// POSIX systems also the inode and the change time, which move on chmod,
// chown, rename over and link.
struct EntryState {
    long long inode = 0;
    unsigned mode = 0;
    long long size = 0;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    long long changedSeconds = 0;
    long long changedNanoseconds = 0;
    std::string bytes;

    bool operator==(const EntryState& o) const {
        return std::tie(inode, mode, size, modifiedSeconds, modifiedNanoseconds, changedSeconds, changedNanoseconds,
                        bytes) == std::tie(o.inode, o.mode, o.size, o.modifiedSeconds, o.modifiedNanoseconds,
                                           o.changedSeconds, o.changedNanoseconds, o.bytes);
    }
};

void PrintTo(const EntryState& s, std::ostream* os) {
    *os << "inode " << s.inode << " mode " << std::oct << s.mode << std::dec << ", " << s.size << " bytes, mtime "
        << s.modifiedSeconds << '.' << s.modifiedNanoseconds << ", ctime " << s.changedSeconds << '.'
        << s.changedNanoseconds;
}

// A modification time of whole seconds since 1970, as file times are set here.
constexpr long long kOldTime = 1000000000;

#ifdef _WIN32
EntryState StateOf(const std::filesystem::path& path) {
    EntryState state;
    const auto status = std::filesystem::symlink_status(path);
    state.mode = static_cast<unsigned>(status.permissions()) | (static_cast<unsigned>(status.type()) << 16);
    if (std::filesystem::is_regular_file(status)) state.size = static_cast<long long>(std::filesystem::file_size(path));
    const auto written = std::chrono::file_clock::to_sys(std::filesystem::last_write_time(path));
    const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
    state.modifiedSeconds = since / 1'000'000'000;
    state.modifiedNanoseconds = since % 1'000'000'000;
    return state;
}

void SetOldTime(const std::string& path) {
    const auto old = std::chrono::system_clock::time_point(std::chrono::seconds(kOldTime));
    std::filesystem::last_write_time(PathFromUtf8(path), std::chrono::file_clock::from_sys(old));
}
#else
EntryState StateOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0);
    return {static_cast<long long>(info.st_ino), info.st_mode,          info.st_size,
            info.st_mtim.tv_sec,                 info.st_mtim.tv_nsec,  info.st_ctim.tv_sec,
            info.st_ctim.tv_nsec,                {}};
}

void SetOldTime(const std::string& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}
#endif

// Every entry below `dir`, by relative path, with its metadata and contents.
std::map<std::string, EntryState> Snapshot(const std::filesystem::path& dir) {
    std::map<std::string, EntryState> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        EntryState state = StateOf(entry.path());
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            state.bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        entries.emplace(std::filesystem::relative(entry.path(), dir).string(), state);
    }
    return entries;
}

// What a user does in one sitting: loads, picks every row, types into field
// rows and into the hex box, and closes.
LoadReport RunSession() {
    CRegisterMap map;
    CPropTree& tree = map.Tree();
    const LoadReport result = LoadDefinitionsFile(map, kDefinitionsFileName, kDefinitionsFileName);
    EXPECT_TRUE(ExerciseLoadedTree(tree).empty());

    ChainedValueBox hex;
    ChainedValueBox decimal;
    CRegisterCalculator calculator(map, hex, decimal);
    hex.onChange = [&] { calculator.ApplyHexValue(); };
    for (CPropTreeItem* set = tree.GetRootItem()->GetChild(); set; set = set->GetSibling()) {
        tree.UserSelectItem(set);
        calculator.OnTreeSelChanged(set);
        for (CPropTreeItem* reg = set->GetChild(); reg; reg = reg->GetSibling()) {
            tree.UserSelectItem(reg);
            calculator.OnTreeSelChanged(reg);
            hex.SetText("0xdeadbeefcafe");
            hex.SetText(FormatRegisterHex(~std::uint64_t{0}, 64));
            calculator.ShowRegisterValue(reg);
        }
    }
    return result;
}

struct SessionCase {
    const char* name;
    bool writeFile;
    size_t keepBytes;  // how much of the example the file holds
};

void PrintTo(const SessionCase& c, std::ostream* os) { *os << c.name; }

class NothingLost : public testing::TestWithParam<SessionCase> {};

TEST_P(NothingLost, DefinitionsFileAndWorkingDirectoryAreUntouched) {
    const SessionCase& c = GetParam();
    const std::string example = ReadExampleFile("tavlin.xml");
    ASSERT_FALSE(example.empty());

    TempDir dir;
    if (c.writeFile) {
        const std::string path = dir.Write(kDefinitionsFileName, example.substr(0, c.keepBytes));
        // An old, round timestamp, so that any write would show.
        SetOldTime(path);
    }
    const auto before = Snapshot(dir.Path());
    {
        WorkingDirectory inDir(dir.Path());
        const LoadReport result = RunSession();
        EXPECT_EQ(result.registers > 0, c.writeFile);  // the session had something to work on
    }
    const auto after = Snapshot(dir.Path());
    EXPECT_EQ(after, before);
    if (c.writeFile) {
        ASSERT_EQ(after.count(kDefinitionsFileName), 1u);
        EXPECT_EQ(after.at(kDefinitionsFileName).modifiedSeconds, kOldTime);
        EXPECT_EQ(after.at(kDefinitionsFileName).bytes, example.substr(0, c.keepBytes));
    } else {
        EXPECT_TRUE(after.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(ReadOnly, NothingLost,
                         testing::Values(SessionCase{"WholeExample", true, std::string::npos},
                                         SessionCase{"ExampleCutShort", true, 5000},
                                         SessionCase{"NoFile", false, 0}));

}  // namespace
