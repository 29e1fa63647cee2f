// SPDX-License-Identifier: MIT
#include "remote/TcpChannel.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "remote/CancelSignal.h"
#include "remote/RemoteText.h"

namespace {

// Waits for `events` on `fd` or for the cancel signal, until `deadline`.
ChannelStatus WaitFor(int fd, short events, RemoteDeadline deadline, const CCancelSignal* cancel) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - RemoteClock::now());
        if (left.count() <= 0) return ChannelStatus::kTimedOut;
        pollfd entries[2] = {{fd, events, 0}, {cancel ? cancel->Fd() : -1, POLLIN, 0}};
        const int ready = poll(entries, 2, static_cast<int>(std::min<long long>(left.count(), 60000)));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return ChannelStatus::kClosed;
        }
        if (entries[1].revents & POLLIN) return ChannelStatus::kCancelled;
        if (entries[0].revents) return ChannelStatus::kOk;
    }
}

}  // namespace

RemoteResult<std::unique_ptr<CTcpChannel>> CTcpChannel::Open(const RemoteEndpoint& endpoint,
                                                             std::chrono::milliseconds timeout,
                                                             const CCancelSignal* cancel) {
    using Result = RemoteResult<std::unique_ptr<CTcpChannel>>;
    const std::string where = endpoint.Text();
    const RemoteDeadline deadline = RemoteClock::now() + timeout;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* addresses = nullptr;
    const std::string port = std::to_string(endpoint.port);
    if (const int error = getaddrinfo(endpoint.host.c_str(), port.c_str(), &hints, &addresses); error != 0) {
        return Result::Failure("cannot find the host " + endpoint.host + " (" + gai_strerror(error) + ")");
    }

    std::string problem = "cannot connect to " + where;
    for (const addrinfo* address = addresses; address; address = address->ai_next) {
        const int fd = socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address->ai_protocol);
        if (fd < 0) continue;
        int error = connect(fd, address->ai_addr, address->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS) {
            const ChannelStatus status = WaitFor(fd, POLLOUT, deadline, cancel);
            if (status == ChannelStatus::kOk) {
                socklen_t length = sizeof error;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
            } else {
                close(fd);
                freeaddrinfo(addresses);
                return Result::Failure(status == ChannelStatus::kCancelled
                                           ? "the connection to " + where + " was cancelled"
                                           : "no answer from " + where + " within " + RemoteDurationText(timeout));
            }
        }
        if (error == 0) {
            freeaddrinfo(addresses);
            // Requests are small and each waits for its answer: send at once.
            const int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            return Result::Success(std::unique_ptr<CTcpChannel>(new CTcpChannel(fd, where, cancel)));
        }
        close(fd);
        problem = error == ECONNREFUSED ? "connection to " + where + " refused"
                                        : "cannot connect to " + where + " (" + std::strerror(error) + ")";
    }
    freeaddrinfo(addresses);
    return Result::Failure(problem);
}

CTcpChannel::CTcpChannel(int fd, std::string where, const CCancelSignal* cancel)
    : m_fd(fd), m_where(std::move(where)), m_cancel(cancel) {}

CTcpChannel::~CTcpChannel() { close(m_fd); }

ChannelStatus CTcpChannel::Wait(short events, RemoteDeadline deadline) const {
    return WaitFor(m_fd, events, deadline, m_cancel);
}

ChannelStatus CTcpChannel::Send(std::string_view bytes, RemoteDeadline deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const ChannelStatus status = Wait(POLLOUT, deadline); status != ChannelStatus::kOk) return status;
        } else {
            return ChannelStatus::kClosed;
        }
    }
    return ChannelStatus::kOk;
}

ChannelStatus CTcpChannel::Receive(char* buffer, std::size_t capacity, std::size_t& received,
                                   RemoteDeadline deadline) {
    received = 0;
    for (;;) {
        const ssize_t got = recv(m_fd, buffer, capacity, 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return ChannelStatus::kOk;
        }
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return ChannelStatus::kClosed;
        if (const ChannelStatus status = Wait(POLLIN, deadline); status != ChannelStatus::kOk) return status;
    }
}
