// SPDX-License-Identifier: MIT
#include "packs/PackSource.h"

#include "packs/FolderPackFiles.h"

Result<std::unique_ptr<PackFiles>> OpenPackFiles(const FoundPack& pack) {
    using Opened = Result<std::unique_ptr<PackFiles>>;
    if (!pack.archive.empty())
        // A .pack archive is read by the archive library, which the catalog does not use yet.
        return Opened::Failure(ProblemCode::kNotSupported, "'" + pack.archive + "': packs in archives are not read yet");
    return Opened::Success(std::make_unique<FolderPackFiles>(pack.folder));
}
