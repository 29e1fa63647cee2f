// SPDX-License-Identifier: MIT
#include "values/ValuesTextReader.h"

#include <cstdint>
#include <limits>
#include <string>

#include "bits/TextChars.h"
#include "values/HexWord.h"
#include "values/TerminalLine.h"
#include "values/TextLines.h"

namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '[' || c == ']';
}

bool IsName(std::string_view word) {
    if (word.empty()) return false;
    for (const char c : word) {
        if (!IsNameChar(c)) return false;
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The next blank-separated word of `rest`, taken off it; empty at the end.
std::string_view NextWord(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsAsciiSpace(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !IsAsciiSpace(rest[end])) ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

// A word quoted in a reason, cut so that a long one keeps the reason short.
std::string Quote(std::string_view word) {
    constexpr std::size_t kShown = 40;
    if (word.size() <= kShown) return std::string(word);
    return std::string(word.substr(0, kShown)) + "...";
}

// What separates the head of a line (its address or name) from its values.
enum class Separator { Blank, Colon, Equals };

class LineReader {
public:
    LineReader(ValuesText& out, const IsRegisterName& isRegisterName, const CodeNameValue& codeNames)
        : m_out(out), m_isRegisterName(isRegisterName), m_codeNames(codeNames) {}

    void Read(std::string_view line, std::size_t number) {
        m_number = number;
        line = Trim(line);
        if (line.empty() || line.front() == '#' || IsTerminalLine(line)) return;
        if (IsCodeStatementLine(line)) return ReadStatement(line);

        std::size_t headEnd = 0;
        while (headEnd < line.size() && !IsAsciiSpace(line[headEnd]) && line[headEnd] != ':' && line[headEnd] != '=' &&
               line[headEnd] != '<') {
            ++headEnd;
        }
        const std::string_view head = line.substr(0, headEnd);
        std::string_view rest = Trim(line.substr(headEnd));
        if (head.empty()) return Problem("not a values line", ProblemCode::kNotValuesLine);

        Separator separator = Separator::Blank;
        bool symbol = false;
        if (!rest.empty() && rest.front() == '<') {
            // GDB's <symbol+offset>: its text may hold anything (C++ names hold
            // '<', '>' and "::"), values never hold '>', so the last '>' ends it.
            const std::size_t close = rest.rfind('>');
            const std::string_view after = close == std::string_view::npos ? "" : Trim(rest.substr(close + 1));
            if (after.empty() || after.front() != ':') return Problem("a <symbol> not followed by ':'");
            rest = after.substr(1);
            separator = Separator::Colon;
            symbol = true;
        } else if (!rest.empty() && (rest.front() == ':' || rest.front() == '=')) {
            separator = rest.front() == ':' ? Separator::Colon : Separator::Equals;
            rest.remove_prefix(1);
        }

        const Result<HexWord> address = ReadHexWord(head);
        const bool mayBeName = separator == Separator::Equals && IsName(head);
        if (mayBeName && !HasHexPrefix(head, HexPrefixCase::kEither) &&
            (!address || (m_isRegisterName && m_isRegisterName(head)))) {
            return ReadNamed(head, rest);
        }
        if (address.Failed(ProblemCode::kOutOfRange)) return Problem("address longer than 16 hex digits");
        if (!address) {
            if (symbol || separator == Separator::Colon) return Problem("not an address: " + Quote(head));
            return Problem("not a values line", ProblemCode::kNotValuesLine);
        }
        ReadAddressed(address.Value().value, separator, rest);
    }

private:
    void Problem(std::string reason, ProblemCode code = ProblemCode::kBadValue) {
        AddValuesProblem(m_out.problems, m_number, code, std::move(reason));
    }

    // Reads one value word into `word`, or tells the problem and returns false.
    bool ReadValue(std::string_view text, HexWord& word) {
        const Result<HexWord> read = ReadHexWord(text);
        if (read) {
            word = read.Value();
            return true;
        }
        Problem(read.Failed(ProblemCode::kOutOfRange) ? "value longer than 16 hex digits: " + Quote(text)
                                                      : "not a hex number: " + Quote(text));
        return false;
    }

    void ReadNamed(std::string_view name, std::string_view rest) {
        const std::string_view text = NextWord(rest);
        if (text.empty()) return Problem("no value after '='");
        if (!NextWord(rest).empty()) return Problem("more than one value after '='");
        HexWord word;
        if (!ReadValue(text, word)) return;
        m_out.named.push_back({std::string(name), word.value, UnitOfDigits(word.digits), word.digits, m_number});
    }

    void ReadStatement(std::string_view line) {
        const Result<CodeStatementValue> statement = ReadCodeStatement(line, m_codeNames);
        if (!statement) return Problem(statement.Error().detail, statement.Error().code);
        m_out.assigned.push_back({std::string(statement.Value().lhs), statement.Value().value, 0, 0, m_number});
    }

    void ReadAddressed(std::uint64_t address, Separator separator, std::string_view rest) {
        // The whole line is read before any of it is kept: a bad word makes
        // the line a problem with nothing taken from it.
        m_words.clear();
        for (std::string_view text = NextWord(rest); !text.empty(); text = NextWord(rest)) {
            HexWord word;
            if (!ReadValue(text, word)) return;
            m_words.push_back(word);
        }
        if (m_words.empty()) return Problem("no value after the address");
        if (separator == Separator::Equals && m_words.size() > 1) return Problem("more than one value after '='");

        if (m_words.size() == 1) {
            const HexWord& word = m_words.front();
            const int unit = UnitOfDigits(word.digits);
            if (unit > 0 && address > std::numeric_limits<std::uint64_t>::max() - (unit - 1)) {
                return Problem("runs past the end of the address space", ProblemCode::kOutsideAddressSpace);
            }
            m_out.addressed.push_back({address, word.value, unit, word.digits, m_number});
            return;
        }

        // Several values lie one after the other, each taking its own unit.
        std::uint64_t last = address;  // of the values so far, wrapping only past the top
        std::uint64_t next = address;
        bool atTop = false;            // the previous value ended at the last address
        for (const HexWord& word : m_words) {
            const int unit = UnitOfDigits(word.digits);
            if (unit == 0) {
                return Problem("a value of " + std::to_string(word.digits) +
                               " hex digits among several: its size is unknown");
            }
            if (atTop || next > std::numeric_limits<std::uint64_t>::max() - (unit - 1)) {
                return Problem("runs past the end of the address space", ProblemCode::kOutsideAddressSpace);
            }
            last = next + static_cast<std::uint64_t>(unit - 1);
            atTop = last == std::numeric_limits<std::uint64_t>::max();
            next = last + 1;
        }
        next = address;
        for (const HexWord& word : m_words) {
            const int unit = UnitOfDigits(word.digits);
            m_out.addressed.push_back({next, word.value, unit, word.digits, m_number});
            next += static_cast<std::uint64_t>(unit);
        }
    }

    ValuesText& m_out;
    const IsRegisterName& m_isRegisterName;
    const CodeNameValue& m_codeNames;
    std::size_t m_number = 0;
    std::vector<HexWord> m_words;  // the values of the line in hand, kept to reuse its memory
};

}  // namespace

ValuesText ReadValuesText(std::string_view text, const IsRegisterName& isRegisterName, const CodeNameValue& codeNames) {
    ValuesText out;
    LineReader reader(out, isRegisterName, codeNames);
    TextLines lines(text);
    TextLine line;
    while (lines.Next(line)) {
        if (line.notText) {
            AddValuesProblem(out.problems, line.number, ProblemCode::kNotThisFormat, line.notText);
        } else {
            reader.Read(line.text, line.number);
        }
    }
    return out;
}
