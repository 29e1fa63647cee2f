// SPDX-License-Identifier: MIT
#include "ui/DeviceCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QWidget>

#include "framework/MessageBox.h"
#include "ui/AppSettings.h"
#include "ui/DeviceChooser.h"
#include "ui/InstalledPacks.h"
#include "ui/PackFileDevices.h"
#include "ui/PackFoldersDlg.h"

void CDeviceCommands::Attach(QWidget& window, CAppSettings& settings) {
    m_window = &window;
    m_settings = &settings;
    m_scan = new CDeviceScan(window);
    const auto make = [&window, this](const QString& text, const QKeySequence& keys, void (CDeviceCommands::*run)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        // Wherever the keyboard is in the window, as the menu bar's other commands.
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
        connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
        return action;
    };
    // Ctrl+D: D for device; no other command of the window takes it.
    m_openDeviceAction = make(tr("Open &device..."), QKeySequence(Qt::CTRL | Qt::Key_D),
                              &CDeviceCommands::ChooseInstalledDevice);
    m_packFoldersAction = make(tr("&Pack folders..."), QKeySequence(), &CDeviceCommands::EditPackFolders);
}

CDeviceScan::Scan CDeviceCommands::InstalledScan() const {
    if (m_scanOverride) return m_scanOverride;
    // The roots are read here, on the window's thread, where the settings live.
    return [roots = InstalledPackRoots(*m_settings), cache = PackCacheFolder()](const PackScanProgress& progress,
                                                                                const std::atomic<bool>* cancel) {
        return InstalledDevices(roots, cache, progress, cancel);
    };
}

void CDeviceCommands::WithInstalledDevices(std::function<void(const DeviceCatalog&)> then) {
    if (!m_scan || m_scan->IsRunning()) return;
    m_scan->Start(InstalledScan(), [then = std::move(then)](Result<DeviceCatalog> devices) {
        // A cancelled scan leaves everything as it was, the index too.
        if (devices.Failed(ProblemCode::kCancelled)) return;
        if (!devices.Ok()) {
            AfxMessageBox(devices.Text().c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        then(devices.Value());
    });
}

void CDeviceCommands::ChooseInstalledDevice() {
    WithInstalledDevices([this](const DeviceCatalog& catalog) {
        if (catalog.DeviceCount() == 0) {
            std::string text = "No installed pack describes a device. tavlin looked in:";
            for (const SearchedRoot& root : catalog.SearchedRoots())
                text += "\n" + root.root.folder + " (" + root.root.origin + (root.exists ? "" : ", not there") + ")";
            text += "\n\nAdd the folder your packs are in with Pack folders... in the Settings menu.";
            AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
            return;
        }
        ShowChooser(catalog, tr("the installed packs"));
    });
}

void CDeviceCommands::ChooseInPackFile(const std::string& packFile) {
    const Result<DeviceCatalog> devices = DevicesOfPackFile(packFile);
    if (!devices.Ok()) {
        AfxMessageBox(devices.Text().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ShowChooser(devices.Value(), QFileInfo(QString::fromUtf8(packFile.c_str())).fileName());
}

void CDeviceCommands::Reopen(const std::string& nameAndProcessor) {
    WithInstalledDevices([this, nameAndProcessor](const DeviceCatalog& catalog) {
        const Result<DeviceChoice> choice = catalog.Find(nameAndProcessor);
        if (!choice.Ok()) {
            AfxMessageBox(choice.Text().c_str(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        m_open(choice.Value());
    });
}

void CDeviceCommands::ShowChooser(const DeviceCatalog& catalog, const QString& where) {
    if (m_chooser) m_chooser->close();
    m_chooser = new CDeviceChooser(catalog.Matching(""), where, m_window);
    connect(m_chooser, &CDeviceChooser::deviceChosen, this, [this](const DeviceChoice& choice) { m_open(choice); });
    m_chooser->open();
}

void CDeviceCommands::EditPackFolders() {
    if (m_foldersDlg) {
        m_foldersDlg->activateWindow();
        return;
    }
    m_foldersDlg = new CPackFoldersDlg(m_settings->PackFolders(), m_window);
    connect(m_foldersDlg, &QDialog::accepted, this, [this] {
        if (m_foldersDlg) m_settings->SetPackFolders(m_foldersDlg->Folders());
    });
    m_foldersDlg->open();
}
