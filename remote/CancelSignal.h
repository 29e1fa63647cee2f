// SPDX-License-Identifier: MIT
#pragma once
// A flag another thread raises to stop a request under way (the window's
// Escape). It is an eventfd, so a connection waits on it in the same poll as
// on its socket and wakes at once.
class CCancelSignal {
public:
    CCancelSignal();
    ~CCancelSignal();
    CCancelSignal(const CCancelSignal&) = delete;
    CCancelSignal& operator=(const CCancelSignal&) = delete;

    // Safe from any thread; stays raised until Reset().
    void Cancel();
    // Lowers the flag; call before starting the next request.
    void Reset();
    bool IsCancelled() const;
    // Readable while the flag is raised.
    int Fd() const { return m_fd; }

private:
    int m_fd;
};
