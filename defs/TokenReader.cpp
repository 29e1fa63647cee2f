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
    while (*m_pCurrent != '\0' && IsDelimiter(*m_pCurrent)) ++m_pCurrent;
}

const char* CTokenReader::NextToken(int maxLength) {
    if (!m_pBuffer) return nullptr;
    m_szToken[0] = '\0';
    SkipDelimiters();
    if (*m_pCurrent == '\0') return nullptr;
    while (*m_pCurrent == m_cComment) {
        while (*m_pCurrent != '\0' && *m_pCurrent != '\n') ++m_pCurrent;
        if (*m_pCurrent == '\0') return nullptr;
        SkipDelimiters();
        if (*m_pCurrent == '\0') return nullptr;
    }

    if (*m_pCurrent == m_cQuote) {
        ++m_pCurrent;
        const char* start = m_pCurrent;
        while (*m_pCurrent != '\0' && *m_pCurrent != m_cQuote) ++m_pCurrent;
        size_t length = static_cast<size_t>(m_pCurrent - start);
        if (length > static_cast<size_t>(kTokenCapacity)) length = kTokenCapacity;
        std::memcpy(m_szToken, start, length);
        m_szToken[length] = '\0';
        if (*m_pCurrent == m_cQuote) ++m_pCurrent;
        return m_szToken;
    }

    // At least one character per word, so every call moves on.
    const auto limit = static_cast<size_t>(maxLength < 1 ? 1 : maxLength > kTokenCapacity ? kTokenCapacity : maxLength);
    const char* start = m_pCurrent;
    size_t length = 0;
    while (length < limit && start[length] != '\0' && !IsDelimiter(start[length])) ++length;
    m_pCurrent = start + length;
    std::memcpy(m_szToken, start, length);
    m_szToken[length] = '\0';
    return m_szToken;
}
