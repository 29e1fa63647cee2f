// SPDX-License-Identifier: MIT
#include "remote/CancelSignal.h"

#include <utility>

void CCancelSignal::Cancel() {
    m_raised = true;
    const std::lock_guard lock(m_mutex);
    if (m_wake) m_wake();
}

CCancelSignal::Waker::Waker(const CCancelSignal* signal, std::function<void()> wake) : m_signal(signal) {
    if (m_signal == nullptr) return;
    const std::lock_guard lock(m_signal->m_mutex);
    m_signal->m_wake = std::move(wake);
}

CCancelSignal::Waker::~Waker() {
    if (m_signal == nullptr) return;
    const std::lock_guard lock(m_signal->m_mutex);
    m_signal->m_wake = nullptr;
}
