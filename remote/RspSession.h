// SPDX-License-Identifier: MIT
#pragma once
// One request and its reply at a time over a byte channel: the request is
// framed and, while acknowledgements are on, sent again when the server asks
// ('-'); good replies are acknowledged ('+') and damaged ones asked for again.
// A reply the caller's filter says cannot answer the request (a stop reply
// nobody asked for, console output) is passed over.
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "remote/ByteChannel.h"
#include "remote/PacketTrace.h"
#include "problem/Result.h"
#include "remote/RspPacketReader.h"

class CRspSession {
public:
    // Whether a reply's payload can be the answer to the request under way.
    using ReplyFilter = std::function<bool(std::string_view payload)>;

    // How often a packet is sent again, or a damaged reply asked for again,
    // before the exchange gives up.
    static constexpr int kMaxRetries = 3;
    // Replies passed over in one exchange before it gives up.
    static constexpr int kMaxPassedOver = 64;

    explicit CRspSession(std::unique_ptr<CByteChannel> channel);

    // Sends `request` and waits at most `timeout` for a reply `filter`
    // accepts. `what` names the request in problems ("the read of 4 bytes at
    // 0x40021000"). After a failure the stream is out of step (a late reply
    // could be taken for the next answer): InStep() turns false.
    Result<std::string> Exchange(std::string_view request, const ReplyFilter& filter,
                                       std::chrono::milliseconds timeout, std::string_view what);
    // Sends `request` without waiting for any reply (the last word before closing).
    void SendOnly(std::string_view request, std::chrono::milliseconds timeout);

    // The most notifications kept unread; older ones are dropped first.
    static constexpr std::size_t kMaxKeptNotifications = 16;
    // The payload of the next notification ("Stop:T05"): one that came during
    // an exchange, else one the server sends before `deadline`. No request is
    // under way, so a deadline or a cancel (kTimedOut, kCancelled) leaves the
    // session in step; packets nobody asked for are acknowledged and passed over.
    Result<std::string> WaitForNotification(RemoteDeadline deadline);
    std::size_t KeptNotifications() const { return m_notifications.size(); }

    // Acknowledgements are on at first; QStartNoAckMode turns them off.
    void SetAcknowledging(bool on) { m_acknowledging = on; }
    bool Acknowledging() const { return m_acknowledging; }
    bool InStep() const { return m_inStep; }
    // Every packet and acknowledgement sent and received is written to
    // `trace` (null: none); it must outlive the session.
    void SetTrace(CPacketTrace* trace) { m_trace = trace; }
    const std::string& Where() const { return m_channel->Where(); }
    // The reader, for checks that its memory stays bounded.
    const CRspPacketReader& Reader() const { return m_reader; }

private:
    Result<std::string> Fail(ProblemCode code, std::string detail);
    Status Send(std::string_view bytes, RemoteDeadline deadline);
    // Waits for bytes and feeds them to the reader.
    Status ReceiveMore(RemoteDeadline deadline);
    void TraceReceived(CRspPacketReader::Event event);
    // Keeps the reader's notification for WaitForNotification.
    void KeepNotification();
    // A failed wait of the channel told in the session's words.
    Result<std::string> ChannelFailed(const Status& status, std::chrono::milliseconds timeout, std::string_view what);

    std::unique_ptr<CByteChannel> m_channel;
    CRspPacketReader m_reader;
    std::deque<std::string> m_notifications;
    bool m_acknowledging = true;
    bool m_inStep = true;
    CPacketTrace* m_trace = nullptr;
};
