// SPDX-License-Identifier: MIT
#include "values/CodeStatementLine.h"

#include <algorithm>

#include "bits/TextChars.h"

namespace {

bool IsIdentifierStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Where the first comment starts, or the end.
std::size_t CommentStart(std::string_view line) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        if (line[i] == '/' && (line[i + 1] == '*' || line[i + 1] == '/')) return i;
    return line.size();
}

// Whether `tail`, from a comment's start on, is comments and white space only.
bool IsCommentsOnly(std::string_view tail) {
    while (true) {
        tail = Trim(tail);
        if (tail.empty() || tail.starts_with("//")) return true;
        if (!tail.starts_with("/*")) return false;
        const std::size_t end = tail.find("*/", 2);
        if (end == std::string_view::npos) return false;
        tail.remove_prefix(end + 2);
    }
}

// The width a cast to `type` cuts to, or 0 when `type` is no unsigned type.
int CastBits(std::string_view type) {
    if (type == "uint8_t") return 8;
    if (type == "uint16_t") return 16;
    if (type == "uint32_t" || type == "unsigned" || type == "unsigned int") return 32;
    if (type == "uint64_t" || type == "unsigned long" || type == "unsigned long long" || type == "size_t") return 64;
    return 0;
}

std::uint64_t Cut(std::uint64_t value, int bits) { return bits >= 64 ? value : value & ((std::uint64_t{1} << bits) - 1); }

// An expression read by recursive descent, C's precedence: | below & below
// shifts below + and -, then the unary operators and casts.
class ExpressionReader {
public:
    ExpressionReader(std::string_view text, const CodeNameValue& names) : m_text(text), m_names(names) {}

    // The value of the whole text, or the first problem met.
    Result<std::uint64_t> ReadAll() {
        const std::uint64_t value = Or();
        Skip();
        if (!Failed() && m_at < m_text.size()) Fail("unexpected '" + std::string(1, m_text[m_at]) + "' in the expression");
        if (Failed()) return Result<std::uint64_t>::Failure(*m_failure);
        return Result<std::uint64_t>::Success(value);
    }

private:
    bool Failed() const { return m_failure.has_value(); }
    // Keeps the first problem; the reading unwinds with 0 from there.
    std::nullopt_t Fail(std::string detail, ProblemCode code = ProblemCode::kBadValue) {
        if (!m_failure) m_failure = MakeProblem(code, std::move(detail));
        return std::nullopt;
    }

    void Skip() {
        while (m_at < m_text.size() && IsAsciiSpace(m_text[m_at])) ++m_at;
    }
    // Takes `op` when it comes next.
    bool Take(std::string_view op) {
        Skip();
        if (m_text.substr(m_at, op.size()) != op) return false;
        m_at += op.size();
        return true;
    }
    bool Peek(char c) {
        Skip();
        return m_at < m_text.size() && m_text[m_at] == c;
    }

    std::uint64_t Or() {
        std::uint64_t value = And();
        while (!Failed() && Peek('|')) {
            ++m_at;
            value |= And();
        }
        return value;
    }
    std::uint64_t And() {
        std::uint64_t value = Shift();
        while (!Failed() && Peek('&')) {
            ++m_at;
            value &= Shift();
        }
        return value;
    }
    std::uint64_t Shift() {
        std::uint64_t value = Sum();
        while (!Failed()) {
            const bool left = Take("<<");
            if (!left && !Take(">>")) break;
            const std::uint64_t count = Sum();
            if (Failed()) break;
            if (count > 63) {
                Fail("a shift by " + std::to_string(count) + " bits");
                break;
            }
            value = left ? value << count : value >> count;
        }
        return value;
    }
    std::uint64_t Sum() {
        std::uint64_t value = Unary();
        while (!Failed()) {
            Skip();
            if (m_at >= m_text.size() || (m_text[m_at] != '+' && m_text[m_at] != '-')) break;
            const bool plus = m_text[m_at++] == '+';
            const std::uint64_t term = Unary();
            value = plus ? value + term : value - term;
        }
        return value;
    }
    std::uint64_t Unary() {
        Skip();
        if (m_depth > kMaxDepth) return Fail("the expression is nested too deep"), 0;
        ++m_depth;
        std::uint64_t value = 0;
        if (Take("~")) {
            value = ~Unary();
        } else if (Take("-")) {
            value = std::uint64_t{0} - Unary();
        } else if (Take("+")) {
            value = Unary();
        } else {
            value = Primary();
        }
        --m_depth;
        return value;
    }
    std::uint64_t Primary() {
        Skip();
        if (m_at >= m_text.size()) return Fail("the expression ends early"), 0;
        const char c = m_text[m_at];
        if (c == '(') {
            ++m_at;
            if (const int bits = Cast(); bits > 0) return Cut(Unary(), bits);
            const std::uint64_t value = Or();
            if (!Failed() && !Take(")")) Fail("a '(' without its ')'");
            return value;
        }
        if (c >= '0' && c <= '9') return Number();
        if (IsIdentifierStart(c)) {
            const std::string_view name = Identifier();
            const std::optional<std::uint64_t> value = m_names ? m_names(name) : std::nullopt;
            if (!value) return Fail("unknown name " + std::string(name), ProblemCode::kUnknownName), 0;
            return *value;
        }
        return Fail("unexpected '" + std::string(1, c) + "' in the expression"), 0;
    }

