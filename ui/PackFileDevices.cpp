// SPDX-License-Identifier: MIT
#include "ui/PackFileDevices.h"

#include <algorithm>
#include <cctype>

bool IsPackFile(const std::string& path) {
    constexpr std::string_view kExtension = ".pack";
    if (path.size() <= kExtension.size()) return false;
    return std::equal(kExtension.begin(), kExtension.end(), path.end() - static_cast<std::ptrdiff_t>(kExtension.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

Result<DeviceCatalog> DevicesOfPackFile(const std::string& packFile) {
    // The packs library reads no .pack archive's pdsc yet; until it does, the
    // window says so instead of trying the archive as a register file.
    return Result<DeviceCatalog>::Failure(ProblemCode::kNotSupported,
                                          packFile + ": tavlin cannot read the devices of a .pack file yet");
}
