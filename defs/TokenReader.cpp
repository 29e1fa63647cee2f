// SPDX-License-Identifier: MIT
#include "defs/TokenReader.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <cstring>
#include <initializer_list>
#include <new>

#include "platform/FilePaths.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

Status CannotLoad() { return Status::Failure(ProblemCode::kCannotRead, "error during file load"); }

// Opens `path` for reading when it is a regular file of 1 byte to under
// 2 GiB, and gives its size; null otherwise. Nothing else is opened: a FIFO
// without a writer would block the open for ever, and a device's size says
// nothing of what reading it gives.
std::FILE* OpenRegularFile(const char* path, std::int64_t& size) {
    std::error_code error;
    const std::filesystem::path name = PathFromUtf8(path);
    if (!std::filesystem::is_regular_file(std::filesystem::status(name, error)) || error) return nullptr;
    const std::uintmax_t bytes = std::filesystem::file_size(name, error);
    if (error || bytes == 0 || bytes >= static_cast<std::uintmax_t>(INT32_MAX)) return nullptr;
    size = static_cast<std::int64_t>(bytes);
    return OpenFileUtf8(path, "rb");
}

// Reads the `length` bytes of the open `file` into a new text block and
// closes it; as ReadWholeFile.
std::int32_t ReadOpenFile(std::FILE* file, std::int32_t length, char*& buffer) {
    buffer = new (std::nothrow) char[static_cast<size_t>(length) + 1 + kTextPadding];
    if (!buffer) {
        std::fclose(file);
        return 0;
    }
    std::memset(buffer + length, 0, 1 + kTextPadding);
    if (std::fread(buffer, static_cast<size_t>(length), 1, file) != 1) {
        delete[] buffer;
        buffer = nullptr;
        std::fclose(file);
        return 0;
    }
    std::fclose(file);
    return length;
}

}  // namespace

std::int32_t ReadWholeFile(const char* path, char*& buffer) {
    buffer = nullptr;
    if (!path) return 0;
    std::int64_t size = 0;
    std::FILE* const file = OpenRegularFile(path, size);
    if (!file) return 0;
    return ReadOpenFile(file, static_cast<std::int32_t>(size), buffer);
}

std::int32_t ReadStandardInput(char*& buffer) {
    buffer = nullptr;
    std::string text;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        // The same bound as a file's: under 2 GiB.
        if (text.size() + got >= static_cast<std::size_t>(INT32_MAX)) return 0;
        text.append(chunk, got);
    }
    if (text.empty()) return 0;
    buffer = NewTextBlock(text);
    return static_cast<std::int32_t>(text.size());
}

char* NewTextBlock(std::string_view text) {
    char* block = new char[text.size() + 1 + kTextPadding];
    std::memcpy(block, text.data(), text.size());
    std::memset(block + text.size(), 0, 1 + kTextPadding);
    return block;
}

CTokenReader::CTokenReader() { ResetDelimiters(); }

CTokenReader::~CTokenReader() { Close(); }

Status CTokenReader::Open(const char* path) {
    if (!path) return Status::Failure(ProblemCode::kNoFileName, "file name expected as parameter");
    Close();
    std::int64_t size = 0;
    std::FILE* const file = OpenRegularFile(path, size);
    if (!file) return CannotLoad();
    if (size > kWindowBytes) return OpenWindowed(file, size);
    char* block = nullptr;
    if (ReadOpenFile(file, static_cast<std::int32_t>(size), block) == 0) return CannotLoad();
    OpenText(block);
    return Succeeded();
}

Status CTokenReader::OpenWindowed(std::FILE* file, std::int64_t size) {
    m_pBuffer = new (std::nothrow) char[static_cast<size_t>(kWindowBytes) + 1 + kTextPadding];
    if (!m_pBuffer) {
        std::fclose(file);
        return CannotLoad();
    }
    m_file = file;
    m_nLeft = size;
    m_pEnd = m_pBuffer;
    m_pCurrent = Refill(m_pBuffer);
    // As a file that cannot be read whole, a file whose first window cannot be read is not opened.
    if (m_pEnd != m_pBuffer + kWindowBytes) {
        Close();
        return CannotLoad();
    }
    ResetDelimiters();
    return Succeeded();
}

