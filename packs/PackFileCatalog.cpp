// SPDX-License-Identifier: MIT
#include "packs/PackFileCatalog.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "packs/ArchivePackFiles.h"
#include "packs/FolderPackFiles.h"
#include "packs/PdscReader.h"
#include "platform/FilePaths.h"

namespace {

// As large as PackIndex takes a pdsc.
constexpr std::uint64_t kLargestPdsc = 64ull << 20;

bool EndsWithPdsc(std::string_view path) {
    if (path.size() < 5) return false;
    std::string end(path.substr(path.size() - 5));
    for (char& c : end)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return end == ".pdsc";
}

// The file's size and modification time, as the scanner keys a pack; zero when unknown.
void KeyOf(const std::string& utf8Path, FoundPack& pack) {
    std::error_code error;
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) pack.pdscSize = size;
    const auto time = std::filesystem::last_write_time(path, error);
    if (!error) pack.pdscTime = static_cast<std::int64_t>(time.time_since_epoch().count());
}

// "VENDOR.NAME" of a file's name (its first two dot-parts), where the pdsc leaves them out.
void NameFromFile(const std::string& fileName, FoundPack& pack) {
    const std::size_t first = fileName.find('.');
    if (first == std::string::npos) return;
    const std::size_t second = fileName.find('.', first + 1);
    if (pack.vendor.empty()) pack.vendor = fileName.substr(0, first);
    if (pack.name.empty())
        pack.name = fileName.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

Result<DeviceCatalog> CatalogOf(FoundPack pack, const std::string& pdscText, std::string rootFolder) {
    using Out = Result<DeviceCatalog>;
    Result<PackDescription> description = ReadPdscText(pdscText);
    if (!description) {
        Problem problem = description.Error();
        problem.path = pack.pdsc;
        return Out::Failure(std::move(problem));
    }
    pack.vendor = description.Value().vendor;
    pack.name = description.Value().name;
    NameFromFile(Utf8FileName(pack.pdsc), pack);
    pack.version = PackVersion(description.Value().version);

    PackIndexScan scan;
    SearchedRoot root;
    root.root = {std::move(rootFolder), "file"};
    root.exists = true;
    root.packs = 1;
    root.archives = pack.archive.empty() ? 0 : 1;
    scan.roots.push_back(std::move(root));
    scan.packs.push_back({std::move(pack), std::move(description.Value())});
    scan.reread = 1;
    return Out::Success(DeviceCatalog(std::move(scan)));
}

}  // namespace

Result<DeviceCatalog> CatalogOfPackFile(std::string_view utf8Path) {
    using Out = Result<DeviceCatalog>;
    const std::string path(utf8Path);
    FoundPack pack;
    pack.pdsc = path;
    KeyOf(path, pack);

    if (EndsWithPdsc(path)) {
        // A lone pdsc: its pack is the folder it is in.
        std::string folder = Utf8ParentFolder(path);
        pack.folder = folder;
        pack.root = folder;
        const Result<std::string> text = FolderPackFiles(folder).Read(Utf8FileName(path), kLargestPdsc);
        if (!text) return Out::FailureOf(text);
        return CatalogOf(std::move(pack), text.Value(), std::move(folder));
    }

    Result<std::unique_ptr<ArchivePackFiles>> archive = ArchivePackFiles::Open(path);
    if (!archive) return Out::FailureOf(archive);
    const Result<std::string> text = archive.Value()->Read(archive.Value()->PdscName(), kLargestPdsc);
    if (!text) return Out::FailureOf(text);
    pack.archive = path;
    pack.root = Utf8ParentFolder(path);
    return CatalogOf(std::move(pack), text.Value(), path);
}
