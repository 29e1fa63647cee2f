// SPDX-License-Identifier: MIT
#pragma once
// A TCP connection to a GDB server. The socket is non-blocking and every wait
// is a poll on it and on the cancel signal, bounded by the caller's deadline.
#include <chrono>
#include <memory>

#include "remote/ByteChannel.h"
#include "remote/Endpoint.h"
#include "remote/RemoteResult.h"

class CCancelSignal;

class CTcpChannel final : public CByteChannel {
public:
    // Resolves the host (IPv4 or IPv6) and connects to the first address that
    // accepts within `timeout`. `cancel` (may be null) must outlive the channel.
    static RemoteResult<std::unique_ptr<CTcpChannel>> Open(const RemoteEndpoint& endpoint,
                                                           std::chrono::milliseconds timeout,
                                                           const CCancelSignal* cancel);
    ~CTcpChannel() override;
    CTcpChannel(const CTcpChannel&) = delete;
    CTcpChannel& operator=(const CTcpChannel&) = delete;

    ChannelStatus Send(std::string_view bytes, RemoteDeadline deadline) override;
    ChannelStatus Receive(char* buffer, std::size_t capacity, std::size_t& received,
                          RemoteDeadline deadline) override;
    const std::string& Where() const override { return m_where; }

private:
    CTcpChannel(int fd, std::string where, const CCancelSignal* cancel);
    // Waits until the socket is ready for `events`.
    ChannelStatus Wait(short events, RemoteDeadline deadline) const;

    int m_fd;
    std::string m_where;
    const CCancelSignal* m_cancel;
};
