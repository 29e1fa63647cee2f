// SPDX-License-Identifier: MIT
// Fuzzes the values text reader: any bytes as a values text, read with a map
// that takes every word of even length for a register name, and knows the C
// names X_Pos (3) and X_Msk (0x8) for the expressions of C statements. The problems
// stay bounded and at most one a line; a line gives values or a problem,
// never both; every value kept lies where its line said: the first of a line
// at the line's address, the next ones right after it, each value the word
// written for it with the unit its digits give. The values are then laid into
// an image over registers at the first few addresses, and every register
// given a value must read back as that value.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "values/CodeStatementLine.h"
#include "values/HexWord.h"
#include "values/ValuesApplier.h"
#include "values/ValuesTextReader.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The lines as the reader numbers them: split at line feeds, a BOM passed over.
std::vector<std::string_view> Lines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        lines.push_back(text.substr(0, feed));
        if (feed == std::string_view::npos) break;
        text.remove_prefix(feed + 1);
    }
    return lines;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        std::size_t end = i;
        while (end < line.size() && !IsBlank(line[end])) ++end;
        if (end > i) words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

// The value words of a line giving `count` values: its last `count` words,
// the first of them without a separator or symbol end glued to it ("0x10:5").
std::vector<std::string_view> ValueWords(std::string_view line, std::size_t count) {
    std::vector<std::string_view> words = Words(line);
    FUZZ_CHECK(words.size() >= count);
    words.erase(words.begin(), words.end() - static_cast<std::ptrdiff_t>(count));
    const std::size_t glued = words.front().find_last_of(":=>");
    if (glued != std::string_view::npos) words.front().remove_prefix(glued + 1);
    return words;
}

void CheckValueWord(std::string_view word, std::uint64_t value, int unit, int digits, bool alone) {
    const Result<HexWord> read = ReadHexWord(word);
    FUZZ_CHECK(read.Ok());
    const HexWord& hex = read.Value();
    FUZZ_CHECK(hex.value == value);
    FUZZ_CHECK(hex.digits == digits);
    FUZZ_CHECK(unit == UnitOfDigits(digits));
    FUZZ_CHECK(unit > 0 || alone);
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ValuesText read = ReadValuesText(
        text, [](std::string_view word) { return word.size() % 2 == 0; },
        [](std::string_view name) -> std::optional<std::uint64_t> {
            if (name == "X_Pos") return 3;
            if (name == "X_Msk") return 0x8;
            return std::nullopt;
        });
    const std::vector<std::string_view> lines = Lines(text);

    FUZZ_CHECK(read.problems.Kept().size() <= ProblemList::kDefaultCapacity);
    FUZZ_CHECK(read.problems.Count() <= lines.size());
    std::set<std::size_t> problemLines;
    for (const Problem& problem : read.problems.Kept()) {
        FUZZ_CHECK(problem.line >= 1 && static_cast<std::size_t>(problem.line) <= lines.size());
        FUZZ_CHECK(!problem.detail.empty());
        FUZZ_CHECK(problemLines.insert(problem.line).second);
    }

    // Values by line, in order.
    std::map<std::size_t, std::vector<const AddressedValue*>> byLine;
    for (const AddressedValue& v : read.addressed) {
        FUZZ_CHECK(v.line >= 1 && v.line <= lines.size());
        FUZZ_CHECK(!problemLines.count(v.line));
        byLine[v.line].push_back(&v);
    }
    for (const auto& [number, values] : byLine) {
        const std::string_view line = lines[number - 1];
        const std::vector<std::string_view> words = ValueWords(line, values.size());
        // The line's address is its first word up to a separator or symbol.
        const std::string_view start = Trimmed(line);
        const Result<HexWord> address = ReadHexWord(start.substr(0, start.find_first_of(" \t\r\v\f:=<")));
        FUZZ_CHECK(address.Ok());
        std::uint64_t expected = address.Value().value;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const AddressedValue& v = *values[i];
            FUZZ_CHECK(v.address == expected);
            CheckValueWord(words[i], v.value, v.unit, v.digits, values.size() == 1);
            expected += static_cast<std::uint64_t>(v.unit);
        }
    }
    for (const NamedValue& v : read.named) {
        FUZZ_CHECK(v.line >= 1 && v.line <= lines.size());
        FUZZ_CHECK(!problemLines.count(v.line) && !byLine.count(v.line));
        const std::string_view line = lines[v.line - 1];
        FUZZ_CHECK(Trimmed(line).substr(0, v.name.size()) == v.name);
        CheckValueWord(ValueWords(line, 1).front(), v.value, v.unit, v.digits, true);
    }

    // A C statement's value comes from a line ending in ';' before its
    // comments, named by what stands before its '='.
    for (const NamedValue& v : read.assigned) {
        FUZZ_CHECK(v.line >= 1 && v.line <= lines.size());
        FUZZ_CHECK(!problemLines.count(v.line) && !byLine.count(v.line));
        const std::string_view line = Trimmed(lines[v.line - 1]);
        FUZZ_CHECK(IsCodeStatementLine(line));
        FUZZ_CHECK(!v.name.empty() && line.substr(0, v.name.size()) == v.name);
        FUZZ_CHECK(v.unit == 0 && v.digits == 0);
    }

    // Registers at the first few addresses given, of each size.
    std::vector<RegisterSpan> spans;
    for (std::size_t i = 0; i < read.addressed.size() && i < 16; ++i) {
        spans.push_back({read.addressed[i].address, static_cast<int>(1 + i % 8), i});
    }
    const RegisterLayout layout(spans);
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        const ValuesApplier applier(layout, order);
        MemoryImage image;
        ProblemList problems;
        applier.Lay(image, read.addressed, problems);
        const AppliedValues applied = applier.Apply(image);
        FUZZ_CHECK(applied.given.size() + applied.partlyGiven.size() <= spans.size());
        for (const GivenValue& v : applied.given) {
            const RegisterSpan& r = spans[v.id];
            const ImageReading reading = image.Read(r.address, r.bytes, order);
            FUZZ_CHECK(reading.coverage == Coverage::Whole && reading.value == v.value);
        }
        FUZZ_CHECK(applied.offMap.count <= image.Pieces().size());
    }
    return 0;
}
