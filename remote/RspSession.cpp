// SPDX-License-Identifier: MIT
#include "remote/RspSession.h"

#include "remote/RemoteText.h"
#include "remote/RspFraming.h"

namespace {

constexpr std::size_t kReceiveChunk = 4096;

}  // namespace

CRspSession::CRspSession(std::unique_ptr<CByteChannel> channel) : m_channel(std::move(channel)) {}

Result<std::string> CRspSession::Fail(ProblemCode code, std::string detail) {
    m_inStep = false;
    m_reader.Reset();
    return Result<std::string>::Failure(code, std::move(detail));
}

Result<std::string> CRspSession::ChannelFailed(const Status& status, std::chrono::milliseconds timeout,
                                               std::string_view what) {
    if (status.Failed(ProblemCode::kTimedOut))
        return Fail(ProblemCode::kTimedOut, "no answer from " + Where() + " within " + RemoteDurationText(timeout));
    if (status.Failed(ProblemCode::kCancelled)) return Fail(ProblemCode::kCancelled, std::string(what) + " was cancelled");
    return Fail(ProblemCode::kConnectionLost, "the connection to " + Where() + " was lost");
}

Status CRspSession::Send(std::string_view bytes, RemoteDeadline deadline) {
    if (m_trace != nullptr) {
        if (bytes == "+") {
            m_trace->SentAck();
        } else if (bytes == "-") {
            m_trace->SentNak();
        } else {
            m_trace->Sent(bytes);
        }
    }
    return m_channel->Send(bytes, deadline);
}

void CRspSession::TraceReceived(CRspPacketReader::Event event) {
    switch (event) {
    case CRspPacketReader::Event::kAck: m_trace->ReceivedAck(); break;
    case CRspPacketReader::Event::kNak: m_trace->ReceivedNak(); break;
    case CRspPacketReader::Event::kPacket: m_trace->Received(m_reader.Payload()); break;
    case CRspPacketReader::Event::kNotification: m_trace->ReceivedNotification(m_reader.Payload()); break;
    default: break;
    }
}

Status CRspSession::ReceiveMore(RemoteDeadline deadline) {
    char chunk[kReceiveChunk];
    std::size_t received = 0;
    Status status = m_channel->Receive(chunk, sizeof chunk, received, deadline);
    if (status) m_reader.Feed(std::string_view(chunk, received));
    return status;
}

void CRspSession::SendOnly(std::string_view request, std::chrono::milliseconds timeout) {
    Send(EncodeRspPacket(request), RemoteClock::now() + timeout);
}

Result<std::string> CRspSession::Exchange(std::string_view request, const ReplyFilter& filter,
                                          std::chrono::milliseconds timeout, std::string_view what) {
    if (!m_inStep) return Fail(ProblemCode::kOutOfStep, "the connection to " + Where() + " is out of step after an earlier problem");
    const RemoteDeadline deadline = RemoteClock::now() + timeout;
    const std::string packet = EncodeRspPacket(request);
    if (const Status status = Send(packet, deadline); !status) {
        return ChannelFailed(status, timeout, what);
    }

    bool awaitingAck = m_acknowledging;
    int resent = 0;
    int damaged = 0;
    int passedOver = 0;
    for (;;) {
        const CRspPacketReader::Event event = m_reader.Next();
        if (m_trace != nullptr) TraceReceived(event);
        switch (event) {
        case CRspPacketReader::Event::kNeedBytes:
            if (const Status status = ReceiveMore(deadline); !status) {
                return ChannelFailed(status, timeout, what);
            }
            break;
        case CRspPacketReader::Event::kAck:
            awaitingAck = false;
            break;
        case CRspPacketReader::Event::kNak:
            // Only a request not yet acknowledged is sent again; a '-' after
            // the '+' is noise.
            if (!awaitingAck) break;
            if (++resent > kMaxRetries) {
                return Fail(ProblemCode::kBadReply, "the server at " + Where() + " asked " + std::to_string(resent) +
                            " times for the request again");
            }
            if (const Status status = Send(packet, deadline); !status) {
                return ChannelFailed(status, timeout, what);
            }
            break;
        case CRspPacketReader::Event::kNotification:
            KeepNotification();
            break;
        case CRspPacketReader::Event::kDamaged:
            if (!m_acknowledging) return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent a damaged reply");
            if (++damaged > kMaxRetries) {
                return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent a damaged reply " + std::to_string(damaged) +
                            " times");
            }
            if (const Status status = Send("-", deadline); !status) {
                return ChannelFailed(status, timeout, what);
            }
            break;
        case CRspPacketReader::Event::kOverflow:
            return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent a reply longer than " +
                        std::to_string(m_reader.Limit()) + " bytes");
        case CRspPacketReader::Event::kGarbage:
            return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent " + std::to_string(m_reader.Limit()) +
                        " bytes that are no packet");
        case CRspPacketReader::Event::kPacket: {
            // A reply stands for the acknowledgement it may have come without.
            awaitingAck = false;
            if (m_acknowledging) {
                if (const Status status = Send("+", deadline); !status) {
                    return ChannelFailed(status, timeout, what);
                }
            }
            if (filter(m_reader.Payload())) return Result<std::string>::Success(m_reader.Payload());
            if (++passedOver > kMaxPassedOver) {
                return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent " + std::to_string(passedOver) +
                            " replies that do not answer " + std::string(what));
            }
            break;
        }
        }
    }
}

void CRspSession::KeepNotification() {
    if (m_notifications.size() == kMaxKeptNotifications) m_notifications.pop_front();
    m_notifications.push_back(m_reader.Payload());
}

Result<std::string> CRspSession::WaitForNotification(RemoteDeadline deadline) {
    if (!m_inStep) return Fail(ProblemCode::kOutOfStep, "the connection to " + Where() + " is out of step after an earlier problem");
    while (m_notifications.empty()) {
        const CRspPacketReader::Event event = m_reader.Next();
        if (m_trace != nullptr) TraceReceived(event);
        switch (event) {
        case CRspPacketReader::Event::kNeedBytes: {
            const Status status = ReceiveMore(deadline);
            if (status.Failed(ProblemCode::kTimedOut)) return Result<std::string>::Failure(ProblemCode::kTimedOut, "no notification from " + Where());
            if (status.Failed(ProblemCode::kCancelled)) return Result<std::string>::Failure(ProblemCode::kCancelled, "the wait for a notification was cancelled");
            if (!status) return Fail(ProblemCode::kConnectionLost, "the connection to " + Where() + " was lost");
            break;
        }
        case CRspPacketReader::Event::kNotification: KeepNotification(); break;
        case CRspPacketReader::Event::kPacket:
            if (m_acknowledging && !Send("+", deadline)) {
                return Fail(ProblemCode::kConnectionLost, "the connection to " + Where() + " was lost");
            }
            break;
        case CRspPacketReader::Event::kOverflow:
        case CRspPacketReader::Event::kGarbage:
            return Fail(ProblemCode::kBadReply, "the server at " + Where() + " sent bytes that are no packet");
        default: break;  // acknowledgements and damage with no request under way
        }
    }
    std::string payload = std::move(m_notifications.front());
    m_notifications.pop_front();
    return Result<std::string>::Success(std::move(payload));
}
