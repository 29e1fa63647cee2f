// SPDX-License-Identifier: MIT
#pragma once
// Decimal numbers in the definitions file: optional leading white space and
// sign, then digits up to the first other character; no digits reads as 0.
// Hex notation is not recognised ("0x10" reads 0). A number beyond the
// signed 32-bit range reads as the nearest end of that range.
#include <cstdint>

std::int32_t ParseDecimalInt32(const char* text);
