// SPDX-License-Identifier: MIT
#include "values/HexWord.h"

#include "bits/NumberReading.h"
#include "bits/TextChars.h"

Result<HexWord> ReadHexWord(std::string_view word) {
    HexWord result;
    if (HasHexPrefix(word, HexPrefixCase::kEither)) {
        result.prefixed = true;
        word.remove_prefix(2);
    }
    const HexDigits digits = ReadHexDigits(word);
    if (word.empty() || digits.count != word.size()) return Result<HexWord>::Failure(ProblemCode::kBadValue, "not a hex number");
    if (digits.count > 16) return Result<HexWord>::Failure(ProblemCode::kOutOfRange, "longer than 16 hex digits");
    result.value = digits.value;
    result.digits = static_cast<int>(digits.count);
    return Result<HexWord>::Success(result);
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
