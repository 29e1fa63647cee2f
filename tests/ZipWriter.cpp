// SPDX-License-Identifier: MIT
#include "tests/ZipWriter.h"

#include <algorithm>
#include <stdexcept>

#include <zlib.h>

namespace {

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

}  // namespace

std::string ZipWriter::Deflate(std::string_view bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) throw std::runtime_error("deflate did not finish");
    return out;
}

ZipWriter& ZipWriter::Add(std::string name, std::string_view bytes, bool deflate, const ZipEntryLies& lies) {
    const std::string body = deflate ? Deflate(bytes) : std::string(bytes);
    const auto realCrc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    const std::uint16_t method = lies.method.value_or(deflate ? 8 : 0);
    const std::uint16_t flags = lies.encrypted ? 1 : 0;
    const std::uint32_t crc = lies.crc.value_or(realCrc);
    const std::uint32_t size = lies.size.value_or(static_cast<std::uint32_t>(bytes.size()));
    const std::uint32_t compressed = lies.compressedSize.value_or(static_cast<std::uint32_t>(body.size()));
    const auto offset = static_cast<std::uint32_t>(m_data.size());

    // The fields local and central headers share, from "version needed" on.
    std::string common;
    Put16(common, 20);
    Put16(common, flags);
    Put16(common, method);
    Put16(common, 0);  // time
    Put16(common, 0x21);  // date: 1980-01-01
    Put32(common, crc);
    Put32(common, compressed);
    Put32(common, size);
    Put16(common, static_cast<std::uint32_t>(name.size()));
    Put16(common, 0);  // extra field

    Put32(m_data, 0x04034b50);
    m_data += common + name + body;

    Put32(m_directory, 0x02014b50);
    Put16(m_directory, 20);  // made by
    m_directory += common;
    Put16(m_directory, 0);  // comment
    Put16(m_directory, 0);  // disk
    Put16(m_directory, 0);  // internal attributes
    Put32(m_directory, 0);  // external attributes
    Put32(m_directory, offset);
    m_directory += name;
    ++m_count;
    return *this;
}

std::string ZipWriter::Finish(const ZipDirectoryLies& lies) const {
    std::string directory = m_directory;
    directory.resize(directory.size() - std::min(lies.cutDirectory, directory.size()));
    std::string out = m_data + directory;
    const std::uint16_t count = lies.entryCount.value_or(m_count);
    Put32(out, 0x06054b50);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // the directory's disk
    Put16(out, count);
    Put16(out, count);
    Put32(out, lies.directorySize.value_or(static_cast<std::uint32_t>(m_directory.size())));
    Put32(out, lies.directoryOffset.value_or(static_cast<std::uint32_t>(m_data.size())));
    Put16(out, 0);  // comment
    return out;
}
