// SPDX-License-Identifier: MIT
#include "remote/PacketTrace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/FilePaths.h"

CPacketTrace::CPacketTrace(std::ostream& out) : m_out(&out), m_start(std::chrono::steady_clock::now()) {}

Result<std::shared_ptr<CPacketTrace>> CPacketTrace::OpenFile(const std::string& path) {
    using Opened = Result<std::shared_ptr<CPacketTrace>>;
    auto file = std::make_unique<std::ofstream>(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!*file) {
        return Opened::Failure(ProblemCode::kCannotWrite,
                               "cannot write the packet trace " + path + ": " + std::strerror(errno));
    }
    auto trace = std::make_shared<CPacketTrace>(*file);
    trace->m_file = std::move(file);
    return Opened::Success(std::move(trace));
}

void CPacketTrace::Line(std::string_view what, std::string_view bytes) {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld.%06lld ", static_cast<long long>(elapsed / 1000000),
                  static_cast<long long>(elapsed % 1000000));
    std::string line = stamp;
    line += "[remote] ";
    line += what;
    // Bytes a terminal would act on are written as GDB writes them, \xNN.
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            line += escaped;
        } else {
            line += c;
        }
    }
    line += '\n';
    // Flushed each line so a trace stays whole when the program is stopped.
    m_out->write(line.data(), static_cast<std::streamsize>(line.size()));
    m_out->flush();
}
