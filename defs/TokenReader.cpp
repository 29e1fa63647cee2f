#include "defs/TokenReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

const char* const g_ReaderMessages[3] = {
    "no error",
    "file name expected as parameter",
    "error during file load",
};

std::int32_t ReadWholeFile(const char* path, char*& buffer) {
    buffer = nullptr;
    if (!path) return 0;
    // Opened without waiting, so that a FIFO or a device under the file's name
    // cannot stall the load (a FIFO without a writer would block the open for
    // ever); only regular files are read.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 || info.st_size >= INT32_MAX ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return 0;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return 0;
    }
    const auto length = static_cast<std::int32_t>(info.st_size);
    buffer = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (!buffer) {
        std::fclose(file);
        return 0;
    }
    buffer[length] = '\0';
    if (std::fread(buffer, static_cast<size_t>(length), 1, file) != 1) {
        delete[] buffer;
        buffer = nullptr;
        std::fclose(file);
        return 0;
    }
    std::fclose(file);
    return length;
}

CTokenReader::CTokenReader() { ResetDelimiters(); }

CTokenReader::~CTokenReader() { Close(); }

int CTokenReader::Open(const char* path) {
    if (!path) return 1;
    m_pBuffer = nullptr;
    if (ReadWholeFile(path, m_pBuffer) == 0) {
        Close();
        return 2;
    }
    m_pCurrent = m_pBuffer;
    m_cQuote = '"';
    m_cComment = '#';
    ResetDelimiters();
    return 0;
}

void CTokenReader::Close() {
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
    m_pCurrent = nullptr;
}

void CTokenReader::ResetDelimiters() {
    std::memset(m_isDelimiter, 0, sizeof m_isDelimiter);
    m_szDelimiters[0] = '\0';
    for (char c : {' ', '\t', '\r', '\n'}) AddDelimiter(c);
}

void CTokenReader::AddDelimiter(char c) {
    const size_t length = std::strlen(m_szDelimiters);
    if (length >= static_cast<size_t>(kMaxDelimiters)) return;
    m_szDelimiters[length] = c;
    m_szDelimiters[length + 1] = '\0';
    if (c != '\0') m_isDelimiter[static_cast<unsigned char>(c)] = 1;
}

void CTokenReader::SkipDelimiters() {
    if (!m_pCurrent) return;
    // NUL is never in the set, so the end of the text stops the loop too.
    const char* p = m_pCurrent;
    while (m_isDelimiter[static_cast<unsigned char>(*p)]) ++p;
    m_pCurrent = p;
}

namespace {

// Copies a token into the token buffer. The compiler knows that tokens are at
// most kTokenCapacity long and would copy them with a slow-starting string
// instruction; hiding the bound keeps the C library's memcpy, which is much
// faster for the short lengths tokens have.
void CopyToken(char* to, const char* from, size_t length) {
#if defined(__GNUC__)
    __asm__("" : "+r"(length));
#endif
    std::memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

// Quoted strings and comments are scanned with strchr, which stops at the
// text's NUL as well and is much faster than a byte loop on long texts.
const char* CTokenReader::NextToken(int maxLength) {
    if (!m_pBuffer) return nullptr;
    m_szToken[0] = '\0';
    SkipDelimiters();
    if (*m_pCurrent == '\0') return nullptr;
    while (*m_pCurrent == m_cComment) {
        const char* lineEnd = std::strchr(m_pCurrent, '\n');
        if (!lineEnd) {
            m_pCurrent += std::strlen(m_pCurrent);
            return nullptr;
        }
        m_pCurrent = lineEnd;
        SkipDelimiters();
        if (*m_pCurrent == '\0') return nullptr;
    }

    if (*m_pCurrent == m_cQuote) {
        const char* start = m_pCurrent + 1;
        const char* close = m_cQuote != '\0' ? std::strchr(start, m_cQuote) : nullptr;
        const char* end = close ? close : start + std::strlen(start);
        size_t length = static_cast<size_t>(end - start);
        if (length > static_cast<size_t>(kTokenCapacity)) length = kTokenCapacity;
        CopyToken(m_szToken, start, length);
        m_pCurrent = close ? close + 1 : end;
        return m_szToken;
    }

    // At least one character per word, so every call moves on.
    const auto limit = static_cast<size_t>(maxLength < 1 ? 1 : maxLength > kTokenCapacity ? kTokenCapacity : maxLength);
    const char* start = m_pCurrent;
    size_t length = 0;
    while (length < limit) {
        const auto c = static_cast<unsigned char>(start[length]);
        if (c == 0 || m_isDelimiter[c]) break;
        ++length;
    }
    m_pCurrent = start + length;
    CopyToken(m_szToken, start, length);
    return m_szToken;
}
