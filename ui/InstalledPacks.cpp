// SPDX-License-Identifier: MIT
#include "ui/InstalledPacks.h"

#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "platform/Environment.h"
#include "ui/AppSettings.h"

std::string PackCacheFolder() {
    if (const auto folder = EnvironmentUtf8("TAVLIN_CACHE_DIR"); folder && !folder->empty()) return *folder;
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toUtf8().toStdString();
}

std::vector<PackRoot> InstalledPackRoots(const CAppSettings& settings) {
    std::vector<std::string> userFolders;
    for (const QString& folder : settings.PackFolders())
        if (!folder.isEmpty()) userFolders.push_back(folder.toUtf8().toStdString());
    return PackRootsFor(userFolders, PackEnvironmentOfThisSystem());
}

Result<DeviceCatalog> InstalledDevices(const std::vector<PackRoot>& roots, const std::string& cacheFolder,
                                       const PackScanProgress& progress, const std::atomic<bool>* cancel) {
    Result<PackIndexScan> scan = PackIndex(cacheFolder).Scan(roots, progress, cancel);
    if (!scan) return Result<DeviceCatalog>::FailureOf(scan);
    return Result<DeviceCatalog>::Success(DeviceCatalog(std::move(scan.Value())));
}

Result<DeviceCatalog> InstalledDevices(const CAppSettings& settings, const PackScanProgress& progress,
                                       const std::atomic<bool>* cancel) {
    return InstalledDevices(InstalledPackRoots(settings), PackCacheFolder(), progress, cancel);
}
