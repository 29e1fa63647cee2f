// SPDX-License-Identifier: MIT
#include "values/HexWord.h"

#include "bits/TextChars.h"

HexWord ReadHexWord(std::string_view word) {
    HexWord result;
    if (HasHexPrefix(word, HexPrefixCase::kEither)) {
        result.prefixed = true;
        word.remove_prefix(2);
    }
    if (word.empty()) return result;
    std::uint64_t value = 0;
    for (const char c : word) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return result;
        value = value << 4 | static_cast<std::uint64_t>(digit);
    }
    if (word.size() > 16) {
        result.status = HexWord::Status::TooLong;
        return result;
    }
    result.status = HexWord::Status::Ok;
    result.value = value;
    result.digits = static_cast<int>(word.size());
    return result;
}

int UnitOfDigits(int digits) {
    switch (digits) {
        case 2: return 1;
        case 4: return 2;
        case 8: return 4;
        case 16: return 8;
        default: return 0;
    }
}
