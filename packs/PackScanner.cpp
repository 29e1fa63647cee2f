// SPDX-License-Identifier: MIT
#include "packs/PackScanner.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/FilePaths.h"

namespace fs = std::filesystem;

namespace {

// The names of the folders (or files) in `folder`, sorted; none when it cannot be listed.
std::vector<std::string> Entries(const fs::path& folder, bool folders) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    const fs::directory_iterator end;
    while (!error && it != end) {
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        const bool isFile = it->is_regular_file(typeError);
        if (!typeError && (folders ? isFolder : isFile)) {
            std::string name = Utf8FromPath(it->path().filename());
            if (!name.empty() && name.front() != '.') names.push_back(std::move(name));
        }
        it.increment(error);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

bool EndsWithIgnoringCase(const std::string& text, std::string_view end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != end[i]) return false;
    }
    return true;
}

// The unpacked packs of one root: VENDOR/NAME/VERSION/VENDOR.NAME.pdsc.
void FindUnpackedPacks(const std::string& root, std::vector<FoundPack>& found) {
    for (const std::string& vendor : Entries(PathFromUtf8(root), true)) {
        const std::string vendorFolder = Joined(root, vendor);
        for (const std::string& name : Entries(PathFromUtf8(vendorFolder), true)) {
            const std::string nameFolder = Joined(vendorFolder, name);
            for (const std::string& version : Entries(PathFromUtf8(nameFolder), true)) {
                FoundPack pack;
                pack.root = root;
                pack.vendor = vendor;
                pack.name = name;
                pack.version = PackVersion(version);
                pack.folder = Joined(nameFolder, version);
                pack.pdsc = Joined(pack.folder, vendor + "." + name + ".pdsc");
                const fs::path pdsc = PathFromUtf8(pack.pdsc);
                std::error_code error;
                if (!fs::is_regular_file(pdsc, error)) continue;
                pack.pdscSize = fs::file_size(pdsc, error);
                if (error) continue;
                pack.pdscTime = static_cast<std::int64_t>(fs::last_write_time(pdsc, error).time_since_epoch().count());
                if (error) continue;
                found.push_back(std::move(pack));
            }
        }
    }
}

// VENDOR.NAME.VERSION.pack: a pack's name holds no dot, its version may.
bool SplitArchiveName(const std::string& file, std::string& vendor, std::string& name, std::string& version) {
    const std::string stem = file.substr(0, file.size() - 5);
    const std::size_t first = stem.find('.');
    if (first == std::string::npos || first == 0) return false;
    const std::size_t second = stem.find('.', first + 1);
    if (second == std::string::npos || second == first + 1 || second + 1 == stem.size()) return false;
    vendor = stem.substr(0, first);
    name = stem.substr(first + 1, second - first - 1);
    version = stem.substr(second + 1);
    return true;
}

// The .pack archives of one root, in it and then in its .Download folder.
void FindPackArchives(const std::string& root, std::vector<FoundPack>& found) {
    for (const std::string& folder : {root, Joined(root, ".Download")}) {
        for (const std::string& file : Entries(PathFromUtf8(folder), false)) {
            FoundPack pack;
            std::string version;
            if (!EndsWithIgnoringCase(file, ".pack") || !SplitArchiveName(file, pack.vendor, pack.name, version))
                continue;
            pack.root = root;
            pack.version = PackVersion(version);
            pack.archive = Joined(folder, file);
            pack.pdsc = pack.archive;
            const fs::path path = PathFromUtf8(pack.archive);
            std::error_code error;
            pack.pdscSize = fs::file_size(path, error);
            if (error) continue;
            pack.pdscTime = static_cast<std::int64_t>(fs::last_write_time(path, error).time_since_epoch().count());
            if (error) continue;
            found.push_back(std::move(pack));
        }
    }
}

// Whether `pack` takes the place of `held`, found before it (an earlier root,
// or earlier in this one).
bool Beats(const FoundPack& pack, const FoundPack& held) {
    if (pack.version != held.version) return pack.version > held.version;
    return pack.archive.empty() && !held.archive.empty();
}

}  // namespace

PackScan ScanPackRoots(const std::vector<PackRoot>& roots) {
    PackScan scan;
    std::map<std::string, FoundPack> winners;
    for (const PackRoot& root : roots) {
        SearchedRoot searched;
        searched.root = root;
        std::error_code error;
        searched.exists = fs::is_directory(PathFromUtf8(root.folder), error);
        if (searched.exists) {
            std::vector<FoundPack> found;
            FindUnpackedPacks(root.folder, found);
            const std::size_t unpacked = found.size();
            FindPackArchives(root.folder, found);
            searched.packs = static_cast<int>(found.size());
            searched.archives = static_cast<int>(found.size() - unpacked);
            for (FoundPack& pack : found) {
                const std::string key = pack.PackName();
                const auto held = winners.find(key);
                if (held == winners.end())
                    winners.emplace(key, std::move(pack));
                else if (Beats(pack, held->second))
                    held->second = std::move(pack);
            }
        }
        scan.roots.push_back(std::move(searched));
    }
    for (auto& [key, pack] : winners) scan.packs.push_back(std::move(pack));
    return scan;
}
