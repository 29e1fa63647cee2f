// SPDX-License-Identifier: MIT
#include "remote/RspFraming.h"

namespace {

constexpr char kEscape = '}';
constexpr char kRepeat = '*';
constexpr char kEscapeXor = 0x20;

bool NeedsEscape(char c) { return c == '#' || c == '$' || c == kEscape || c == kRepeat; }

}  // namespace

std::uint8_t RspChecksum(std::string_view framed) {
    unsigned sum = 0;
    for (const char c : framed) sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum);
}

std::string EscapeRspPayload(std::string_view payload) {
    std::string framed;
    framed.reserve(payload.size());
    for (const char c : payload) {
        if (NeedsEscape(c)) {
            framed += kEscape;
            framed += static_cast<char>(c ^ kEscapeXor);
        } else {
            framed += c;
        }
    }
    return framed;
}

std::string EncodeRspPacket(std::string_view payload) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::string framed = EscapeRspPayload(payload);
    const std::uint8_t sum = RspChecksum(framed);
    std::string packet;
    packet.reserve(framed.size() + 4);
    packet += '$';
    packet += framed;
    packet += '#';
    packet += kHex[sum >> 4];
    packet += kHex[sum & 0xF];
    return packet;
}

RspDecoding DecodeRspPayload(std::string_view framed, std::size_t limit, std::string& payload) {
    payload.clear();
    for (std::size_t i = 0; i < framed.size(); ++i) {
        const char c = framed[i];
        if (c == kEscape) {
            if (++i == framed.size()) return RspDecoding::kMalformed;
            payload += static_cast<char>(framed[i] ^ kEscapeXor);
        } else if (c == kRepeat) {
            // The count character is printable: ' ' + 3 stands for 3 more, '~' for 97.
            if (payload.empty() || ++i == framed.size()) return RspDecoding::kMalformed;
            const int more = static_cast<unsigned char>(framed[i]) - 29;
            if (more < 3 || more > 97) return RspDecoding::kMalformed;
            if (payload.size() + static_cast<std::size_t>(more) > limit) return RspDecoding::kTooLong;
            payload.append(static_cast<std::size_t>(more), payload.back());
            continue;
        } else {
            payload += c;
        }
        if (payload.size() > limit) return RspDecoding::kTooLong;
    }
    return RspDecoding::kDecoded;
}
