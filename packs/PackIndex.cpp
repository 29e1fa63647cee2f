// SPDX-License-Identifier: MIT
#include "packs/PackIndex.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "packs/FolderPackFiles.h"
#include "packs/PackIndexFile.h"
#include "packs/PackSource.h"
#include "packs/PdscReader.h"
#include "platform/FilePaths.h"

namespace {

constexpr std::string_view kIndexName = "packs.index";
// Beyond these a file is not a pdsc or an index tavlin wrote.
constexpr std::uint64_t kLargestPdsc = 64ull << 20;
constexpr std::uint64_t kLargestIndex = 512ull << 20;

std::map<std::string, PackIndexEntry> ReadIndex(const std::string& cacheFolder) {
    std::map<std::string, PackIndexEntry> byPdsc;
    const Result<std::string> bytes = FolderPackFiles(cacheFolder).Read(kIndexName, kLargestIndex);
    if (!bytes) return byPdsc;
    std::optional<std::vector<PackIndexEntry>> entries = ReadPackIndex(bytes.Value());
    if (!entries) return byPdsc;
    for (PackIndexEntry& entry : *entries) {
        std::string key = entry.pdsc;
        byPdsc.emplace(std::move(key), std::move(entry));
    }
    return byPdsc;
}

// Writes the index beside itself and renames it over the old one, so a
// reader never meets half of it. A cache that cannot be written costs only
// the next start's time.
void WriteIndex(const std::string& cacheFolder, const std::string& file, const std::vector<PackIndexEntry>& entries) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(cacheFolder), error);
    const std::string bytes = WritePackIndex(entries);
    const std::string partial = file + ".new";
    std::FILE* stream = OpenFileUtf8(partial, "wb");
    if (!stream) return;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    const bool closed = std::fclose(stream) == 0;
    if (!written || !closed) {
        std::filesystem::remove(PathFromUtf8(partial), error);
        return;
    }
    std::filesystem::rename(PathFromUtf8(partial), PathFromUtf8(file), error);
    if (error) std::filesystem::remove(PathFromUtf8(partial), error);
}

PackIndexEntry ReadPdsc(const FoundPack& pack) {
    PackIndexEntry entry;
    entry.pdsc = pack.pdsc;
    entry.size = pack.pdscSize;
    entry.time = pack.pdscTime;
    const Result<std::string> text = ReadPackPdsc(pack, kLargestPdsc);
    if (!text) {
        entry.problem = text.Error().Describe();
        return entry;
    }
    Result<PackDescription> description = ReadPdscText(text.Value());
    if (!description) {
        entry.problem = description.Error().detail;
        entry.problemLine = description.Error().line;
        return entry;
    }
    entry.description = std::move(description.Value());
    return entry;
}

}  // namespace

PackIndex::PackIndex(std::string cacheFolder) : m_cacheFolder(std::move(cacheFolder)) {}

std::string PackIndex::FilePath() const {
    if (m_cacheFolder.empty() || m_cacheFolder.back() == '/' || m_cacheFolder.back() == '\\')
        return m_cacheFolder + std::string(kIndexName);
    return m_cacheFolder + "/" + std::string(kIndexName);
}

Result<PackIndexScan> PackIndex::Scan(const std::vector<PackRoot>& roots, const PackScanProgress& progress,
                                      const std::atomic<bool>* cancel) const {
    PackScan found = ScanPackRoots(roots);
    std::map<std::string, PackIndexEntry> old = ReadIndex(m_cacheFolder);

    PackIndexScan scan;
    scan.roots = std::move(found.roots);
    std::vector<PackIndexEntry> entries;
    const std::size_t total = found.packs.size();
    for (std::size_t i = 0; i < total; ++i) {
        if (cancel && cancel->load()) return Result<PackIndexScan>::Failure(ProblemCode::kCancelled, "the pack scan was cancelled");
        FoundPack& pack = found.packs[i];
        const auto held = old.find(pack.pdsc);
        PackIndexEntry entry;
        if (held != old.end() && held->second.size == pack.pdscSize && held->second.time == pack.pdscTime) {
            entry = std::move(held->second);
            ++scan.reused;
        } else {
            entry = ReadPdsc(pack);
            ++scan.reread;
        }
        if (!entry.problem.empty()) {
            Problem problem = MakeProblem(ProblemCode::kBadPackDescription, entry.problem);
            problem.line = entry.problemLine;
            problem.path = pack.pdsc;
            scan.problems.push_back(std::move(problem));
        }
        scan.packs.push_back({std::move(pack), entry.description});
        entries.push_back(std::move(entry));
        if (progress) progress(i + 1, total);
    }
    // An index that holds just these entries, each reused, is left as it is.
    if (scan.reread != 0 || old.size() != scan.reused) WriteIndex(m_cacheFolder, FilePath(), entries);
    return Result<PackIndexScan>::Success(std::move(scan));
}