const char* CTokenReader::Refill(const char* keep) {
    const auto kept = static_cast<size_t>(m_pEnd - keep);
    std::memmove(m_pBuffer, keep, kept);
    char* end = m_pBuffer + kept;
    std::int64_t wanted = kWindowBytes - static_cast<std::int64_t>(kept);
    if (wanted > m_nLeft) wanted = m_nLeft;
    while (wanted > 0) {
        const auto got = static_cast<std::int64_t>(std::fread(end, 1, static_cast<size_t>(wanted), m_file));
        if (got <= 0) {
            // The file ended early or cannot be read on: the text ends here.
            m_nLeft = 0;
            break;
        }
        end += got;
        wanted -= got;
        m_nLeft -= got;
    }
    std::memset(end, 0, 1 + kTextPadding);
    m_pEnd = end;
    return m_pBuffer;
}

void CTokenReader::OpenText(char* block) {
    Close();
    m_pBuffer = block;
    m_pCurrent = m_pBuffer;
    ResetDelimiters();
}

void CTokenReader::Close() {
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
    m_pCurrent = nullptr;
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_pEnd = nullptr;
    m_nLeft = 0;
}

void CTokenReader::ResetDelimiters() {
    std::memset(m_isDelimiter, 0, sizeof m_isDelimiter);
    std::memset(m_endsWord, 0, sizeof m_endsWord);
    m_endsWord[0] = 1;
    m_nDelimiters = 0;
    for (char c : {' ', '\t', '\r', '\n'}) AddDelimiter(c);
}

void CTokenReader::AddDelimiter(char c) {
    // A NUL is never a delimiter and takes no place in the set.
    if (m_nDelimiters >= kMaxDelimiters || c == '\0') return;
    ++m_nDelimiters;
    m_isDelimiter[static_cast<unsigned char>(c)] = 1;
    m_endsWord[static_cast<unsigned char>(c)] = 1;
}

namespace {

// The first `quote` or NUL at or after `p`. The text is followed by
// kTextPadding zero bytes, so whole 16-byte blocks may be read.
const char* FindQuoteOrEnd(const char* p, char quote) {
#if defined(__SSE2__)
    const __m128i quotes = _mm_set1_epi8(quote);
    const __m128i zeros = _mm_setzero_si128();
    for (;; p += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, quotes), _mm_cmpeq_epi8(block, zeros)));
        if (hits) return p + __builtin_ctz(static_cast<unsigned>(hits));
    }
#else
    while (*p != quote && *p != '\0') ++p;
    return p;
#endif
}

// Copies a token into the token buffer and ends it with NUL. Short tokens,
// the most common, are copied as one 16-byte block: the text's padding and
// the token buffer's spare room make that safe.
// A string over lines reads the same with CRLF line ends as with LF: each
// carriage return before a line feed is taken out of the token (NUL-ended,
// `length` bytes).
void DropCarriageReturns(char* token, size_t length) {
    char* from = static_cast<char*>(std::memchr(token, '\r', length));
    if (!from) return;
    char* to = from;
    for (char* const end = token + length; from < end; ++from)
        if (!(*from == '\r' && from + 1 < end && from[1] == '\n')) *to++ = *from;
    *to = '\0';
}

