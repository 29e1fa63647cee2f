// SPDX-License-Identifier: MIT
#pragma once
// The example files shipped in examples/, read whole for tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The source tree, as the build names it (TAVLIN_SOURCE_DIR), so a file is
// found whatever directory a test runs in and however the compiler wrote paths.
inline std::filesystem::path SourceTreePath() { return TAVLIN_SOURCE_DIR; }

// The bytes of the file at `path`, or "" when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes of examples/NAME, or "" when it cannot be read.
inline std::string ReadExampleFile(const std::string& name) { return ReadWholeFile(SourceTreePath() / "examples" / name); }
