// SPDX-License-Identifier: MIT
#pragma once
// The files of an unpacked pack: its VENDOR/NAME/VERSION folder on disk.
#include <string>

#include "packs/PackFiles.h"

class FolderPackFiles final : public PackFiles {
public:
    // `folder` as UTF-8.
    explicit FolderPackFiles(std::string folder);

    Result<std::string> Read(std::string_view relativePath, std::uint64_t limit) const override;
    bool Exists(std::string_view relativePath) const override;
    std::string Where() const override { return m_folder; }

private:
    std::string m_folder;
};
