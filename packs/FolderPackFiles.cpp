// SPDX-License-Identifier: MIT
#include "packs/FolderPackFiles.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "platform/FilePaths.h"

namespace {

std::string Joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

}  // namespace

FolderPackFiles::FolderPackFiles(std::string folder) : m_folder(std::move(folder)) {}

Result<std::string> FolderPackFiles::Read(std::string_view relativePath, std::uint64_t limit) const {
    const std::string name = PackRelativeName(relativePath);
    if (name.empty())
        return Result<std::string>::Failure(ProblemCode::kCannotRead,
                                            "'" + std::string(relativePath) + "' is not a name inside the pack");
    const std::string file = Joined(m_folder, name);
    std::error_code error;
    const std::filesystem::path path = PathFromUtf8(file);
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return Result<std::string>::Failure(ProblemCode::kCannotRead, "'" + file + "' does not exist");
    if (!std::filesystem::is_regular_file(status))
        return Result<std::string>::Failure(ProblemCode::kNotRegularFile, "'" + file + "' is not a file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return Result<std::string>::Failure(ProblemCode::kCannotRead, "cannot read '" + file + "'");
    if (size > limit)
        return Result<std::string>::Failure(ProblemCode::kTooLarge, "'" + file + "' is larger than " +
                                                                        std::to_string(limit) + " bytes");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(OpenFileUtf8(file, "rb"), &std::fclose);
    if (!stream) return Result<std::string>::Failure(ProblemCode::kCannotRead, "cannot open '" + file + "'");
    // Read whole, as the size says; a file that grew since is read on past it up to the limit.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), stream.get()));
    char buffer[65536];
    std::size_t got = 0;
    while (bytes.size() == size && (got = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0) {
        if (bytes.size() + got > limit)  // grew while read
            return Result<std::string>::Failure(ProblemCode::kTooLarge, "'" + file + "' is larger than " +
                                                                            std::to_string(limit) + " bytes");
        bytes.append(buffer, got);
    }
    if (std::ferror(stream.get()))
        return Result<std::string>::Failure(ProblemCode::kCannotRead, "cannot read '" + file + "'");
    return Result<std::string>::Success(std::move(bytes));
}

bool FolderPackFiles::Exists(std::string_view relativePath) const {
    const std::string name = PackRelativeName(relativePath);
    if (name.empty()) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(Joined(m_folder, name)), error);
}
