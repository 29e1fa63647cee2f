// SPDX-License-Identifier: MIT
#include "tests/QemuBoard.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "remote/GdbClient.h"

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

namespace {

// Initial SP 0x20001000, reset vector 0x9 (thumb), and at 0x8 "b ." (0xE7FE).
std::string LoopFirmware() {
    const std::uint8_t image[] = {0x00, 0x10, 0x00, 0x20, 0x09, 0x00, 0x00, 0x00, 0xFE, 0xE7, 0x00, 0x00};
    return std::string(reinterpret_cast<const char*>(image), sizeof image);
}

}  // namespace

std::string QemuBoard::FindQemu() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/qemu-system-arm";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

QemuBoard::QemuBoard(bool paused, const std::string& machine, const std::string& image) {
    const std::string qemu = FindQemu();
    if (qemu.empty()) {
        m_problem = "qemu-system-arm is not installed";
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