void CopyToken(char* to, const char* from, size_t length) {
#if defined(__SSE2__)
    if (length < 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        to[length] = '\0';
        return;
    }
#endif
#if defined(__GNUC__)
    // Hides the bound from the compiler, which would otherwise copy with a
    // slow-starting string instruction instead of the library's memcpy.
    __asm__("" : "+r"(length));
#endif
    std::memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

// Rarely called (once a window), so kept out of NextToken, whose registers it would crowd.
[[gnu::noinline, gnu::cold]] const char* CTokenReader::NextTokenStart(const char* p) {
    bool inComment = false;
    for (;;) {
        if (m_nLeft > 0 && m_pEnd - p < kLookahead) p = Refill(p);
        if (inComment) {
            // The rest of a comment line: up to its line feed, the end of the
            // window (read on) or a NUL in the text (its end, as when read whole).
            const char* lineEnd = std::strchr(p, '\n');
            if (!lineEnd) {
                p += std::strlen(p);
                if (p == m_pEnd && m_nLeft > 0) continue;
                return p;
            }
            p = lineEnd;
            inComment = false;
        }
        while (m_isDelimiter[static_cast<unsigned char>(*p)]) ++p;
        if (*p == '\0') {
            if (p == m_pEnd && m_nLeft > 0) continue;
            return p;
        }
        if (*p == kComment) {
            inComment = true;
            continue;
        }
        if (m_nLeft > 0 && m_pEnd - p < kLookahead) continue;
        return p;
    }
}

[[gnu::noinline, gnu::cold]] const char* CTokenReader::FindQuoteAcrossWindows(char quote) {
    for (;;) {
        const char* p = Refill(m_pEnd);
        const char* end = FindQuoteOrEnd(p, quote);
        if (*end != '\0' || end != m_pEnd || m_nLeft == 0) return end;
    }
}

// Works on a local copy of the position: the token buffer's char writes
// could otherwise alias every member and force reloads.
const char* CTokenReader::NextToken(int maxLength) {
    if (!m_pBuffer) return nullptr;
    char* const token = m_szToken;
    token[0] = '\0';
    const unsigned char* const isDelimiter = m_isDelimiter;
    const char* p = m_pCurrent;
    while (isDelimiter[static_cast<unsigned char>(*p)]) ++p;
    const char comment = kComment;
    while (*p == comment && *p != '\0') {
        const char* lineEnd = std::strchr(p, '\n');
        if (!lineEnd) {
            // A comment line going on past the window of a file read a window at a time.
            if (m_nLeft > 0) {
                p = NextTokenStart(p);
                break;
            }
            m_pCurrent = p + std::strlen(p);
            return nullptr;
        }
        p = lineEnd;
        while (isDelimiter[static_cast<unsigned char>(*p)]) ++p;
    }
    // Near the end of the window (delimiters or a comment may run on past
    // it), the next token is found across windows, and the window then holds
    // all of it.
    if (m_nLeft > 0 && m_pEnd - p < kLookahead) p = NextTokenStart(p);
    if (*p == '\0') {
        m_pCurrent = p;
        return nullptr;
    }

    const char quote = kQuote;
    if (*p == quote) {
        const char* start = p + 1;
        const char* end = FindQuoteOrEnd(start, quote);
        const auto length = static_cast<size_t>(end - start);
        const size_t kept = length < static_cast<size_t>(kTokenCapacity) ? length : kTokenCapacity;
        CopyToken(token, start, kept);
        DropCarriageReturns(token, kept);
        // A string going on past the window holds more than the token keeps:
        // the rest is passed over up to its closing quote.
        if (*end == '\0' && end == m_pEnd && m_nLeft > 0) end = FindQuoteAcrossWindows(quote);
        m_pCurrent = *end != '\0' ? end + 1 : end;
        return token;
    }

    // At least one character per word, so every call moves on.
    const auto limit = static_cast<size_t>(maxLength < 1 ? 1 : maxLength > kTokenCapacity ? kTokenCapacity : maxLength);
    const unsigned char* const endsWord = m_endsWord;
    size_t length = 0;
    while (length < limit && !endsWord[static_cast<unsigned char>(p[length])]) ++length;
    CopyToken(token, p, length);
    m_pCurrent = p + length;
    return token;
}
