// SPDX-License-Identifier: MIT
#pragma once
// Every number text the calculator writes: the hex box, the decimal box and
// the field edit rows. Hex digits are lower case; minimum digit counts pad
// with zeros but never cut a value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whether hex digits above 9 are written a-f or A-F.
enum class HexLetters { kLower, kUpper };

// The one unpadded hex writer: the digits of `value`, no "0x", no zeros
// before the first that counts ("1f"; "0" for 0).
std::string HexDigitsText(std::uint64_t value, HexLetters letters = HexLetters::kLower);
// The one padded hex writer: "0x" and the digits of `value`, zeros before
// them up to `minDigits` ("0x001f" for 4), never cutting a digit off.
std::string PaddedHex(std::uint64_t value, std::size_t minDigits, HexLetters letters = HexLetters::kLower);

// "0x" and the whole value, padded to at least 16, 8, 4 or 2 digits for a
// register of 64, 32, 16 or 8 bits and to 1 digit for any other width.
std::string FormatRegisterHex(std::uint64_t value, int registerBits);
// An address by itself, as messages write it: "0x" and 8 hex digits, or 16
// for an address above 0xFFFFFFFF (a map's rows all take the map's width:
// CRegisterMap::FormatAddressAtMapWidth).
std::string FormatAddress(std::uint64_t address);

// The whole value as unsigned decimal.
std::string FormatRegisterDecimal(std::uint64_t value);

// The new text of a field edit row, in the notation of its current text:
// - empty current text: "0x0", whatever the value;
// - current text beginning "0x": hexadecimal, "0x" and no leading zeros;
// - anything else: decimal.
// A field whose mask fits in 32 bits is written from the value's low 32 bits,
// in decimal as a signed 32-bit number (bit 31 set gives a negative number,
// all ones "-1"). A wider field is written whole: hex of all 64 bits, decimal
// as a signed 64-bit number. Either way ParseNumberText of the text, masked
// to the field, gives back the field value.
std::string FormatFieldValue(std::uint64_t value, std::string_view currentText, std::uint64_t fieldMask);
