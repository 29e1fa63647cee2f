// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "defs/TokenReader.h"
#include "platform/FilePaths.h"
#include "tests/TempDir.h"

namespace {

// All tokens of `text`, read with the loader's delimiters.
std::vector<std::string> Tokens(const std::string& text, int maxLength = 1024) {
    CTokenReader reader;
    reader.OpenText(NewTextBlock(text));
    reader.AddDelimiter('=');
    reader.AddDelimiter('<');
    reader.AddDelimiter('>');
    std::vector<std::string> tokens;
    while (const char* token = reader.NextToken(maxLength)) tokens.emplace_back(token);
    EXPECT_EQ(reader.NextToken(maxLength), nullptr) << "the end stays the end";
    return tokens;
}

using Strings = std::vector<std::string>;

struct TokenCase {
    const char* name;
    std::string text;
    Strings expected;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class TokenRules : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenRules, SplitsAsExpected) { EXPECT_EQ(Tokens(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Reader, TokenRules,
    testing::Values(
        TokenCase{"OpeningTag", "<field name=\"EN\" kind=\"edit\">", {"field", "name", "EN", "kind", "edit"}},
        TokenCase{"ClosingTag", "</field>", {"/field"}},
        TokenCase{"QuotedKeepsSpacesHashAndLines", "\"a b # c\nd\" x", {"a b # c\nd", "x"}},
        TokenCase{"EmptyQuotes", "\"\" next", {"", "next"}},
        TokenCase{"WordThenQuote", "ab\"cd\"", {"ab\"cd\""}},
        TokenCase{"QuoteThenWord", "\"ab\"cd", {"ab", "cd"}},
        TokenCase{"HashInsideWord", "a#b c", {"a#b", "c"}},
        TokenCase{"CommentAtTokenStart", "a\n# comment here\nb", {"a", "b"}},
        TokenCase{"SeveralComments", "#1\n\n  # 2\n\n#3\nword", {"word"}},
        TokenCase{"OnlyDelimitersAndComments", " \t\r\n<>=\n# x\n#y", {}},
        TokenCase{"CommentWithoutFinalLineFeed", "a #tail", {"a"}},
        TokenCase{"NulEndsText", std::string("one two\0three", 13), {"one", "two"}},
        TokenCase{"UnterminatedQuote", "a \"no end here", {"a", "no end here"}},
        TokenCase{"CrLfLines", "a\r\nb\r\n", {"a", "b"}},
        TokenCase{"EqualsSeparates", "n=\"x\"v=1", {"n", "x", "v", "1"}}),
    [](const testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

TEST(TokenReader, LongWordIsCutIntoPiecesOfMaxLength) {
    const auto tokens = Tokens(std::string(1500, 'w') + " end");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].size(), 1024u);
    EXPECT_EQ(tokens[1].size(), 476u);
    EXPECT_EQ(tokens[2], "end");
}

TEST(TokenReader, MaxLengthIsHonouredAndBounded) {
    EXPECT_EQ(Tokens("abcdefg", 3), (Strings{"abc", "def", "g"}));
    EXPECT_EQ(Tokens("abc", 0), (Strings{"a", "b", "c"})) << "every call moves on";
    EXPECT_EQ(Tokens(std::string(3000, 'z'), 100000).front().size(), 1024u) << "never past the buffer";
}

TEST(TokenReader, LongQuotedStringKeepsItsStartAndNextTokenFollowsTheQuote) {
    const auto tokens = Tokens("\"" + std::string(5000, 'q') + "\" after");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0], std::string(1024, 'q'));
    EXPECT_EQ(tokens[1], "after");
}

TEST(TokenReader, OpenResults) {
    TempDir dir;
    const std::string missing = Utf8FromPath(dir.Path() / "missing.xml");
    const std::string empty = dir.Write("empty.xml", "");
    const std::string directory = Utf8FromPath(dir.Path());
    const struct {
        const char* what;
        const char* path;
        ProblemCode code;
        const char* words;
    } cases[] = {
        {"no path", nullptr, ProblemCode::kNoFileName, "file name expected as parameter"},
        {"a missing file", missing.c_str(), ProblemCode::kCannotRead, "error during file load"},
        {"an empty file", empty.c_str(), ProblemCode::kCannotRead, "error during file load"},
        {"a directory is not a file", directory.c_str(), ProblemCode::kCannotRead, "error during file load"},
    };
    for (const auto& c : cases) {
        CTokenReader reader;
        const Status opened = reader.Open(c.path);
        EXPECT_TRUE(opened.Failed(c.code)) << c.what << ": " << opened.Text();
        EXPECT_EQ(opened.Ok() ? std::string() : opened.Text(), c.words) << c.what;
        EXPECT_FALSE(reader.IsOpen()) << c.what;
        EXPECT_EQ(reader.NextToken(1024), nullptr) << c.what << ": a closed reader gives no token";
    }
}

TEST(TokenReader, NullPathLeavesAnOpenReaderAsItWas) {
    TempDir dir;
    CTokenReader reader;
    ASSERT_TRUE(reader.Open(dir.Write("a.xml", "one two").c_str()).Ok());
    EXPECT_STREQ(reader.NextToken(1024), "one");
    EXPECT_TRUE(reader.Open(nullptr).Failed(ProblemCode::kNoFileName));
    EXPECT_STREQ(reader.NextToken(1024), "two");
}

TEST(TokenReader, DelimitersAddedBeforeOpenAreLost) {
    CTokenReader reader;
    reader.AddDelimiter('=');
    reader.OpenText(NewTextBlock("a=b"));
    EXPECT_STREQ(reader.NextToken(1024), "a=b");
    EXPECT_EQ(reader.IsDelimiter('\0'), 0);
    EXPECT_EQ(reader.IsDelimiter(' '), 1);
}

TEST(TokenReader, FullDelimiterSetIgnoresMore) {
    CTokenReader reader;
    reader.OpenText(NewTextBlock("x"));
    for (int i = 0; i < 251; ++i) reader.AddDelimiter('a');  // 4 + 251 = 255
    reader.AddDelimiter('b');
    EXPECT_EQ(reader.IsDelimiter('a'), 1);
    EXPECT_EQ(reader.IsDelimiter('b'), 0);
}

TEST(ReadWholeFile, GivesBytesUnchangedAndNulTerminated) {
    TempDir dir;
    const std::string bytes("a\r\nb\0c", 6);
    char* buffer = nullptr;
    ASSERT_EQ(ReadWholeFile(dir.Write("f", bytes).c_str(), buffer), 6);
    EXPECT_EQ(std::string(buffer, 6), bytes);
    EXPECT_EQ(buffer[6], '\0');
    delete[] buffer;
    EXPECT_EQ(ReadWholeFile(dir.Write("e", "").c_str(), buffer), 0);
    EXPECT_EQ(buffer, nullptr);
}

}  // namespace

namespace {

// Tokens that end where the text ends, at every length around the reader's
// 16-byte blocks: nothing past the text is taken.
TEST(TokenReader, TokensEndingAtTheEndOfTheText) {
    for (size_t n = 1; n <= 40; ++n) {
        const std::string word(n, 'w');
        EXPECT_EQ(Tokens(word), Strings{word}) << n;
        EXPECT_EQ(Tokens("\"" + word), Strings{word}) << "unterminated quote, " << n;
        EXPECT_EQ(Tokens("\"" + word + "\""), Strings{word}) << n;
        EXPECT_EQ(Tokens(word + std::string("\0tail", 5)), Strings{word}) << n;
    }
}

}  // namespace
