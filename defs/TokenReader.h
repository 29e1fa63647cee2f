// SPDX-License-Identifier: MIT
#pragma once
// Splits one whole text file into words: quoted strings, or runs of
// characters between delimiters, passing over delimiters and '#' comment
// lines. Knows nothing of the grammar of the file.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "problem/Result.h"

// Zero bytes after a text's final NUL, so scans may read whole 16-byte
// blocks without running off the block.
constexpr int kTextPadding = 16;

// Reads the whole file at `path` into a new block holding its bytes, a
// final NUL byte and kTextPadding zero bytes. Returns the length (the caller releases `buffer` with
// delete[]), or 0 with `buffer` null when the file cannot be read, is empty,
// is not a regular file, or is 2 GiB or larger.
std::int32_t ReadWholeFile(const char* path, char*& buffer);
// As ReadWholeFile, for the text on standard input (a file named "-" on the
// command line), to its end.
std::int32_t ReadStandardInput(char*& buffer);

// A new block holding `text` as ReadWholeFile leaves a file's text, for
// reading text that is already in memory (release it with delete[]).
char* NewTextBlock(std::string_view text);

class CTokenReader {
public:
    static constexpr int kTokenCapacity = 1024;
    static constexpr int kMaxDelimiters = 255;

    CTokenReader();
    ~CTokenReader();
    CTokenReader(const CTokenReader&) = delete;
    CTokenReader& operator=(const CTokenReader&) = delete;

    // Loads the text: fails with kNoFileName, "file name expected as
    // parameter", when `path` is null (nothing changes), or with kCannotRead,
    // "error during file load", when the file cannot be read (the reader
    // stays closed). A file larger than kWindowBytes is read a window at a
    // time as the tokens are asked for, so its text is never in memory all at
    // once; the tokens are those of the whole text read at once.
    Status Open(const char* path);
    // Reads `block` instead of a file: a text as ReadWholeFile leaves it (its
    // bytes, a NUL and kTextPadding zero bytes), allocated with new[]. The
    // reader takes it over and releases it on Close.
    void OpenText(char* block);
    void Close();

    void AddDelimiter(char c);
    int IsDelimiter(char c) const { return m_isDelimiter[static_cast<unsigned char>(c)]; }

    // The next token, valid until the next call or Close, or null when the
    // text is used up. An unquoted word takes at most `maxLength` characters
    // (at least 1, never more than the token buffer holds); the rest is the next token.
    // A quoted string keeps its first 1024 characters and the rest up to the
    // closing quote is passed over; a quoted string whose closing quote is
    // missing gives what stands up to the end of the text.
    const char* NextToken(int maxLength = kTokenCapacity);

    bool IsOpen() const { return m_pBuffer != nullptr; }

    // The window a large file is read through.
    static constexpr std::int64_t kWindowBytes = std::int64_t{1} << 20;

private:
    // A token starts with at least this many bytes of the window after it
    // (or the rest of the file), so that any word fits in the window whole.
    static constexpr std::int64_t kLookahead = kTokenCapacity + 2;

    void ResetDelimiters();
    // Opens a file larger than the window for reading a window at a time.
    Status OpenWindowed(std::FILE* file, std::int64_t size);
    // Moves the bytes from `keep` to the end of the window to its start and
    // reads the file on after them; returns where `keep` now stands.
    const char* Refill(const char* keep);
    // Passes over delimiters and comment lines across windows, up to the
    // start of the next token (with kLookahead bytes after it) or the end of
    // the text.
    const char* NextTokenStart(const char* p);
    // Passes over the rest of a quoted string whose closing quote is beyond
    // the window; returns where its closing quote (or the end of the text) is.
    const char* FindQuoteAcrossWindows(char quote);

    char* m_pBuffer = nullptr;
    const char* m_pCurrent = nullptr;
    // A file read a window at a time: the open file, the end of the bytes
    // in the window (a NUL and kTextPadding zero bytes follow), and how many
    // bytes of the file are still to be read; null, null and 0 otherwise.
    std::FILE* m_file = nullptr;
    const char* m_pEnd = nullptr;
    std::int64_t m_nLeft = 0;
    static constexpr char kQuote = '"';
    static constexpr char kComment = '#';
    int m_nDelimiters = 0;  // delimiters added, duplicates too: the set takes at most kMaxDelimiters
    // Room for a 16-byte copy past the longest token.
    char m_szToken[kTokenCapacity + 1 + kTextPadding] = {};
    // The delimiter set as a byte lookup, so each character is tested once.
    unsigned char m_isDelimiter[256] = {};
    // What ends an unquoted word: a delimiter or the end of the text.
    unsigned char m_endsWord[256] = {};
};
