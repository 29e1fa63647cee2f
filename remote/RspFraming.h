// SPDX-License-Identifier: MIT
#pragma once
// The GDB remote serial protocol's packet framing: "$payload#cc", where cc is
// the modulo-256 sum of the bytes between '$' and '#' in two lower-case hex
// digits. Inside a frame, '}' escapes the next byte (XOR 0x20) and, in
// replies, "X*n" repeats X another n - 29 times (run-length encoding).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

std::uint8_t RspChecksum(std::string_view framed);

// The bytes between '$' and '#' for `payload`: '#', '$', '}' and '*' escaped.
std::string EscapeRspPayload(std::string_view payload);

// A whole packet for `payload`, as sent: "$" escaped payload "#" checksum.
std::string EncodeRspPacket(std::string_view payload);

enum class RspDecoding { kDecoded, kMalformed, kTooLong };

// Undoes escapes and run-length encoding of the bytes between '$' and '#'.
// kMalformed: a '}' or '*' with nothing to apply to, or a repeat count
// outside 3..97 more; kTooLong: the payload would pass `limit` bytes.
RspDecoding DecodeRspPayload(std::string_view framed, std::size_t limit, std::string& payload);
