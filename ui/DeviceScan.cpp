// SPDX-License-Identifier: MIT
#include "ui/DeviceScan.h"

#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

namespace {
// A scan of a warm index ends well within this, and shows no box.
constexpr int kProgressAfterMs = 300;
constexpr int kTickMs = 50;
}  // namespace

CDeviceScan::CDeviceScan(QWidget& window) : QObject(&window), m_window(window) {}

CDeviceScan::~CDeviceScan() {
    m_cancel = true;
    if (m_thread.joinable()) m_thread.join();
}

bool CDeviceScan::Start(Scan scan, Done done) {
    if (IsRunning()) return false;
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_result.reset();
    m_onDone = std::move(done);

    m_progress = new QProgressDialog(tr("Reading the installed packs..."), tr("Cancel"), 0, 0, &m_window);
    m_progress->setWindowTitle(tr("Open device"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setAutoReset(false);
    m_progress->setAutoClose(false);
    m_progress->setMinimumDuration(kProgressAfterMs);
    m_progress->setValue(0);  // starts the wait after which the box shows
    connect(m_progress, &QProgressDialog::canceled, this, [this] { m_cancel = true; });
    m_ticker = new QTimer(this);
    connect(m_ticker, &QTimer::timeout, this, [this] { ShowProgress(); });
    m_ticker->start(kTickMs);

    m_thread = std::thread([this, scan = std::move(scan)] {
        const PackScanProgress progress = [this](std::size_t done, std::size_t total) {
            m_done = done;
            m_total = total;
        };
        Result<DeviceCatalog> result = scan(progress, &m_cancel);
        {
            const std::lock_guard lock(m_mutex);
            m_result.emplace(std::move(result));
        }
        // Posted to this object, on the window's thread; dropped if it is gone by then.
        QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
    });
    return true;
}

void CDeviceScan::ShowProgress() {
    if (!m_progress) return;
    const auto total = static_cast<int>(std::min<std::size_t>(m_total, INT32_MAX));
    if (total > 0 && m_progress->maximum() != total) m_progress->setMaximum(total);
    if (total > 0) m_progress->setValue(static_cast<int>(std::min<std::size_t>(m_done, static_cast<std::size_t>(total))));
}

void CDeviceScan::Finish() {
    if (!m_thread.joinable()) return;
    m_thread.join();
    m_ticker->deleteLater();
    m_ticker = nullptr;
    m_progress->hide();
    m_progress->deleteLater();
    m_progress = nullptr;
    std::optional<Result<DeviceCatalog>> result;
    {
        const std::lock_guard lock(m_mutex);
        result.swap(m_result);
    }
    Done done = std::move(m_onDone);
    if (done && result) done(std::move(*result));
}
