// SPDX-License-Identifier: MIT
#include "remote/TcpChannel.h"

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/write.hpp>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "remote/CancelSignal.h"
#include "remote/RemoteText.h"

using asio::ip::tcp;

struct CTcpChannel::Connection {
    asio::io_context io;
    tcp::socket socket{io};

    // Runs the loop until `done`, the deadline or a cancel. An operation
    // still under way is cancelled and its handler run, so nothing refers to
    // the caller's buffers when this returns.
    Status Run(const bool& done, RemoteDeadline deadline, const CCancelSignal* cancel) {
        const CCancelSignal::Waker waker(cancel, [this] { io.stop(); });
        Status status = Succeeded();
        io.restart();
        while (!done) {
            if (cancel != nullptr && cancel->IsCancelled()) {
                status = Status::Failure(ProblemCode::kCancelled, "cancelled");
                break;
            }
            if (RemoteClock::now() >= deadline) {
                status = Status::Failure(ProblemCode::kTimedOut, "timed out");
                break;
            }
            io.run_one_until(deadline);
            if (io.stopped()) io.restart();
        }
        if (!done) {
            asio::error_code ignored;
            socket.cancel(ignored);
            io.restart();
            io.run();
        }
        return status;
    }
};

namespace {

// A name lookup in progress. The system's resolver cannot be interrupted, so
// it runs on a thread of its own that is left behind when the deadline or a
// cancel comes first; this state outlives whichever side finishes last.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable finishedOrCancelled;
    bool finished = false;
    asio::error_code error;
    std::vector<tcp::endpoint> addresses;
};

Result<std::vector<tcp::endpoint>> LookUp(const RemoteEndpoint& endpoint, RemoteDeadline deadline,
                                          std::chrono::milliseconds timeout, const CCancelSignal* cancel) {
    using Addresses = Result<std::vector<tcp::endpoint>>;
    asio::error_code error;
    const asio::ip::address literal = asio::ip::make_address(endpoint.host, error);
    if (!error) return Addresses::Success({tcp::endpoint(literal, endpoint.port)});

    auto pending = std::make_shared<PendingLookup>();
    std::thread([pending, host = endpoint.host, port = std::to_string(endpoint.port)] {
        asio::io_context io;
        tcp::resolver resolver(io);
        asio::error_code error;
        const auto results = resolver.resolve(host, port, error);
        const std::lock_guard lock(pending->mutex);
        for (const auto& entry : results) pending->addresses.push_back(entry.endpoint());
        pending->error = error;
        pending->finished = true;
        pending->finishedOrCancelled.notify_all();
    }).detach();

    // The waker takes the lookup's lock only while this side does not hold
    // it waiting for the signal's, so the two never wait for each other.
    const CCancelSignal::Waker waker(cancel, [pending] {
        const std::lock_guard lock(pending->mutex);
        pending->finishedOrCancelled.notify_all();
    });
    std::unique_lock lock(pending->mutex);
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->IsCancelled(); };
    pending->finishedOrCancelled.wait_until(lock, deadline, [&] { return pending->finished || cancelled(); });
    if (cancelled()) {
        return Addresses::Failure(ProblemCode::kCancelled, "the connection to " + endpoint.Text() + " was cancelled");
    }
    if (!pending->finished) {
        return Addresses::Failure(ProblemCode::kTimedOut, "cannot find the host " + endpoint.host + " within " +
                                                              RemoteDurationText(timeout));
    }
    if (pending->error || pending->addresses.empty()) {
        const std::string reason = pending->error ? pending->error.message() : "no address";
        return Addresses::Failure(ProblemCode::kHostNotFound,
                                  "cannot find the host " + endpoint.host + " (" + reason + ")");
    }
    return Addresses::Success(std::move(pending->addresses));
}

}  // namespace

Result<std::unique_ptr<CTcpChannel>> CTcpChannel::Open(const RemoteEndpoint& endpoint,
                                                       std::chrono::milliseconds timeout,
                                                       const CCancelSignal* cancel) {
    using Opened = Result<std::unique_ptr<CTcpChannel>>;
    const std::string where = endpoint.Text();
    const RemoteDeadline deadline = RemoteClock::now() + timeout;
    const auto addresses = LookUp(endpoint, deadline, timeout, cancel);
    if (!addresses) return Opened::FailureOf(addresses);

    auto connection = std::make_unique<Connection>();
    Problem problem = MakeProblem(ProblemCode::kCannotConnect, "cannot connect to " + where);
    for (const tcp::endpoint& address : addresses.Value()) {
        asio::error_code error;
        tcp::socket& socket = connection->socket;
        if (socket.open(address.protocol(), error)) continue;
        bool done = false;
        socket.async_connect(address, [&](const asio::error_code& result) {
            error = result;
            done = true;
        });
        const Status status = connection->Run(done, deadline, cancel);
        if (status.Failed(ProblemCode::kCancelled)) {
            return Opened::Failure(ProblemCode::kCancelled, "the connection to " + where + " was cancelled");
        }
        if (status.Failed(ProblemCode::kTimedOut)) {
            return Opened::Failure(ProblemCode::kTimedOut,
                                   "no answer from " + where + " within " + RemoteDurationText(timeout));
        }
        if (!error) {
            // Requests are small and each waits for its answer: send at once.
            asio::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            return Opened::Success(
                std::unique_ptr<CTcpChannel>(new CTcpChannel(std::move(connection), where, cancel)));
        }
        asio::error_code ignored;
        socket.close(ignored);
        problem = error == asio::error::connection_refused
                      ? MakeProblem(ProblemCode::kConnectionRefused, "connection to " + where + " refused")
                      : MakeProblem(ProblemCode::kCannotConnect,
                                    "cannot connect to " + where + " (" + error.message() + ")");
    }
    return Opened::Failure(std::move(problem));
}

CTcpChannel::CTcpChannel(std::unique_ptr<Connection> connection, std::string where, const CCancelSignal* cancel)
    : m_connection(std::move(connection)), m_where(std::move(where)), m_cancel(cancel) {}

CTcpChannel::~CTcpChannel() = default;

Status CTcpChannel::Lost() const {
    return Status::Failure(ProblemCode::kConnectionLost, "the connection to " + m_where + " was lost");
}

Status CTcpChannel::Send(std::string_view bytes, RemoteDeadline deadline) {
    bool done = false;
    asio::error_code error;
    asio::async_write(m_connection->socket, asio::buffer(bytes.data(), bytes.size()),
                      [&](const asio::error_code& result, std::size_t) {
                          error = result;
                          done = true;
                      });
    const Status status = m_connection->Run(done, deadline, m_cancel);
    if (!status) return status;
    return error ? Lost() : Succeeded();
}

Status CTcpChannel::Receive(char* buffer, std::size_t capacity, std::size_t& received,
                            RemoteDeadline deadline) {
    received = 0;
    bool done = false;
    asio::error_code error;
    m_connection->socket.async_read_some(asio::buffer(buffer, capacity),
                                         [&](const asio::error_code& result, std::size_t count) {
                                             error = result;
                                             received = count;
                                             done = true;
                                         });
    const Status status = m_connection->Run(done, deadline, m_cancel);
    if (!status) return status;
    // The peer's close (end of file) ends the stream like any failure.
    return error || received == 0 ? Lost() : Succeeded();
}
