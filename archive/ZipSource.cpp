// SPDX-License-Identifier: MIT
#include "archive/ZipSource.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/FilePaths.h"

namespace {

class CFileSource final : public IZipSource {
public:
    CFileSource(std::ifstream stream, std::uint64_t size) : m_stream(std::move(stream)), m_size(size) {}

    std::uint64_t Read(void* buffer, std::uint64_t count) override {
        count = std::min(count, m_size - std::min(m_offset, m_size));
        if (count == 0) return 0;
        m_stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
        const auto got = static_cast<std::uint64_t>(m_stream.gcount());
        if (got < count) m_failed = true;  // the file shrank under us, or the disk failed
        m_stream.clear();
        m_offset += got;
        return got;
    }
    bool Seek(std::uint64_t offset) override {
        if (offset > m_size) return false;
        m_stream.clear();
        if (!m_stream.seekg(static_cast<std::streamoff>(offset))) {
            m_failed = true;
            return false;
        }
        m_offset = offset;
        return true;
    }
    std::uint64_t Tell() const override { return m_offset; }
    std::uint64_t Size() const override { return m_size; }
    bool Failed() const override { return m_failed; }

private:
    std::ifstream m_stream;
    std::uint64_t m_size;
    std::uint64_t m_offset = 0;
    bool m_failed = false;
};

class CMemorySource final : public IZipSource {
public:
    explicit CMemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::uint64_t Read(void* buffer, std::uint64_t count) override {
        count = std::min<std::uint64_t>(count, m_bytes.size() - m_offset);
        if (count != 0) std::memcpy(buffer, m_bytes.data() + m_offset, static_cast<std::size_t>(count));
        m_offset += static_cast<std::size_t>(count);
        return count;
    }
    bool Seek(std::uint64_t offset) override {
        if (offset > m_bytes.size()) return false;
        m_offset = static_cast<std::size_t>(offset);
        return true;
    }
    std::uint64_t Tell() const override { return m_offset; }
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool Failed() const override { return false; }

private:
    std::string m_bytes;
    std::size_t m_offset = 0;
};

}  // namespace

Result<std::unique_ptr<IZipSource>> OpenZipFileSource(std::string_view utf8Path) {
    using Out = Result<std::unique_ptr<IZipSource>>;
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return Out::Failure(ProblemCode::kCannotRead, "cannot open the file");
    if (!std::filesystem::is_regular_file(status))
        return Out::Failure(ProblemCode::kNotRegularFile, "not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return Out::Failure(ProblemCode::kCannotRead, "cannot tell the file's size");
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return Out::Failure(ProblemCode::kCannotRead, "cannot open the file");
    return Out::Success(std::make_unique<CFileSource>(std::move(stream), size));
}

std::unique_ptr<IZipSource> MakeZipMemorySource(std::string bytes) {
    return std::make_unique<CMemorySource>(std::move(bytes));
}
