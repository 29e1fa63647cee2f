// SPDX-License-Identifier: MIT
#pragma once
// The Windows side of QemuBoard: a Windows program cannot start Linux's
// qemu-system-arm, so scripts/test-windows runs scripts/qemu-launcher on the
// Linux side and names its address in TAVLIN_QEMU_LAUNCHER ("127.0.0.1:PORT").
// One connection is one board: "start PAUSED MACHINE FIRMWARE-HEX" answers
// "port N" (QEMU's GDB server) or "error TEXT"; "running" answers "yes" or
// "no"; "kill" ends QEMU and answers "killed"; closing the connection ends
// QEMU too. Every request has a deadline.
#include <chrono>
#include <memory>
#include <string>

class QemuLauncher {
public:
    // The launcher's address from TAVLIN_QEMU_LAUNCHER, or empty.
    static std::string Address();

    QemuLauncher();
    ~QemuLauncher();  // closes the connection: the launcher ends QEMU
    QemuLauncher(const QemuLauncher&) = delete;
    QemuLauncher& operator=(const QemuLauncher&) = delete;

    // QEMU's GDB port, or 0 with `problem` saying why.
    int Start(bool paused, const std::string& machine, const std::string& firmware, std::string& problem);
    bool Running();
    void Kill();

private:
    // Sends `request` and gives the answer's line; empty when the connection
    // failed or `wait` passed first.
    std::string Ask(const std::string& request, std::chrono::milliseconds wait);

    struct Connection;
    std::unique_ptr<Connection> m_connection;
};
