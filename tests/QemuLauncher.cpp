// SPDX-License-Identifier: MIT
#include "tests/QemuLauncher.h"

#include <asio.hpp>
#include <cstdio>
#include <cstdlib>
#include <string_view>

struct QemuLauncher::Connection {
    asio::io_context io;
    asio::ip::tcp::socket socket{io};
    std::string buffer;
    bool connected = false;
};

namespace {

// Runs `io` until `done` or until `wait` passes; then `socket` is closed, so
// what was pending ends at once.
void RunUntil(asio::io_context& io, asio::ip::tcp::socket& socket, const bool& done, std::chrono::milliseconds wait) {
    io.restart();
    io.run_for(wait);
    if (!done) {
        asio::error_code ignored;
        socket.close(ignored);
        io.restart();
        io.run();
    }
}

}  // namespace

std::string QemuLauncher::Address() {
    const char* address = std::getenv("TAVLIN_QEMU_LAUNCHER");
    return address ? address : "";
}

QemuLauncher::QemuLauncher() : m_connection(std::make_unique<Connection>()) {
    const std::string address = Address();
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos) return;
    asio::error_code error;
    const asio::ip::address host = asio::ip::make_address(address.substr(0, colon), error);
    if (error) return;
    const auto port = static_cast<unsigned short>(std::atoi(address.c_str() + colon + 1));
    Connection& c = *m_connection;
    bool done = false;
    c.socket.async_connect({host, port}, [&](const asio::error_code& result) {
        c.connected = !result;
        done = true;
    });
    RunUntil(c.io, c.socket, done, std::chrono::seconds(10));
}

QemuLauncher::~QemuLauncher() = default;

std::string QemuLauncher::Ask(const std::string& request, std::chrono::milliseconds wait) {
    Connection& c = *m_connection;
    if (!c.connected) return {};
    bool done = false;
    std::string answer;
    const std::string line = request + "\n";
    asio::async_write(c.socket, asio::buffer(line), [&](const asio::error_code& written, std::size_t) {
        if (written) {
            done = true;
            return;
        }
        asio::async_read_until(c.socket, asio::dynamic_buffer(c.buffer), '\n',
                               [&](const asio::error_code& read, std::size_t length) {
                                   if (!read) {
                                       answer = c.buffer.substr(0, length - 1);
                                       c.buffer.erase(0, length);
                                   }
                                   done = true;
                               });
    });
    RunUntil(c.io, c.socket, done, wait);
    if (!c.socket.is_open()) c.connected = false;
    return answer;
}

int QemuLauncher::Start(bool paused, const std::string& machine, const std::string& firmware,
                        std::string& problem) {
    if (!m_connection->connected) {
        problem = "cannot reach the QEMU launcher at " + Address();
        return 0;
    }
    std::string hex;
    for (const unsigned char byte : firmware) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    const std::string answer =
        Ask(std::string("start ") + (paused ? "1 " : "0 ") + machine + " " + hex, std::chrono::seconds(20));
    constexpr std::string_view kPort = "port ";
    if (answer.rfind(kPort, 0) == 0) return std::atoi(answer.c_str() + kPort.size());
    problem = answer.empty() ? "the QEMU launcher did not answer" : "the QEMU launcher: " + answer;
    return 0;
}

bool QemuLauncher::Running() { return Ask("running", std::chrono::seconds(10)) == "yes"; }

void QemuLauncher::Kill() { Ask("kill", std::chrono::seconds(10)); }
