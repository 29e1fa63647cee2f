// SPDX-License-Identifier: MIT
#pragma once
// A GDB server played from a script, on a thread listening (with Asio) on
// 127.0.0.1 at a port the system picks. Each step sends raw bytes at once or after the
// client's next packet (or next '-'); what the client sends is recorded.
// Every wait has a deadline, so a client that goes quiet ends the thread.
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeGdbServer {
public:
    struct Step {
        enum class After { kNothing, kNextPacket, kNextNak };
        After after = After::kNextPacket;
        std::string raw;  // sent as it stands, checksums and all
        std::chrono::milliseconds pause{0};  // before sending
        bool closeAfter = false;
    };

    explicit FakeGdbServer(std::vector<Step> script);
    ~FakeGdbServer();
    FakeGdbServer(const FakeGdbServer&) = delete;
    FakeGdbServer& operator=(const FakeGdbServer&) = delete;

    std::string Endpoint() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The payloads of the client's packets and all its bytes, so far.
    std::vector<std::string> Packets() const;
    std::string Bytes() const;
    // Waits (at most 5 s) until the client has closed and the thread ended.
    void Finish();

    // A packet as a server frames it, and the same after an acknowledgement.
    static std::string Packet(std::string_view payload);
    static std::string Reply(std::string_view payload) { return std::string("+").append(Packet(payload)); }
    // A notification ("%Stop:T05#99"), which is never acknowledged.
    static std::string Notification(std::string_view payload) { return std::string("%").append(Packet(payload).substr(1)); }
    // Answers to qSupported (with `features`) and '?', and to QStartNoAckMode
    // when `features` offers it.
    static std::vector<Step> Handshake(std::string_view features);

private:
    struct Listener;  // the listening socket and its event loop
    void Run();

    std::vector<Step> m_script;
    std::unique_ptr<Listener> m_listener;
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_packets;
    std::string m_bytes;
    std::thread m_thread;
};
