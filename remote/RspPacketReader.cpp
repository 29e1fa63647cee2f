// SPDX-License-Identifier: MIT
#include "remote/RspPacketReader.h"

#include "bits/TextChars.h"

#include "remote/RspFraming.h"

CRspPacketReader::CRspPacketReader(std::size_t limit) : m_limit(limit) {}

void CRspPacketReader::Feed(std::string_view bytes) {
    m_input.erase(0, m_position);
    m_position = 0;
    m_input.append(bytes);
}

void CRspPacketReader::Reset() {
    m_input.clear();
    m_position = 0;
    m_state = State::kOutside;
    m_overflowed = false;
    m_frame.clear();
    m_garbage = 0;
}

CRspPacketReader::Event CRspPacketReader::Next() {
    while (m_position < m_input.size()) {
        const char c = m_input[m_position++];
        switch (m_state) {
        case State::kOutside:
            if (c == '+') return Event::kAck;
            if (c == '-') return Event::kNak;
            if (c == '$' || c == '%') {
                m_state = State::kFrame;
                m_notification = c == '%';
                m_overflowed = false;
                m_frame.clear();
                m_garbage = 0;
            } else if (++m_garbage > m_limit) {
                m_garbage = 0;
                return Event::kGarbage;
            }
            break;
        case State::kFrame:
            if (c == '#') {
                m_state = State::kChecksumHigh;
            } else if (c == '$' && !m_overflowed) {
                // A new frame before this one ended: this one was cut off.
                m_garbage += m_frame.size();
                m_frame.clear();
                m_notification = false;
            } else if (!m_overflowed) {
                if (m_frame.size() == m_limit) {
                    m_overflowed = true;
                    m_frame.clear();
                    m_frame.shrink_to_fit();
                    return Event::kOverflow;
                }
                m_frame += c;
            }
            break;
        case State::kChecksumHigh:
            m_checksum = HexDigitValue(c) << 4;
            m_state = State::kChecksumLow;
            if (m_checksum < 0) {
                m_state = c == '$' ? State::kFrame : State::kOutside;
                m_frame.clear();
                if (!m_overflowed) return Event::kDamaged;
            }
            break;
        case State::kChecksumLow: {
            const int low = HexDigitValue(c);
            m_state = State::kOutside;
            if (low < 0) {
                if (c == '$') {
                    m_state = State::kFrame;
                    m_notification = false;
                }
                m_frame.clear();
                if (!m_overflowed) return Event::kDamaged;
                break;
            }
            m_checksum |= low;
            return EndFrame();
        }
        }
    }
    return Event::kNeedBytes;
}

CRspPacketReader::Event CRspPacketReader::EndFrame() {
    std::string frame;
    frame.swap(m_frame);
    if (m_overflowed) {
        m_overflowed = false;
        return Next();
    }
    // A notification is never acknowledged, so a damaged one cannot be asked for again: it is passed over.
    if (RspChecksum(frame) != m_checksum) return m_notification ? Next() : Event::kDamaged;
    if (m_notification && DecodeRspPayload(frame, m_limit, m_payload) != RspDecoding::kDecoded) return Next();
    if (m_notification) return Event::kNotification;
    switch (DecodeRspPayload(frame, m_limit, m_payload)) {
    case RspDecoding::kDecoded: return m_notification ? Event::kNotification : Event::kPacket;
    case RspDecoding::kMalformed: return Event::kDamaged;
    case RspDecoding::kTooLong: break;
    }
    m_payload.clear();
    return Event::kOverflow;
}
