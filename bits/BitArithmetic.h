// SPDX-License-Identifier: MIT
#pragma once
// 64-bit shifts and field masks for register values. Bit positions and
// widths come straight from the definitions file, so any int is accepted and
// nothing here is undefined: a shift count outside 0..63 (negative, 64..255,
// or beyond) shifts every bit out and gives 0.
#include <cstdint>

// Left shift filling with zeros from bit 0; 0 for a count outside 0..63.
std::uint64_t ShiftLeft64(std::uint64_t value, int count);
// Logical right shift filling with zeros from bit 63; 0 for a count outside 0..63.
std::uint64_t ShiftRight64(std::uint64_t value, int count);

// Width of the inclusive span lowBit..highBit, computed without overflow;
// negative when highBit is below lowBit - 1.
std::int64_t FieldWidth(int lowBit, int highBit);

// The w low bits set: 0 for w = 0, 2^w - 1 for w in 1..63, all 64 bits for
// w of 64 or more and for a negative w (a span written high bit first keeps
// every bit rather than none).
std::uint64_t FieldMask(std::int64_t width);
std::uint64_t FieldMask(int lowBit, int highBit);

// The bits a field with this span occupies in the register: its mask moved
// to its low bit. Bits above 63 fall off; a low bit outside 0..63 occupies none.
std::uint64_t FieldPlacement(int lowBit, int highBit);
