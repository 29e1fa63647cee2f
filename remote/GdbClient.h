// SPDX-License-Identifier: MIT
#pragma once
// Reads and writes a target's memory through a GDB server (OpenOCD, pyOCD,
// J-Link, QEMU, probe-rs, Black Magic Probe) over the remote serial protocol.
// It sends only qSupported, QStartNoAckMode, '?', 'm', 'M' and, on
// disconnect, 'D' - nothing that resumes, halts, steps or resets the target
// or sets breakpoints. Calls block until answered, for at most the timeout
// each exchange; run them off the window's thread and cancel them through
// the CCancelSignal given to Connect. One thread at a time may call.
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "remote/ByteChannel.h"
#include "problem/Result.h"

class CCancelSignal;
class CPacketTrace;
class CRspSession;

class CGdbClient {
public:
    // The packet size assumed of a server whose qSupported reply names none.
    static constexpr std::uint32_t kDefaultPacketSize = 256;
    // Packet sizes a server names are taken within these bounds: the
    // requests must fit, and replies stay far under the reader's limit.
    static constexpr std::uint32_t kMinPacketSize = 32;
    static constexpr std::uint32_t kMaxPacketSize = 16 * 1024;
    static constexpr std::chrono::milliseconds kDefaultTimeout{2000};

    explicit CGdbClient(std::chrono::milliseconds timeout = kDefaultTimeout);
    ~CGdbClient();  // disconnects
    CGdbClient(const CGdbClient&) = delete;
    CGdbClient& operator=(const CGdbClient&) = delete;

    // Connects to "HOST:PORT" and shakes hands; `cancel` (may be null) stops
    // the connect or any later request and must outlive the connection.
    Status Connect(std::string_view endpoint, const CCancelSignal* cancel = nullptr);
    // Shakes hands over a channel that is already open (an in-memory stream).
    Status Start(std::unique_ptr<CByteChannel> channel);

    // Exactly `size` bytes from `address` on, in the target's order, in as
    // many 'm' requests as the packet size needs.
    Result<std::vector<std::uint8_t>> ReadMemory(std::uint64_t address, std::uint32_t size);
    // Writes `bytes` at `address` in as many 'M' requests as needed.
    Status WriteMemory(std::uint64_t address, std::span<const std::uint8_t> bytes);

    // The next notification the server sends ("Stop:T05" when the target
    // stopped), waiting at most `wait`: kTimedOut or kCancelled when none
    // came, which leave the connection as it was; a lost connection
    // disconnects. One that came during a request is given first.
    Result<std::string> WaitForNotification(std::chrono::milliseconds wait);

    // Detaches ('D') so a target the server stopped for us runs on, then
    // closes. A timed-out, cancelled or garbled exchange disconnects too,
    // since a late reply could be taken for the next answer.
    void Disconnect();

    bool IsConnected() const { return m_session != nullptr; }
    // "localhost:3333" while connected.
    const std::string& Where() const { return m_where; }
    std::uint32_t PacketSize() const { return m_packetSize; }
    // Whether the server took QStartNoAckMode.
    bool NoAckMode() const { return m_noAck; }
    // The most bytes one 'm' request asks for.
    std::uint32_t MaxReadBytes() const { return (m_packetSize - 4) / 2; }
    std::chrono::milliseconds Timeout() const { return m_timeout; }
    void SetTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Every packet of the next connections is written to `trace` (null: none).
    void SetTrace(std::shared_ptr<CPacketTrace> trace) { m_trace = std::move(trace); }
    // The session while connected, for checks that memory stays bounded.
    const CRspSession* Session() const { return m_session.get(); }

private:
    Status Handshake();
    // Appends the bytes of one 'm' request to `into`.
    Status ReadChunk(std::uint64_t address, std::uint32_t size, std::vector<std::uint8_t>& into);
    Status WriteChunk(std::uint64_t address, std::span<const std::uint8_t> bytes);
    // Drops the connection when an exchange left it out of step.
    Status Failed(Problem problem);

    std::chrono::milliseconds m_timeout;
    std::shared_ptr<CPacketTrace> m_trace;
    std::unique_ptr<CRspSession> m_session;
    std::string m_where;
    std::uint32_t m_packetSize = kDefaultPacketSize;
    bool m_noAck = false;
};
