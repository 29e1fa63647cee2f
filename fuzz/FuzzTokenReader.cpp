// SPDX-License-Identifier: MIT
// Fuzzes CTokenReader: any bytes as a file, read to the end with the loader's
// delimiters (plus some the input picks) and an input-chosen word length.
// Every token is compared with a plain model of the token rules, and the
// reader must never hand out more than its 1024-character buffer holds, must
// move on at every call and must stay at the end once there.
//
// Input layout: bytes 0-1 choose maxLength, byte 2 the number of extra
// delimiters (255: enough to overflow the 255-character set), then the extra
// delimiter characters, then the file's contents.
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "defs/TokenReader.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr size_t kTokenCapacity = CTokenReader::kTokenCapacity;

int MaxLengthFrom(std::uint16_t raw) {
    if (raw == 0xFFFF) return INT_MAX;
    if (raw == 0xFFFE) return INT_MIN;
    return static_cast<int>(raw % 1040) - 8;  // -8 .. 1031: both clamps and every length between
}

// The token rules written out plainly over the text up to its first NUL.
class ModelReader {
public:
    ModelReader(std::string_view text, std::string_view delimiters, int maxLength)
        : m_text(text.substr(0, text.find('\0'))), m_delimiters(delimiters),
          m_limit(maxLength < 1 ? 1 : maxLength > static_cast<int>(kTokenCapacity) ? kTokenCapacity
                                                                                    : static_cast<size_t>(maxLength)) {}

    // False at the end of the text; otherwise the next token in `token`.
    bool Next(std::string& token) {
        SkipDelimiters();
        while (m_pos < m_text.size() && m_text[m_pos] == '#') {
            const size_t lineEnd = m_text.find('\n', m_pos);
            if (lineEnd == std::string_view::npos) {
                m_pos = m_text.size();
                return false;
            }
            m_pos = lineEnd;
            SkipDelimiters();
        }
        if (m_pos >= m_text.size()) return false;
        if (m_text[m_pos] == '"') {
            const size_t start = m_pos + 1;
            const size_t close = m_text.find('"', start);
            const size_t end = close == std::string_view::npos ? m_text.size() : close;
            token.clear();
            // What the token keeps, each carriage return before a line feed in it taken out.
            const std::string_view kept = m_text.substr(start, std::min(end - start, kTokenCapacity));
            for (size_t i = 0; i < kept.size(); ++i)
                if (!(kept[i] == '\r' && i + 1 < kept.size() && kept[i + 1] == '\n')) token += kept[i];
            m_pos = close == std::string_view::npos ? m_text.size() : close + 1;
            return true;
        }
        size_t length = 0;
        while (length < m_limit && m_pos + length < m_text.size() && !IsDelimiter(m_text[m_pos + length])) ++length;
        token.assign(m_text.substr(m_pos, length));
        m_pos += length;
        return true;
    }

private:
    bool IsDelimiter(char c) const { return m_delimiters.find(c) != std::string_view::npos; }
    void SkipDelimiters() {
        while (m_pos < m_text.size() && IsDelimiter(m_text[m_pos])) ++m_pos;
    }

    std::string_view m_text;
    std::string_view m_delimiters;
    size_t m_limit;
    size_t m_pos = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int maxLength = MaxLengthFrom(static_cast<std::uint16_t>(data[0] | data[1] << 8));
    const bool overflowSet = data[2] == 255;
    const size_t extraCount = overflowSet ? 0 : std::min<size_t>(data[2] % 8, size - 3);
    const auto* extras = data + 3;
    const auto* contents = extras + extraCount;
    const size_t contentSize = size - 3 - extraCount;

    CTokenReader reader;
    FUZZ_CHECK(reader.NextToken(maxLength) == nullptr);  // closed
    reader.OpenText(NewTextBlock(std::string_view(reinterpret_cast<const char*>(contents), contentSize)));
    FUZZ_CHECK(reader.IsOpen());

    // What the set should hold: the default four, the loader's three, then
    // the extras while there is room (a NUL is never a delimiter).
    std::string delimiters = " \t\r\n=<>";
    reader.AddDelimiter('=');
    reader.AddDelimiter('<');
    reader.AddDelimiter('>');
    const size_t addCount = overflowSet ? 300 : extraCount;
    for (size_t i = 0; i < addCount; ++i) {
        const char c = overflowSet ? static_cast<char>(1 + i % 255) : static_cast<char>(extras[i]);
        reader.AddDelimiter(c);
        if (c != '\0' && delimiters.size() < static_cast<size_t>(CTokenReader::kMaxDelimiters)) delimiters += c;
    }
    for (int c = 0; c < 256; ++c) {
        const bool inSet = c != 0 && delimiters.find(static_cast<char>(c)) != std::string::npos;
        FUZZ_CHECK(reader.IsDelimiter(static_cast<char>(c)) == (inSet ? 1 : 0));
    }

    const std::string_view text(reinterpret_cast<const char*>(contents), contentSize);
    ModelReader model(text, delimiters, maxLength);
    std::string expected;
    size_t tokens = 0;
    for (;;) {
        const char* token = reader.NextToken(maxLength);
        const bool modelHasToken = model.Next(expected);
        FUZZ_CHECK((token != nullptr) == modelHasToken);
        if (!token) break;
        const size_t length = strnlen(token, kTokenCapacity + 1);
        FUZZ_CHECK(length <= kTokenCapacity);
        FUZZ_CHECK(expected == std::string_view(token, length));
        // Every token takes at least one character of the text, so the loop ends.
        FUZZ_CHECK(++tokens <= contentSize);
    }
    FUZZ_CHECK(reader.NextToken(maxLength) == nullptr);  // and stays at the end
    reader.Close();
    FUZZ_CHECK(!reader.IsOpen() && reader.NextToken(maxLength) == nullptr);
    return 0;
}
