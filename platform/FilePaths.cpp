// SPDX-License-Identifier: MIT
#include "platform/FilePaths.h"

#include <string>

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string Utf8FileName(std::string_view utf8) { return Utf8FromPath(PathFromUtf8(utf8).filename()); }

std::string Utf8ParentFolder(std::string_view utf8) { return Utf8FromPath(PathFromUtf8(utf8).parent_path()); }

std::string Utf8AbsolutePath(std::string_view utf8) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(utf8), error);
    return error ? std::string(utf8) : Utf8FromPath(absolute.lexically_normal());
}

std::FILE* OpenFileUtf8(std::string_view utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(PathFromUtf8(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(std::string(utf8).c_str(), mode);
#endif
}
