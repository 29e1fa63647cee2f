// SPDX-License-Identifier: MIT
#include "tests/TempDir.h"

#include <fstream>
#include <random>
#include <stdexcept>

#include "platform/FilePaths.h"

TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto path = folder / ("tavlin-test-" + std::to_string(random() % 1'000'000'000'000ULL));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            m_path = path;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const auto path = m_path / PathFromUtf8(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Utf8FromPath(path);
}