    std::string_view Identifier() {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && IsIdentifierChar(m_text[m_at])) ++m_at;
        return m_text.substr(start, m_at - start);
    }

    // After a '(': the width of an unsigned type named up to its ')', which
    // is taken; 0, with nothing taken, when what follows is no such cast.
    int Cast() {
        const std::size_t start = m_at;
        std::string type;
        while (true) {
            Skip();
            if (m_at >= m_text.size() || !IsIdentifierStart(m_text[m_at])) break;
            if (!type.empty()) type += ' ';
            type += Identifier();
        }
        const int bits = CastBits(type);
        if (bits > 0 && Take(")")) return bits;
        m_at = start;
        return 0;
    }

    std::uint64_t Number() {
        const std::size_t start = m_at;
        unsigned base = 10;
        if (HasHexPrefix(m_text.substr(m_at), HexPrefixCase::kEither)) {
            base = 16;
            m_at += 2;
        } else if (m_text.substr(m_at, 2) == "0b" || m_text.substr(m_at, 2) == "0B") {
            base = 2;
            m_at += 2;
        } else if (m_text[m_at] == '0') {
            base = 8;
        }
        std::uint64_t value = 0;
        std::size_t digits = 0;
        bool overflow = false;
        for (; m_at < m_text.size(); ++m_at) {
            const int digit = HexDigitValue(m_text[m_at]);
            if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
            if (value > (~std::uint64_t{0} - static_cast<unsigned>(digit)) / base) overflow = true;
            value = value * base + static_cast<unsigned>(digit);
            ++digits;
        }
        // Suffixes: U and L, LL in either order and case.
        const std::size_t suffix = m_at;
        while (m_at < m_text.size() && (m_text[m_at] == 'u' || m_text[m_at] == 'U' || m_text[m_at] == 'l' || m_text[m_at] == 'L'))
            ++m_at;
        const bool glued = m_at < m_text.size() && IsIdentifierChar(m_text[m_at]);
        if ((base != 8 && digits == 0) || !IsSuffix(m_text.substr(suffix, m_at - suffix)) || glued) {
            // The whole word is told: a digit or letter glued on is part of what is no number.
            while (m_at < m_text.size() && IsIdentifierChar(m_text[m_at])) ++m_at;
            return Fail("not a number: " + std::string(m_text.substr(start, std::min<std::size_t>(m_at - start, 40)))), 0;
        }
        const std::string_view number = m_text.substr(start, m_at - start);
        if (overflow) return Fail("a number over 64 bits: " + std::string(number.substr(0, 40))), 0;
        return value;
    }
    static bool IsSuffix(std::string_view s) {
        std::string upper;
        for (const char c : s) upper += static_cast<char>(c == 'u' ? 'U' : c == 'l' ? 'L' : c);
        for (const std::string_view known : {"", "U", "L", "UL", "LU", "LL", "ULL", "LLU"})
            if (upper == known) return s.find("lL") == std::string_view::npos && s.find("Ll") == std::string_view::npos;
        return false;
    }

    static constexpr int kMaxDepth = 200;
    std::string_view m_text;
    const CodeNameValue& m_names;
    std::size_t m_at = 0;
    int m_depth = 0;
    std::optional<Problem> m_failure;
};

bool IsLeftHandSideChar(char c) { return IsIdentifierChar(c) || c == '.' || c == '[' || c == ']' || c == '-' || c == '>'; }

}  // namespace

bool IsCodeStatementLine(std::string_view line) {
    const std::string_view code = Trim(line.substr(0, CommentStart(line)));
    return !code.empty() && code.back() == ';';
}

Result<CodeStatementValue> ReadCodeStatement(std::string_view line, const CodeNameValue& names) {
    using Statement = Result<CodeStatementValue>;
    const std::size_t commentAt = CommentStart(line);
    std::string_view code = Trim(line.substr(0, commentAt));
    if (!IsCommentsOnly(line.substr(commentAt))) return Statement::Failure(ProblemCode::kBadValue, "a comment without its end");
    code.remove_suffix(1);  // the ';'
    const std::size_t equals = code.find('=');
    if (equals == std::string_view::npos) return Statement::Failure(ProblemCode::kBadValue, "a C statement without '='");
    const std::string_view lhs = Trim(code.substr(0, equals));
    bool lhsOk = !lhs.empty();
    for (const char c : lhs) lhsOk = lhsOk && IsLeftHandSideChar(c);
    if (!lhsOk || lhs.back() == '-' || lhs.back() == '>') {
        // "|=", "&=", ... change a value the line does not give.
        return Statement::Failure(ProblemCode::kBadValue, "not a register to assign to: " + std::string(lhs.substr(0, 40)));
    }
    const std::string_view expression = code.substr(equals + 1);
    if (!expression.empty() && expression.front() == '=')
        return Statement::Failure(ProblemCode::kBadValue, "a comparison, not an assignment");
    const Result<std::uint64_t> value = ExpressionReader(expression, names).ReadAll();
    if (!value) return Statement::FailureOf(value);
    return Statement::Success({lhs, value.Value()});
}
