// SPDX-License-Identifier: MIT
#include "tests/FakeGdbServer.h"

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/write.hpp>
#include <functional>

#include "remote/RspFraming.h"
#include "remote/RspPacketReader.h"

namespace {

using asio::ip::tcp;
using Deadline = std::chrono::steady_clock::time_point;

constexpr auto kLifetime = std::chrono::seconds(10);

// Runs `io` until `done` or the deadline; an operation still under way is
// cancelled through `cancel` and its handler run before this returns.
bool RunUntilDone(asio::io_context& io, const bool& done, Deadline deadline, const std::function<void()>& cancel) {
    io.restart();
    while (!done && std::chrono::steady_clock::now() < deadline) io.run_one_until(deadline);
    if (done) return true;
    cancel();
    io.restart();
    io.run();
    return false;
}

}  // namespace

struct FakeGdbServer::Listener {
    asio::io_context io;
    tcp::acceptor acceptor{io, tcp::endpoint(asio::ip::address_v4::loopback(), 0)};
};

std::string FakeGdbServer::Packet(std::string_view payload) { return EncodeRspPacket(payload); }

std::vector<FakeGdbServer::Step> FakeGdbServer::Handshake(std::string_view features) {
    std::vector<Step> steps{{Step::After::kNextPacket, Reply(features)}};
    const bool noAck = features.find("QStartNoAckMode+") != std::string_view::npos;
    if (noAck) steps.push_back({Step::After::kNextPacket, Reply("OK")});
    std::string stopReply = noAck ? "" : "+";
    steps.push_back({Step::After::kNextPacket, stopReply.append(Packet("S05"))});
    return steps;
}

FakeGdbServer::FakeGdbServer(std::vector<Step> script) : m_script(std::move(script)) {
    m_listener = std::make_unique<Listener>();
    m_port = m_listener->acceptor.local_endpoint().port();
    m_thread = std::thread([this] { Run(); });
}

FakeGdbServer::~FakeGdbServer() { Finish(); }

void FakeGdbServer::Finish() {
    if (m_thread.joinable()) m_thread.join();
}

std::vector<std::string> FakeGdbServer::Packets() const {
    std::lock_guard lock(m_mutex);
    return m_packets;
}

std::string FakeGdbServer::Bytes() const {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

void FakeGdbServer::Run() {
    const Deadline deadline = std::chrono::steady_clock::now() + kLifetime;
    asio::io_context& io = m_listener->io;
    tcp::acceptor& acceptor = m_listener->acceptor;
    tcp::socket peer(io);
    bool accepted = false;
    asio::error_code error;
    acceptor.async_accept(peer, [&](const asio::error_code& result) {
        error = result;
        accepted = true;
    });
    if (!RunUntilDone(io, accepted, deadline, [&] { acceptor.cancel(); }) || error) return;

    CRspPacketReader reader;
    // Reads until the client's next packet (or '-'); false when it closed or went quiet.
    auto await = [&](CRspPacketReader::Event wanted) {
        for (;;) {
            const CRspPacketReader::Event event = reader.Next();
            if (event == CRspPacketReader::Event::kPacket) {
                std::lock_guard lock(m_mutex);
                m_packets.push_back(reader.Payload());
            }
            if (event == wanted) return true;
            if (event != CRspPacketReader::Event::kNeedBytes) continue;
            char chunk[4096];
            std::size_t got = 0;
            bool done = false;
            peer.async_read_some(asio::buffer(chunk), [&](const asio::error_code& result, std::size_t count) {
                error = result;
                got = count;
                done = true;
            });
            if (!RunUntilDone(io, done, deadline, [&] { peer.cancel(); }) || error || got == 0) return false;
            std::lock_guard lock(m_mutex);
            m_bytes.append(chunk, got);
            reader.Feed(std::string_view(chunk, got));
        }
    };
    auto send = [&](const std::string& bytes) { asio::write(peer, asio::buffer(bytes), error); };

    bool open = true;
    for (const Step& step : m_script) {
        if (step.after == Step::After::kNextPacket) open = await(CRspPacketReader::Event::kPacket);
        if (step.after == Step::After::kNextNak) open = await(CRspPacketReader::Event::kNak);
        if (!open) break;
        std::this_thread::sleep_for(step.pause);
        send(step.raw);
        if (step.closeAfter) {
            open = false;
            break;
        }
    }
    // Past the script: a detach is answered, anything else is left unanswered.
    while (open && await(CRspPacketReader::Event::kPacket)) {
        if (reader.Payload() == "D") send(Reply("OK"));
    }
}
