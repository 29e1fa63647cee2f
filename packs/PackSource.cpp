// SPDX-License-Identifier: MIT
#include "packs/PackSource.h"

#include "packs/ArchivePackFiles.h"
#include "packs/FolderPackFiles.h"

namespace {

std::string PdscNameOf(const FoundPack& pack) { return pack.vendor + "." + pack.name + ".pdsc"; }

}  // namespace

Result<std::unique_ptr<PackFiles>> OpenPackFiles(const FoundPack& pack) {
    using Opened = Result<std::unique_ptr<PackFiles>>;
    if (pack.archive.empty()) return Opened::Success(std::make_unique<FolderPackFiles>(pack.folder));
    Result<std::unique_ptr<ArchivePackFiles>> archive = ArchivePackFiles::Open(pack.archive, PdscNameOf(pack));
    if (!archive) return Opened::FailureOf(archive);
    return Opened::Success(std::move(archive.Value()));
}

Result<std::string> ReadPackPdsc(const FoundPack& pack, std::uint64_t limit) {
    if (pack.archive.empty()) return FolderPackFiles(pack.folder).Read(PdscNameOf(pack), limit);
    Result<std::unique_ptr<ArchivePackFiles>> archive = ArchivePackFiles::Open(pack.archive, PdscNameOf(pack));
    if (!archive) return Result<std::string>::FailureOf(archive);
    return archive.Value()->Read(archive.Value()->PdscName(), limit);
}
