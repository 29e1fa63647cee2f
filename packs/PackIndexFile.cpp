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

// A list: its count, then each item written by `writeOne`.
template <typename T, typename WriteOne>
void WriteList(Writer& out, const std::vector<T>& items, WriteOne writeOne) {
    out.Number(items.size());
    for (const T& item : items) writeOne(item);
}

}  // namespace

std::string WritePackIndex(const std::vector<PackIndexEntry>& entries) {
    Writer out;
    out.Raw(kMagic);
    out.Number(kFormatVersion);
    WriteList(out, entries, [&out](const PackIndexEntry& entry) {
        out.Text(entry.pdsc);
        out.Number(entry.size);
        out.Number(static_cast<std::uint64_t>(entry.time));
        out.Text(entry.problem);
        out.Number(static_cast<std::uint64_t>(entry.problemLine));
        const PackDescription& description = entry.description;
        out.Text(description.vendor);
        out.Text(description.name);
        out.Text(description.version);
        WriteList(out, description.devices, [&out](const PackDevice& device) {
            out.Text(device.name);
            out.Text(device.vendor);
            out.Text(device.family);
            out.Text(device.subFamily);
            WriteList(out, device.processors, [&out](const PackProcessor& processor) {
                out.Text(processor.name);
                out.Text(processor.core);
                out.Text(processor.svd);
            });
        });
    });
    out.Raw(kEnd);
    return out.Take();
}

namespace {

// A list as the writer leaves it: its count, then each item read by `readOne`
// (an item takes at least `least` bytes, so a count the bytes cannot hold fails).
template <typename T, typename ReadOne>
std::vector<T> ReadList(Reader& in, std::size_t least, ReadOne readOne) {
    std::vector<T> items;
    const std::uint64_t count = in.Count(least);
    for (std::uint64_t i = 0; i < count && !in.Failed(); ++i) readOne(items.emplace_back());
    return items;
}

}  // namespace

std::optional<std::vector<PackIndexEntry>> ReadPackIndex(std::string_view bytes) {
    Reader in(bytes);
    if (!in.Raw(kMagic) || in.Number() != kFormatVersion) return std::nullopt;
    std::vector<PackIndexEntry> entries = ReadList<PackIndexEntry>(in, 9 * 8, [&in](PackIndexEntry& entry) {
        entry.pdsc = in.Text();
        entry.size = in.Number();
        entry.time = static_cast<std::int64_t>(in.Number());
        entry.problem = in.Text();
        entry.problemLine = static_cast<int>(in.Number() & 0x7FFFFFFF);
        PackDescription& description = entry.description;
        description.vendor = in.Text();
        description.name = in.Text();
        description.version = in.Text();
        description.devices = ReadList<PackDevice>(in, 5 * 8, [&in](PackDevice& device) {
            device.name = in.Text();
            device.vendor = in.Text();
            device.family = in.Text();
            device.subFamily = in.Text();
            device.processors = ReadList<PackProcessor>(in, 3 * 8, [&in](PackProcessor& processor) {
                processor.name = in.Text();
                processor.core = in.Text();
                processor.svd = in.Text();
            });
        });
    });
    if (in.Failed() || !in.Raw(kEnd) || !in.AtEnd()) return std::nullopt;
    return entries;
}
