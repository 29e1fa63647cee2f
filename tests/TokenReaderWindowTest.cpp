// SPDX-License-Identifier: MIT
// A file larger than the reader's window is read a window at a time: its
// tokens must be exactly those of the same bytes read whole, whatever stands
// across the windows' edges (long words, quoted strings, comment lines and
// runs of delimiters longer than a window, a NUL in the text, a missing
// closing quote at the end).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "defs/TokenReader.h"
#include "platform/FilePaths.h"
#include "tests/TempDir.h"

namespace {

constexpr size_t kWindow = static_cast<size_t>(CTokenReader::kWindowBytes);

std::vector<std::string> Tokens(CTokenReader& reader, int maxLength) {
    reader.AddDelimiter('=');
    reader.AddDelimiter('<');
    reader.AddDelimiter('>');
    std::vector<std::string> tokens;
    while (const char* token = reader.NextToken(maxLength)) tokens.emplace_back(token);
    return tokens;
}

std::vector<std::string> TokensOfText(const std::string& text, int maxLength) {
    CTokenReader reader;
    reader.OpenText(NewTextBlock(text));
    return Tokens(reader, maxLength);
}

std::vector<std::string> TokensOfFile(const std::string& path, int maxLength) {
    CTokenReader reader;
    EXPECT_TRUE(reader.Open(path.c_str()).Ok());
    return Tokens(reader, maxLength);
}

// A text of about `size` bytes of the file's kinds of pieces, some far
// longer than a window when `long_pieces` is set.
std::string MixedText(unsigned seed, size_t size, bool longPieces) {
    std::mt19937 rng(seed);
    auto below = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
    std::string text;
    while (text.size() < size) {
        const size_t big = longPieces && below(40) == 0 ? kWindow + below(kWindow) : 0;
        switch (below(7)) {
        case 0: text += std::string(1 + (big ? big : below(1500)), static_cast<char>('a' + below(26))); break;
        case 1: text += '"' + std::string(big ? big : below(1100), 'q') + '"'; break;
        case 2: text += "# " + std::string(big ? big : below(200), 'c') + '\n'; break;
        case 3: text += std::string(1 + (big ? big : below(2000)), " \t\r\n"[below(4)]); break;
        case 4: text += "<field name=\"EN\" kind=\"edit\" info=\"a description\" low=\"0\" high=\"3\">\n"; break;
        case 5: text += "=<>"; break;
        default: text += " x" + std::to_string(below(100000)) + '\n'; break;
        }
    }
    return text;
}

TEST(TokenReaderWindow, FileReadAWindowAtATimeGivesTheTokensOfTheWholeText) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"short pieces", MixedText(1, 3 * kWindow, false)},
        {"pieces longer than a window", MixedText(2, 4 * kWindow, true)},
        {"just over one window", MixedText(3, kWindow + 1, false)},
        {"a quoted string without its closing quote at the end", MixedText(4, 2 * kWindow, false) + "\"" +
                                                                      std::string(kWindow + 7, 'z')},
        {"a comment line at the end without its line feed", MixedText(5, 2 * kWindow, false) + "\n# tail"},
        {"a NUL ends the text", MixedText(6, kWindow + 5000, false) + std::string(1, '\0') + "after the NUL"},
        {"a NUL inside a long quoted string", std::string(10, ' ') + '"' + std::string(kWindow + 3, 'q') +
                                                  std::string(1, '\0') + "\" more"},
        {"delimiters only", std::string(2 * kWindow + 3, ' ')},
        {"a comment line longer than two windows", "# " + std::string(2 * kWindow, 'c') + "\nword"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        ASSERT_GT(c.text.size(), kWindow) << c.name;
        const std::string path = dir.Write("big.xml", c.text);
        for (const int maxLength : {CTokenReader::kTokenCapacity, 7, 1}) {
            const auto whole = TokensOfText(c.text, maxLength);
            const auto windowed = TokensOfFile(path, maxLength);
            ASSERT_EQ(windowed.size(), whole.size()) << c.name << ", max " << maxLength;
            for (size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(windowed[i], whole[i]) << c.name << ", token " << i;
        }
    }
}

TEST(TokenReaderWindow, ReaderOpenOnALargeFileClosesAndOpensAgain) {
    TempDir dir;
    const std::string text = MixedText(7, 2 * kWindow, false);
    const std::string path = dir.Write("big.xml", text);
    CTokenReader reader;
    ASSERT_TRUE(reader.Open(path.c_str()).Ok());
    EXPECT_TRUE(reader.IsOpen());
    ASSERT_NE(reader.NextToken(), nullptr);
    EXPECT_TRUE(reader.Open(nullptr).Failed(ProblemCode::kNoFileName)) << "a null path changes nothing";
    EXPECT_TRUE(reader.IsOpen());
    ASSERT_TRUE(reader.Open(path.c_str()).Ok()) << "opened again from the start";
    EXPECT_EQ(Tokens(reader, CTokenReader::kTokenCapacity), TokensOfText(text, CTokenReader::kTokenCapacity));
    EXPECT_EQ(reader.NextToken(), nullptr);
    reader.Close();
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.NextToken(), nullptr);
    EXPECT_TRUE(reader.Open(Utf8FromPath(dir.Path() / "missing.xml").c_str()).Failed(ProblemCode::kCannotRead));
    EXPECT_FALSE(reader.IsOpen());
}

}  // namespace
