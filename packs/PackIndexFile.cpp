// SPDX-License-Identifier: MIT
#include "packs/PackIndexFile.h"

namespace {

constexpr std::string_view kMagic = "tavlin pack index\n";
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::string_view kEnd = "end\n";

class Writer {
public:
    void Number(std::uint64_t value) {
        for (int i = 0; i < 8; ++i) m_bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    void Text(const std::string& text) {
        Number(text.size());
        m_bytes += text;
    }
    void Raw(std::string_view bytes) { m_bytes += bytes; }
    std::string Take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    bool Failed() const { return m_failed; }
    bool AtEnd() const { return m_at == m_bytes.size(); }

    std::uint64_t Number() {
        if (m_bytes.size() - m_at < 8) return Fail();
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(m_bytes[m_at + i])) << (8 * i);
        m_at += 8;
        return value;
    }
    // A count of items that each take at least `least` bytes: never more than the bytes left allow.
    std::uint64_t Count(std::size_t least) {
        const std::uint64_t count = Number();
        if (count > (m_bytes.size() - m_at) / least) return Fail();
        return count;
    }
    std::string Text() {
        const std::uint64_t size = Number();
        if (m_failed || size > m_bytes.size() - m_at) return Fail(), std::string();
        std::string text(m_bytes.substr(m_at, size));
        m_at += size;
        return text;
    }
    bool Raw(std::string_view expected) {
        if (m_bytes.substr(m_at, expected.size()) != expected) return Fail(), false;
        m_at += expected.size();
        return true;
    }

private:
    std::uint64_t Fail() {
        m_failed = true;
        m_at = m_bytes.size();
        return 0;
    }

    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_failed = false;
};

}  // namespace

std::string WritePackIndex(const std::vector<PackIndexEntry>& entries) {
    Writer out;
    out.Raw(kMagic);
    out.Number(kFormatVersion);
    out.Number(entries.size());
    for (const PackIndexEntry& entry : entries) {
        out.Text(entry.pdsc);
        out.Number(entry.size);
        out.Number(static_cast<std::uint64_t>(entry.time));
        out.Text(entry.problem);
        out.Number(static_cast<std::uint64_t>(entry.problemLine));
        const PackDescription& description = entry.description;
        out.Text(description.vendor);
        out.Text(description.name);
        out.Text(description.version);
        out.Number(description.devices.size());
        for (const PackDevice& device : description.devices) {
            out.Text(device.name);
            out.Text(device.vendor);
            out.Text(device.family);
            out.Text(device.subFamily);
            out.Number(device.processors.size());
            for (const PackProcessor& processor : device.processors) {
                out.Text(processor.name);
                out.Text(processor.core);
                out.Text(processor.svd);
            }
        }
    }
    out.Raw(kEnd);
    return out.Take();
}

std::optional<std::vector<PackIndexEntry>> ReadPackIndex(std::string_view bytes) {
    Reader in(bytes);
    if (!in.Raw(kMagic) || in.Number() != kFormatVersion) return std::nullopt;
    std::vector<PackIndexEntry> entries;
    const std::uint64_t count = in.Count(9 * 8);
    for (std::uint64_t i = 0; i < count && !in.Failed(); ++i) {
        PackIndexEntry entry;
        entry.pdsc = in.Text();
        entry.size = in.Number();
        entry.time = static_cast<std::int64_t>(in.Number());
        entry.problem = in.Text();
        entry.problemLine = static_cast<int>(in.Number() & 0x7FFFFFFF);
        PackDescription& description = entry.description;
        description.vendor = in.Text();
        description.name = in.Text();
        description.version = in.Text();
        const std::uint64_t devices = in.Count(5 * 8);
        for (std::uint64_t d = 0; d < devices && !in.Failed(); ++d) {
            PackDevice device;
            device.name = in.Text();
            device.vendor = in.Text();
            device.family = in.Text();
            device.subFamily = in.Text();
            const std::uint64_t processors = in.Count(3 * 8);
            for (std::uint64_t p = 0; p < processors && !in.Failed(); ++p) {
                PackProcessor processor;
                processor.name = in.Text();
                processor.core = in.Text();
                processor.svd = in.Text();
                device.processors.push_back(std::move(processor));
            }
            description.devices.push_back(std::move(device));
        }
        entries.push_back(std::move(entry));
    }
    if (in.Failed() || !in.Raw(kEnd) || !in.AtEnd()) return std::nullopt;
    return entries;
}
