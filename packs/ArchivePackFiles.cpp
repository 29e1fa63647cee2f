// SPDX-License-Identifier: MIT
#include "packs/ArchivePackFiles.h"

#include <utility>
#include <vector>

#include "archive/ZipEntryName.h"

namespace {

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lowered;
}

// A file "SOMETHING.pdsc" at a place inside the archive ("Keil.X/.pdsc" has no name before its ending).
bool IsPdsc(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
    // The pack's files are then named from the pdsc's folder: the name must be one PackFiles takes ("C:x.pdsc" is not).
    return file.size() > 5 && Lowered(file.substr(file.size() - 5)) == ".pdsc" && IsSafeZipEntryName(name) &&
           PackRelativeName(file) == file;
}

}  // namespace

ArchivePackFiles::ArchivePackFiles(CZipArchive archive, std::string where, std::string top, std::string pdsc)
    : m_archive(std::move(archive)), m_where(std::move(where)), m_top(std::move(top)), m_pdsc(std::move(pdsc)) {
    for (const ZipEntry& entry : m_archive.Entries()) m_byLoweredName.emplace(Lowered(entry.name), entry.name);
}

Result<std::unique_ptr<ArchivePackFiles>> ArchivePackFiles::Open(std::string_view utf8Path, std::string_view expectedPdsc) {
    Result<CZipArchive> archive = CZipArchive::Open(utf8Path);
    if (!archive) {
        Problem problem = archive.Error();
        problem.path = std::string(utf8Path);
        return Result<std::unique_ptr<ArchivePackFiles>>::Failure(std::move(problem));
    }
    return Over(std::move(archive.Value()), std::string(utf8Path), expectedPdsc);
}

Result<std::unique_ptr<ArchivePackFiles>> ArchivePackFiles::Over(CZipArchive archive, std::string where,
                                                                 std::string_view expectedPdsc) {
    using Out = Result<std::unique_ptr<ArchivePackFiles>>;
    std::vector<std::string> atTop, anywhere;
    for (const ZipEntry& entry : archive.Entries()) {
        if (!IsPdsc(entry.name)) continue;
        if (entry.name.find('/') == std::string::npos) atTop.push_back(entry.name);
        anywhere.push_back(entry.name);
    }
    std::string pdsc;
    if (atTop.size() == 1) {
        pdsc = atTop.front();
    } else if (atTop.size() > 1) {
        for (const std::string& name : atTop)
            if (!expectedPdsc.empty() && Lowered(name) == Lowered(expectedPdsc)) pdsc = name;
        if (pdsc.empty())
            return Out::Failure(ProblemCode::kBadPackDescription,
                                "'" + where + "' holds several .pdsc files at its top, none named '" +
                                    std::string(expectedPdsc) + "'");
    } else if (anywhere.size() == 1) {
        pdsc = anywhere.front();
    } else {
        return Out::Failure(ProblemCode::kBadPackDescription,
                            "'" + where + "' is not a pack: " +
                                (anywhere.empty() ? std::string("it holds no .pdsc file")
                                                  : "it holds several .pdsc files and none at its top"));
    }
    const std::size_t slash = pdsc.rfind('/');
    std::string top = slash == std::string::npos ? std::string() : pdsc.substr(0, slash + 1);
    std::string name = pdsc.substr(top.size());
    return Out::Success(std::unique_ptr<ArchivePackFiles>(
        new ArchivePackFiles(std::move(archive), std::move(where), std::move(top), std::move(name))));
}

std::string ArchivePackFiles::EntryName(std::string_view relativePath) const {
    const std::string name = PackRelativeName(relativePath);
    if (name.empty()) return {};
    const std::string full = m_top + name;
    const auto found = m_byLoweredName.find(Lowered(full));
    if (found == m_byLoweredName.end()) return {};
    // The exact name where the archive has it (two entries may differ only in case).
    for (const ZipEntry& entry : m_archive.Entries())
        if (entry.name.size() == full.size() && entry.name == full) return full;
    return found->second;
}

Result<std::string> ArchivePackFiles::Read(std::string_view relativePath, std::uint64_t limit) const {
    using Out = Result<std::string>;
    const std::string entry = EntryName(relativePath);
    if (entry.empty()) {
        const bool inside = !PackRelativeName(relativePath).empty();
        return Out::Failure(ProblemCode::kCannotRead,
                            "'" + std::string(relativePath) + "' " +
                                (inside ? "is not in '" + m_where + "'" : "is not a name inside the pack"));
    }
    Result<std::string> bytes = m_archive.Read(entry, limit);
    if (bytes) return bytes;
    Problem problem = bytes.Error();
    if (problem.code == ProblemCode::kArchiveEntryTooLarge) problem.code = ProblemCode::kTooLarge;
    problem.detail = "'" + entry + "': " + problem.detail;
    problem.path = m_where;
    return Out::Failure(std::move(problem));
}

bool ArchivePackFiles::Exists(std::string_view relativePath) const { return !EntryName(relativePath).empty(); }
