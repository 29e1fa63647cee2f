// SPDX-License-Identifier: MIT
#pragma once
// The example files shipped in examples/, read whole for tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The bytes of examples/NAME, or "" when it cannot be read. Found from this
// header's own place in the source tree, so no test needs to be told where.
inline std::string ReadExampleFile(const std::string& name) {
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / name;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
