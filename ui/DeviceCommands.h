// SPDX-License-Identifier: MIT
#pragma once
// The window's commands on the installed packs' devices: Open device...
// (File menu), which reads the packs on a thread of its own (CDeviceScan)
// and shows the chooser over their devices; Pack folders... (Settings menu);
// a device of Open recent reopened by its name; a .pack file's devices in the
// chooser. The device chosen is handed to the window, which opens its map.
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "packs/DeviceCatalog.h"
#include "ui/DeviceChooser.h"
#include "ui/DeviceScan.h"
#include "ui/PackFoldersDlg.h"

class CAppSettings;
class QAction;
class QWidget;

class CDeviceCommands : public QObject {
public:
    using Open = std::function<void(const DeviceChoice& choice)>;
    explicit CDeviceCommands(Open open) : m_open(std::move(open)) {}

    // Makes the commands' actions in `window`, whose settings name the user's pack folders.
    void Attach(QWidget& window, CAppSettings& settings);

    QAction* OpenDeviceAction() const { return m_openDeviceAction; }
    QAction* PackFoldersAction() const { return m_packFoldersAction; }

    // Open device...: reads the installed packs, then shows the chooser.
    void ChooseInstalledDevice();
    // The chooser over the devices of the .pack file `packFile`.
    void ChooseInPackFile(const std::string& packFile);
    // Opens the device NAME[:PROCESSOR] names, as the installed packs have it now.
    void Reopen(const std::string& nameAndProcessor);
    // Pack folders...: the user's folders, kept on OK.
    void EditPackFolders();

    // What is open now, for tests: the chooser, the folders dialog, the scan.
    CDeviceChooser* Chooser() const { return m_chooser; }
    CPackFoldersDlg* FoldersDialog() const { return m_foldersDlg; }
    CDeviceScan* Scan() const { return m_scan; }
    // How the installed packs are read now: the user's folders and the
    // environment's roots, through the index in the cache folder.
    CDeviceScan::Scan InstalledScan() const;
    // Replaces it (tests hold a scan back to cancel it); an empty one restores it.
    void SetScan(CDeviceScan::Scan scan) { m_scanOverride = std::move(scan); }

private:
    // Reads the installed packs and gives `then` their devices; a failure
    // other than the user's cancel is told in a box.
    void WithInstalledDevices(std::function<void(const DeviceCatalog&)> then);
    void ShowChooser(const DeviceCatalog& catalog, const QString& where);

    Open m_open;
    QWidget* m_window = nullptr;
    CAppSettings* m_settings = nullptr;
    CDeviceScan* m_scan = nullptr;
    CDeviceScan::Scan m_scanOverride;
    QAction* m_openDeviceAction = nullptr;
    QAction* m_packFoldersAction = nullptr;
    QPointer<CDeviceChooser> m_chooser;
    QPointer<CPackFoldersDlg> m_foldersDlg;
};
