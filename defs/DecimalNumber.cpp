// SPDX-License-Identifier: MIT
#include "defs/DecimalNumber.h"

#include <cstdint>

std::int32_t ParseDecimalInt32(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > kLimit) magnitude = kLimit;  // saturate, keep scanning
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}
