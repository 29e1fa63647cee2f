// SPDX-License-Identifier: MIT
#pragma once
// A TCP connection to a GDB server, made with Asio. Every wait runs the
// connection's own event loop until the operation is done, the caller's
// deadline passes or the cancel signal is raised, whichever comes first.
#include <chrono>
#include <memory>

#include "problem/Result.h"
#include "remote/ByteChannel.h"
#include "remote/Endpoint.h"

class CCancelSignal;

class CTcpChannel final : public CByteChannel {
public:
    // Looks the host up (IPv4 or IPv6) and connects to the first address
    // that accepts, all within `timeout`. `cancel` (may be null) must outlive
    // the channel.
    static Result<std::unique_ptr<CTcpChannel>> Open(const RemoteEndpoint& endpoint,
                                                     std::chrono::milliseconds timeout,
                                                     const CCancelSignal* cancel);
    ~CTcpChannel() override;
    CTcpChannel(const CTcpChannel&) = delete;
    CTcpChannel& operator=(const CTcpChannel&) = delete;

    Status Send(std::string_view bytes, RemoteDeadline deadline) override;
    Status Receive(char* buffer, std::size_t capacity, std::size_t& received, RemoteDeadline deadline) override;
    const std::string& Where() const override { return m_where; }

private:
    struct Connection;  // the socket and the event loop it runs on
    CTcpChannel(std::unique_ptr<Connection> connection, std::string where, const CCancelSignal* cancel);
    // kConnectionLost: the peer closed the stream, or it failed.
    Status Lost() const;

    std::unique_ptr<Connection> m_connection;
    std::string m_where;
    const CCancelSignal* m_cancel;
};
