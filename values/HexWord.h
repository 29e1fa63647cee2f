// SPDX-License-Identifier: MIT
#pragma once
// One hexadecimal word of a values text, with the digit count as written:
// the count tells how many bytes a dumped value takes.
#include <cstdint>
#include <string_view>

#include "problem/Result.h"

struct HexWord {
    std::uint64_t value = 0;
    int digits = 0;         // leading zeros counted, the prefix not
    bool prefixed = false;  // written with "0x" or "0X"
};

// `word` whole as a hex number: an optional "0x"/"0X", then one to sixteen hex
// digits of either case and nothing else. Anything else fails with kBadValue;
// more than sixteen digits with kOutOfRange (even when the leading ones are
// zeros: a dump never writes them). The caller words the problem.
Result<HexWord> ReadHexWord(std::string_view word);

// The bytes a value of `digits` hex digits takes in a dump: 2, 4, 8, 16 give
// 1, 2, 4, 8; any other count 0 (no size of its own).
int UnitOfDigits(int digits);
