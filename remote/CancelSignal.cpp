// SPDX-License-Identifier: MIT
#include "remote/CancelSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

CCancelSignal::CCancelSignal() : m_fd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CCancelSignal::~CCancelSignal() {
    if (m_fd >= 0) close(m_fd);
}

void CCancelSignal::Cancel() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(m_fd, &one, sizeof one);
}

void CCancelSignal::Reset() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_fd, &count, sizeof count);
}

bool CCancelSignal::IsCancelled() const {
    pollfd entry{m_fd, POLLIN, 0};
    return poll(&entry, 1, 0) == 1;
}
