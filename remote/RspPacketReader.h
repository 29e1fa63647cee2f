// SPDX-License-Identifier: MIT
#pragma once
// Splits what a GDB server sends into acknowledgements and packets, however
// the bytes were cut into reads. Its memory is bounded: a frame longer than
// the limit, or a run of bytes that never frames, is reported once and
// dropped instead of being kept.
#include <cstddef>
#include <string>
#include <string_view>

class CRspPacketReader {
public:
    enum class Event {
        kNeedBytes,     // everything fed so far is used up
        kAck,           // '+'
        kNak,           // '-': the peer asks for the last packet again
        kPacket,        // a packet with a good checksum; Payload() is decoded
        kNotification,  // "%name:...#cc", never acknowledged; Payload() is "name:..." decoded
        kDamaged,       // a frame whose checksum or escapes are wrong
        kOverflow,      // a frame longer than the limit (before or after decoding)
        kGarbage,       // more than the limit of bytes outside any frame
    };

    // The default bounds any reply to a request of at most 16 KiB.
    static constexpr std::size_t kDefaultLimit = 64 * 1024;

    explicit CRspPacketReader(std::size_t limit = kDefaultLimit);

    // Hands over bytes to split; call only after Next() said kNeedBytes (so
    // the reader never holds more than one feed).
    void Feed(std::string_view bytes);
    Event Next();
    // The decoded payload of the last kPacket or kNotification.
    const std::string& Payload() const { return m_payload; }
    // Forgets a frame under way and the bytes not yet split.
    void Reset();

    // The reader's own buffers, for checks that memory stays bounded.
    std::size_t HeldBytes() const { return m_input.size() + m_frame.size() + m_payload.size(); }
    std::size_t Limit() const { return m_limit; }

private:
    enum class State { kOutside, kFrame, kChecksumHigh, kChecksumLow };

    Event EndFrame();

    std::size_t m_limit;
    std::string m_input;
    std::size_t m_position = 0;
    State m_state = State::kOutside;
    bool m_notification = false;
    bool m_overflowed = false;  // the frame under way is being passed over
    std::string m_frame;        // the raw bytes between '$' and '#'
    int m_checksum = 0;
    std::size_t m_garbage = 0;
    std::string m_payload;
};
