#pragma once
// Splits one whole text file into words: quoted strings, or runs of
// characters between delimiters, passing over delimiters and '#' comment
// lines. Knows nothing of the grammar of the file.
#include <cstdint>
#include <string_view>

// Zero bytes after a text's final NUL, so scans may read whole 16-byte
// blocks without running off the block.
constexpr int kTextPadding = 16;

// Reads the whole file at `path` into a new block holding its bytes, a
// final NUL byte and kTextPadding zero bytes. Returns the length (the caller releases `buffer` with
// delete[]), or 0 with `buffer` null when the file cannot be read, is empty,
// is not a regular file, or is 2 GiB or larger.
std::int32_t ReadWholeFile(const char* path, char*& buffer);

// A new block holding `text` as ReadWholeFile leaves a file's text, for
// reading text that is already in memory (release it with delete[]).
char* NewTextBlock(std::string_view text);

// The texts of the result codes of CTokenReader::Open.
extern const char* const g_ReaderMessages[3];

class CTokenReader {
public:
    static constexpr int kTokenCapacity = 1024;
    static constexpr int kMaxDelimiters = 255;

    CTokenReader();
    ~CTokenReader();
    CTokenReader(const CTokenReader&) = delete;
    CTokenReader& operator=(const CTokenReader&) = delete;

    // 0: the text is loaded; 1: `path` is null (nothing changes);
    // 2: the file cannot be read (the reader stays closed).
    int Open(const char* path);
    // Reads `block` instead of a file: a text as ReadWholeFile leaves it (its
    // bytes, a NUL and kTextPadding zero bytes), allocated with new[]. The
    // reader takes it over and releases it on Close.
    void OpenText(char* block);
    void Close();

    void AddDelimiter(char c);
    int IsDelimiter(char c) const { return m_isDelimiter[static_cast<unsigned char>(c)]; }
    void SkipDelimiters();

    // The next token, valid until the next call or Close, or null when the
    // text is used up. An unquoted word takes at most `maxLength` characters
    // (at least 1, never more than the token buffer holds); the rest is the next token.
    // A quoted string keeps its first 1024 characters and the rest up to the
    // closing quote is passed over; a quoted string whose closing quote is
    // missing gives what stands up to the end of the text.
    const char* NextToken(int maxLength = kTokenCapacity);

    bool IsOpen() const { return m_pBuffer != nullptr; }

private:
    void ResetDelimiters();

    char* m_pBuffer = nullptr;
    const char* m_pCurrent = nullptr;
    char m_szDelimiters[kMaxDelimiters + 1] = {};
    char m_cQuote = '"';
    char m_cComment = '#';
    // Room for a 16-byte copy past the longest token.
    char m_szToken[kTokenCapacity + 1 + kTextPadding] = {};
    // The delimiter set as a byte lookup, so each character is tested once.
    unsigned char m_isDelimiter[256] = {};
    // What ends an unquoted word: a delimiter or the end of the text.
    unsigned char m_endsWord[256] = {};
};
