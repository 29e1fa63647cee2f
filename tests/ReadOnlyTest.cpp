// SPDX-License-Identifier: MIT
// The definitions file is only ever read: after a load and a session of edits
// and calculations it is unchanged to the byte and to the timestamp, and
// nothing has appeared in, or vanished from, the working directory.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

struct EntryState {
    ino_t inode;
    mode_t mode;
    off_t size;
    timespec modified;
    timespec changed;  // also moves on chmod, chown, rename over, link
    std::string bytes;

    bool operator==(const EntryState& o) const {
        return std::tie(inode, mode, size, modified.tv_sec, modified.tv_nsec, changed.tv_sec, changed.tv_nsec, bytes) ==
               std::tie(o.inode, o.mode, o.size, o.modified.tv_sec, o.modified.tv_nsec, o.changed.tv_sec,
                        o.changed.tv_nsec, o.bytes);
    }
};

void PrintTo(const EntryState& s, std::ostream* os) {
    *os << "inode " << s.inode << " mode " << std::oct << s.mode << std::dec << ", " << s.size << " bytes, mtime "
        << s.modified.tv_sec << '.' << s.modified.tv_nsec << ", ctime " << s.changed.tv_sec << '.'
        << s.changed.tv_nsec;
}

// Every entry below `dir`, by relative path, with its metadata and contents.
std::map<std::string, EntryState> Snapshot(const std::filesystem::path& dir) {
    std::map<std::string, EntryState> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        struct stat info {};
        EXPECT_EQ(lstat(entry.path().c_str(), &info), 0);
        EntryState state{info.st_ino, info.st_mode, info.st_size, info.st_mtim, info.st_ctim, {}};
        if (S_ISREG(info.st_mode)) {
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
        const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
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
        EXPECT_EQ(after.at(kDefinitionsFileName).modified.tv_sec, 1000000000);
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
