// SPDX-License-Identifier: MIT
#include "platform/Environment.h"

#include <cstdlib>
#include <filesystem>

#include "platform/FilePaths.h"

std::optional<std::string> EnvironmentUtf8(std::string_view name) {
#ifdef _WIN32
    const std::wstring wideName = std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size())).wstring();
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (!value) return std::nullopt;
    return Utf8FromPath(std::filesystem::path(std::wstring(value)));
#else
    const char* value = std::getenv(std::string(name).c_str());
    if (!value) return std::nullopt;
    return std::string(value);
#endif
}
