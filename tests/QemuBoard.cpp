// SPDX-License-Identifier: MIT
#include "tests/QemuBoard.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <asio.hpp>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "remote/GdbClient.h"
#include "tests/QemuLauncher.h"

int FreeLoopbackPort() {
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor(io);
    const asio::ip::tcp::endpoint any(asio::ip::address_v4::loopback(), 0);
    asio::error_code error;
    acceptor.open(any.protocol(), error);
    acceptor.bind(any, error);
    return error ? 0 : acceptor.local_endpoint(error).port();
}

namespace {

// Initial SP 0x20001000, reset vector 0x9 (thumb), and at 0x8 "b ." (0xE7FE).
std::string LoopFirmware() {
    const std::uint8_t image[] = {0x00, 0x10, 0x00, 0x20, 0x09, 0x00, 0x00, 0x00, 0xFE, 0xE7, 0x00, 0x00};
    return std::string(reinterpret_cast<const char*>(image), sizeof image);
}

}  // namespace

#ifndef _WIN32

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

std::string QemuBoard::FindQemu() { return FindOnPath("qemu-system-arm"); }

const char* QemuBoard::MissingReason() { return "qemu-system-arm is not installed"; }

QemuBoard::QemuBoard(bool paused, const std::string& machine, const std::string& image) {
    const std::string qemu = FindQemu();
    if (qemu.empty()) {
        m_problem = MissingReason();
        return;
    }
    char directory[] = "/tmp/tavlin-qemu-XXXXXX";
    if (!mkdtemp(directory)) {
        m_problem = "cannot make a temporary directory";
        return;
    }
    m_directory = directory;
    const std::string firmware = m_directory + "/loop.bin";
    std::ofstream(firmware, std::ios::binary) << (image.empty() ? LoopFirmware() : image);
    m_port = FreeLoopbackPort();
    const std::string gdb = "tcp:127.0.0.1:" + std::to_string(m_port);
    const std::string log = m_directory + "/qemu.log";

    m_pid = fork();
    if (m_pid == 0) {
        const int null = open("/dev/null", O_RDONLY);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, 0);
        dup2(out, 1);
        dup2(out, 2);
        std::vector<const char*> argv{qemu.c_str(), "-M", machine.c_str()};
        if (paused) argv.push_back("-S");
        for (const char* arg : {"-kernel", firmware.c_str(), "-nographic", "-monitor", "none", "-serial", "none",
                                "-gdb", gdb.c_str()}) {
            argv.push_back(arg);
        }
        argv.push_back(nullptr);
        execv(qemu.c_str(), const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    if (m_pid < 0) m_problem = "cannot start qemu-system-arm";
}

void QemuBoard::Kill() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

QemuBoard::~QemuBoard() {
    Kill();
    if (!m_directory.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
}

bool QemuBoard::Running() {
    return m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == 0;
}

#else  // Windows: QEMU runs on the Linux side, started by scripts/qemu-launcher.

// No Linux program (gdb-multiarch) is found from a Windows program.
std::string FindOnPath(const std::string&) { return {}; }

std::string QemuBoard::FindQemu() { return QemuLauncher::Address(); }

const char* QemuBoard::MissingReason() {
    return "a Windows program cannot start QEMU: scripts/test-windows starts it on the Linux side "
           "and names its launcher in TAVLIN_QEMU_LAUNCHER";
}

QemuBoard::QemuBoard(bool paused, const std::string& machine, const std::string& image) {
    if (FindQemu().empty()) {
        m_problem = MissingReason();
        return;
    }
    m_launcher = std::make_unique<QemuLauncher>();
    m_port = m_launcher->Start(paused, machine, image.empty() ? LoopFirmware() : image, m_problem);
}

void QemuBoard::Kill() {
    if (m_launcher) m_launcher->Kill();
}

QemuBoard::~QemuBoard() = default;

bool QemuBoard::Running() { return m_launcher && m_port != 0 && m_launcher->Running(); }

#endif

std::string QemuBoard::Connect(CGdbClient& client, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const Status status = client.Connect(Endpoint());
        if (status.Ok()) return {};
        if (!Running()) return "qemu-system-arm ended: " + status.Text();
        if (std::chrono::steady_clock::now() > deadline) return status.Text();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
