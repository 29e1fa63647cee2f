// SPDX-License-Identifier: MIT
#include "platform/FilePaths.h"

#include <string>

namespace {

// The path as written, for taking names apart.
std::filesystem::path NameOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    std::filesystem::path path = NameOf(utf8);
#ifdef _WIN32
    // Windows takes a name of MAX_PATH (260) characters or more, and a folder
    // of more than MAX_PATH - 12, only in its extended form ("\\?\C:\..." or
    // "\\?\UNC\server\share\..."): absolute, backslashes only, no "." or "..",
    // taken as given. A relative name counts as the absolute one it stands for.
    constexpr std::size_t kLongest = 260 - 12;
    if ((path.is_absolute() && path.native().size() < kLongest) || path.native().starts_with(L"\\\\?\\")) return path;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error || full.native().size() < kLongest) return path;
    full = full.lexically_normal().make_preferred();
    const std::wstring& text = full.native();
    if (text.starts_with(L"\\\\")) return std::filesystem::path(L"\\\\?\\UNC\\" + text.substr(2));
    return std::filesystem::path(L"\\\\?\\" + text);
#else
    return path;
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string Utf8FileName(std::string_view utf8) { return Utf8FromPath(NameOf(utf8).filename()); }

std::string Utf8ParentFolder(std::string_view utf8) { return Utf8FromPath(NameOf(utf8).parent_path()); }

std::string Utf8AbsolutePath(std::string_view utf8) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(NameOf(utf8), error);
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
