// SPDX-License-Identifier: MIT
#include "tests/FakeGdbServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "remote/RspFraming.h"
#include "remote/RspPacketReader.h"

namespace {

constexpr auto kLifetime = std::chrono::seconds(10);

}  // namespace

std::string FakeGdbServer::Packet(std::string_view payload) { return EncodeRspPacket(payload); }

std::vector<FakeGdbServer::Step> FakeGdbServer::Handshake(std::string_view features) {
    std::vector<Step> steps{{Step::After::kNextPacket, Reply(features)}};
    const bool noAck = features.find("QStartNoAckMode+") != std::string_view::npos;
    if (noAck) steps.push_back({Step::After::kNextPacket, Reply("OK")});
    steps.push_back({Step::After::kNextPacket, (noAck ? "" : "+") + Packet("S05")});
    return steps;
}

FakeGdbServer::FakeGdbServer(std::vector<Step> script) : m_script(std::move(script)) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(m_listener, 1);
    socklen_t length = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

FakeGdbServer::~FakeGdbServer() {
    Finish();
    close(m_listener);
}

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
    const auto deadline = std::chrono::steady_clock::now() + kLifetime;
    auto wait = [&](int fd) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        return left.count() > 0 && poll(&entry, 1, static_cast<int>(left.count())) == 1;
    };
    if (!wait(m_listener)) return;
    const int peer = accept(m_listener, nullptr, nullptr);
    if (peer < 0) return;

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
            if (!wait(peer)) return false;
            const ssize_t got = recv(peer, chunk, sizeof chunk, 0);
            if (got <= 0) return false;
            std::lock_guard lock(m_mutex);
            m_bytes.append(chunk, static_cast<std::size_t>(got));
            reader.Feed(std::string_view(chunk, static_cast<std::size_t>(got)));
        }
    };

    bool open = true;
    for (const Step& step : m_script) {
        if (step.after == Step::After::kNextPacket) open = await(CRspPacketReader::Event::kPacket);
        if (step.after == Step::After::kNextNak) open = await(CRspPacketReader::Event::kNak);
        if (!open) break;
        std::this_thread::sleep_for(step.pause);
        send(peer, step.raw.data(), step.raw.size(), MSG_NOSIGNAL);
        if (step.closeAfter) {
            open = false;
            break;
        }
    }
    // Past the script: a detach is answered, anything else is left unanswered.
    while (open && await(CRspPacketReader::Event::kPacket)) {
        if (reader.Payload() == "D") {
            const std::string ok = Reply("OK");
            send(peer, ok.data(), ok.size(), MSG_NOSIGNAL);
        }
    }
    close(peer);
}
