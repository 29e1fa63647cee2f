// SPDX-License-Identifier: MIT
#pragma once
// Debian's qemu-system-arm emulating the STM32F405 of a Netduino Plus 2,
// with its GDB server on a free local port, for tests and benchmarks of the
// GDB client. The firmware is a few bytes written at start: a stack pointer
// in SRAM and a reset vector to a branch to itself, so the core has something
// to run once the client detaches. The process is killed and reaped when the
// object goes away. On Windows the board comes from the Linux side, through
// tests/QemuLauncher.h.
#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

class CGdbClient;
class QemuLauncher;

// A loopback TCP port free now (bound and released), for a server to take a
// moment later, or for a connection nobody answers.
int FreeLoopbackPort();

// The path of the program `name` in a folder of PATH, or empty.
std::string FindOnPath(const std::string& name);

class QemuBoard {
public:
    // The path of qemu-system-arm on PATH (on Windows: the launcher's
    // address), or empty.
    static std::string FindQemu();
    // Why there is no QEMU, when FindQemu() is empty.
    static const char* MissingReason();

    // `paused`: started with -S, as if just reset; otherwise the core runs
    // until a debugger connects, and QEMU then stops it. `machine` is QEMU's
    // board; `firmware` the bytes it loads at address 0 (empty: the loop).
    explicit QemuBoard(bool paused = true, const std::string& machine = "netduinoplus2",
                       const std::string& firmware = {});
    ~QemuBoard();
    QemuBoard(const QemuBoard&) = delete;
    QemuBoard& operator=(const QemuBoard&) = delete;

    // Empty when QEMU was started.
    const std::string& Problem() const { return m_problem; }
    std::string Endpoint() const { return "127.0.0.1:" + std::to_string(m_port); }
    // Connects `client`, retrying while QEMU is not listening yet; the
    // client's problem when `wait` passes first.
    std::string Connect(CGdbClient& client, std::chrono::milliseconds wait = std::chrono::seconds(10));
    bool Running();
    // Ends QEMU at once, as a server that dies mid-session.
    void Kill();

private:
    std::string m_directory;
    int m_port = 0;
    pid_t m_pid = -1;
    std::unique_ptr<QemuLauncher> m_launcher;  // Windows only
    std::string m_problem;
};

// Skips a test on a developer's machine without QEMU, saying why. scripts/test-all
// installs it and sets TAVLIN_REQUIRE_QEMU, so there a missing QEMU fails the test.
#define REQUIRE_QEMU()                                                                   \
    if (QemuBoard::FindQemu().empty()) {                                                 \
        if (std::getenv("TAVLIN_REQUIRE_QEMU")) FAIL() << QemuBoard::MissingReason();   \
        GTEST_SKIP() << QemuBoard::MissingReason();                                      \
    }
