// SPDX-License-Identifier: MIT
#include "ui/TargetLink.h"

#include <QMetaObject>
#include <QtGlobal>

#include "problem/Problem.h"

#include "remote/PacketTrace.h"

CTargetLink::CTargetLink(QObject* parent) : QObject(parent) {
    // TAVLIN_TRACE=FILE writes every packet of the window's connections to FILE.
    // Read as the system holds it (UTF-16 on Windows), not through a code page.
    const QByteArray path = qEnvironmentVariable("TAVLIN_TRACE").toUtf8();
    if (path.isEmpty()) return;
    auto trace = CPacketTrace::OpenFile(path.toStdString());
    if (trace) {
        m_client.SetTrace(std::move(trace.Value()));
    } else {
        qWarning("tavlin: %s", trace.Text().c_str());
    }
}

CTargetLink::~CTargetLink() {
    StopIdleWait();
    m_cancel.Cancel();
    if (m_thread.joinable()) m_thread.join();
    m_client.Disconnect();
}

void CTargetLink::SetTimeout(std::chrono::milliseconds timeout) {
    if (!m_busy) m_client.SetTimeout(timeout);
}

bool CTargetLink::Start(std::function<void(CGdbClient&)> work, std::function<void()> done) {
    if (m_busy) return false;
    StopIdleWait();
    // The thread of the last request has handed on its result, so it is ending.
    if (m_thread.joinable()) m_thread.join();
    m_busy = true;
    m_cancel.Reset();
    m_thread = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work(m_client);
        const bool connected = m_client.IsConnected();
        std::string where = connected ? m_client.Where() : std::string();
        // Queued to this object: dropped if the window is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, connected, where = std::move(where), done = std::move(done)] {
                m_connected = connected;
                m_where = where;
                m_busy = false;
                done();
                if (!m_busy && m_connected && m_notified) StartIdleWait();
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool CTargetLink::Connect(const std::string& endpoint, std::function<void(Status)> done) {
    return Run<Status>(
        [this, endpoint](CGdbClient& client) { return client.Connect(endpoint, &m_cancel); }, std::move(done));
}

bool CTargetLink::Disconnect(std::function<void()> done) {
    return Start([](CGdbClient& client) { client.Disconnect(); }, std::move(done));
}

void CTargetLink::SetNotificationHandler(std::function<void(std::string)> notified, std::function<void()> lost) {
    m_notified = std::move(notified);
    m_lost = std::move(lost);
    if (!m_busy && m_connected && m_notified && !m_idleThread.joinable()) StartIdleWait();
}

void CTargetLink::StartIdleWait() {
    StopIdleWait();
    if (m_thread.joinable()) m_thread.join();
    m_stopIdle = false;
    m_idleThread = std::thread([this] { IdleWait(); });
}

void CTargetLink::StopIdleWait() {
    if (!m_idleThread.joinable()) return;
    {
        const std::lock_guard lock(m_idleMutex);
        m_stopIdle = true;
        m_cancel.Cancel();
    }
    m_idleThread.join();
}

void CTargetLink::IdleWait() {
    // Long enough that an idle window wakes only for a notification or a request.
    constexpr std::chrono::hours kIdleWait{1};
    for (;;) {
        {
            // An Escape may have raised the signal meanwhile; only StopIdleWait ends the wait.
            const std::lock_guard lock(m_idleMutex);
            if (m_stopIdle) return;
            m_cancel.Reset();
        }
        auto notification = m_client.WaitForNotification(kIdleWait);
        if (notification) {
            QMetaObject::invokeMethod(
                this, [this, payload = std::move(notification.Value())] { if (m_notified) m_notified(payload); },
                Qt::QueuedConnection);
            continue;
        }
        if (notification.Failed(ProblemCode::kTimedOut) || notification.Failed(ProblemCode::kCancelled)) continue;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_busy) return;  // the request under way tells what became of the connection
                m_connected = false;
                m_where.clear();
                if (m_lost) m_lost();
            },
            Qt::QueuedConnection);
        return;
    }
}
