// SPDX-License-Identifier: MIT
#include "ui/InstalledDevicesBridge.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "packs/PackRoots.h"
#include "ui/AppSettings.h"

namespace {
const QString kPackFolders = QStringLiteral("packFolders");
}  // namespace

std::vector<std::string> UserPackFolders(const CAppSettings& settings) {
    const QSettings store(settings.Location(), settings.Form());
    std::vector<std::string> folders;
    for (const QString& folder : store.value(kPackFolders).toStringList())
        if (!folder.isEmpty()) folders.push_back(folder.toUtf8().toStdString());
    return folders;
}

void SetUserPackFolders(CAppSettings& settings, const std::vector<std::string>& folders) {
    QSettings store(settings.Location(), settings.Form());
    QStringList list;
    for (const std::string& folder : folders) list.push_back(QString::fromUtf8(folder.c_str()));
    store.setValue(kPackFolders, list);
    store.sync();
}

CDeviceScan::Scan InstalledDevicesScan(const CAppSettings& settings) {
    const std::vector<PackRoot> roots = PackRootsFor(UserPackFolders(settings), PackEnvironmentOfThisSystem());
    const std::string cache =
        QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath("packs").toUtf8().toStdString();
    return [roots, cache](const PackScanProgress& progress, const std::atomic<bool>* cancel) -> Result<DeviceCatalog> {
        Result<PackIndexScan> scan = PackIndex(cache).Scan(roots, progress, cancel);
        if (!scan.Ok()) return Result<DeviceCatalog>::FailureOf(scan);
        return Result<DeviceCatalog>::Success(DeviceCatalog(std::move(scan.Value())));
    };
}
