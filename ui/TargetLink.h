// SPDX-License-Identifier: MIT
#pragma once
// The window's connection to a GDB server. One request at a time runs on a
// thread of its own, so the window never waits for a server; its result comes
// back on the window's thread. Cancel (Escape) stops the request under way at
// once; every exchange also has the client's deadline. While connected and
// idle, the link's thread waits on the connection for the server's
// notifications (a bridged GDB session's "Stop:..." and "Running:..."),
// without polling: a request stops the wait and starts it again after.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "remote/CancelSignal.h"
#include "remote/GdbClient.h"

class CTargetLink : public QObject {
public:
    explicit CTargetLink(QObject* parent = nullptr);
    ~CTargetLink() override;  // cancels and waits for the request under way, then detaches

    bool IsBusy() const { return m_busy; }
    // As the last request left it; "localhost:3333" while connected.
    bool IsConnected() const { return m_connected; }
    const std::string& Where() const { return m_where; }

    // Runs `work` with the client on the link's thread, then `done` with what
    // it gave on this object's thread. False (and nothing runs) while another
    // request is under way.
    template <typename T>
    bool Run(std::function<T(CGdbClient&)> work, std::function<void(T)> done) {
        auto result = std::make_shared<std::optional<T>>();
        return Start([work = std::move(work), result](CGdbClient& client) { result->emplace(work(client)); },
                     [done = std::move(done), result] { done(std::move(**result)); });
    }
    // Connects to HOST:PORT (after disconnecting from any server).
    bool Connect(const std::string& endpoint, std::function<void(Status)> done);
    bool Disconnect(std::function<void()> done);
    // Stops the request under way; it ends with a problem that says so.
    void Cancel() { m_cancel.Cancel(); }
    // `notified` runs on this object's thread with each notification's
    // payload; `lost` when the connection is lost while idle.
    void SetNotificationHandler(std::function<void(std::string)> notified, std::function<void()> lost);
    std::chrono::milliseconds Timeout() const { return m_client.Timeout(); }
    void SetTimeout(std::chrono::milliseconds timeout);

private:
    bool Start(std::function<void(CGdbClient&)> work, std::function<void()> done);
    void StartIdleWait();
    void StopIdleWait();
    void IdleWait();

    CGdbClient m_client;  // used only on the link's thread while a request runs
    CCancelSignal m_cancel;
    std::thread m_thread;
    std::thread m_idleThread;  // waits for notifications while no request runs
    std::mutex m_idleMutex;    // orders the idle wait's end against its restart
    bool m_stopIdle = false;
    std::function<void(std::string)> m_notified;
    std::function<void()> m_lost;
    std::atomic<bool> m_busy{false};
    bool m_connected = false;
    std::string m_where;
};
