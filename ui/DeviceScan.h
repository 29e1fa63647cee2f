// SPDX-License-Identifier: MIT
#pragma once
// Reads the installed packs' devices on a thread of its own, so a cold scan
// of hundreds of pdscs leaves the window responsive: a progress box (pdscs
// done of all) shows once the scan takes a moment, and its Cancel stops the
// scan, which then leaves the index as it was. The result comes back on the
// window's thread.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "packs/DeviceCatalog.h"
#include "packs/PackIndex.h"
#include "problem/Result.h"

class QProgressDialog;
class QTimer;
class QWidget;

class CDeviceScan : public QObject {
public:
    // Runs on the scan's thread: reads the devices, calling `progress` as
    // pdscs are done, and stops with kCancelled once `cancel` is raised.
    using Scan = std::function<Result<DeviceCatalog>(const PackScanProgress& progress, const std::atomic<bool>* cancel)>;
    using Done = std::function<void(Result<DeviceCatalog>)>;

    explicit CDeviceScan(QWidget& window);
    // Cancels a scan under way and waits for its thread.
    ~CDeviceScan() override;

    // Starts `scan`; `done` runs on the window's thread with what it gave
    // (kCancelled when the user cancelled). False while another scan runs.
    bool Start(Scan scan, Done done);
    bool IsRunning() const { return m_thread.joinable(); }
    // The progress box of the scan under way; null when none runs.
    QProgressDialog* Progress() const { return m_progress; }

private:
    void ShowProgress();
    void Finish();

    QWidget& m_window;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<std::size_t> m_done{0};
    std::atomic<std::size_t> m_total{0};
    std::mutex m_mutex;
    std::optional<Result<DeviceCatalog>> m_result;  // under m_mutex
    Done m_onDone;
    QProgressDialog* m_progress = nullptr;
    QTimer* m_ticker = nullptr;
};
