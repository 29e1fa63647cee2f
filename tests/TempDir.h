// SPDX-License-Identifier: MIT
#pragma once
// A fresh directory under the system's temporary folder, removed with its
// contents when the object goes away.
#include <filesystem>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes `bytes` to `name` inside the directory and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};
