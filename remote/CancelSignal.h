// SPDX-License-Identifier: MIT
#pragma once
// A flag another thread raises to stop a request under way (the window's
// Escape). A connection that waits registers a waker while it waits, so the
// raise wakes it at once rather than at its deadline.
#include <atomic>
#include <functional>
#include <mutex>

class CCancelSignal {
public:
    CCancelSignal() = default;
    CCancelSignal(const CCancelSignal&) = delete;
    CCancelSignal& operator=(const CCancelSignal&) = delete;

    // Safe from any thread; stays raised until Reset().
    void Cancel();
    // Lowers the flag; call before starting the next request.
    void Reset() { m_raised = false; }
    bool IsCancelled() const { return m_raised; }

    // While alive, Cancel() also calls `wake` (from the cancelling thread).
    // One waiter at a time: the connection that is waiting.
    class Waker {
    public:
        Waker(const CCancelSignal* signal, std::function<void()> wake);
        ~Waker();
        Waker(const Waker&) = delete;
        Waker& operator=(const Waker&) = delete;

    private:
        const CCancelSignal* m_signal;
    };

private:
    std::atomic<bool> m_raised{false};
    mutable std::mutex m_mutex;
    mutable std::function<void()> m_wake;
};
