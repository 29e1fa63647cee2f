// SPDX-License-Identifier: MIT
#include "ui/ChipLink.h"

#include <QMetaObject>
#include <QtGlobal>

#include "remote/PacketTrace.h"

CChipLink::CChipLink(QObject* parent) : QObject(parent) {
    // TAVLIN_TRACE=FILE writes every packet of the window's connections to FILE.
    const QByteArray path = qgetenv("TAVLIN_TRACE");
    if (path.isEmpty()) return;
    auto trace = CPacketTrace::OpenFile(path.toStdString());
    if (trace) {
        m_client.SetTrace(std::move(trace.Value()));
    } else {
        qWarning("tavlin: %s", trace.Text().c_str());
    }
}

CChipLink::~CChipLink() {
    m_cancel.Cancel();
    if (m_thread.joinable()) m_thread.join();
    m_client.Disconnect();
}

void CChipLink::SetTimeout(std::chrono::milliseconds timeout) {
    if (!m_busy) m_client.SetTimeout(timeout);
}

bool CChipLink::Start(std::function<void(CGdbClient&)> work, std::function<void()> done) {
    if (m_busy) return false;
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
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool CChipLink::Connect(const std::string& endpoint, std::function<void(Status)> done) {
    return Run<Status>(
        [this, endpoint](CGdbClient& client) { return client.Connect(endpoint, &m_cancel); }, std::move(done));
}

bool CChipLink::Disconnect(std::function<void()> done) {
    return Start([](CGdbClient& client) { client.Disconnect(); }, std::move(done));
}
