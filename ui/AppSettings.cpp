// SPDX-License-Identifier: MIT
#include "ui/AppSettings.h"

#include <QStandardPaths>
#include <QStringList>
#include <QtGlobal>
#include <algorithm>

namespace {
const QString kRecent = QStringLiteral("recentMaps");
const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kFitted = QStringLiteral("window/fittedToMap");
const QString kColumns = QStringLiteral("window/columnWidths");
const QString kServer = QStringLiteral("target/lastServer");
const QString kValuesFolder = QStringLiteral("values/lastFolder");
const QString kPackFolders = QStringLiteral("packs/folders");
}  // namespace

QString CAppSettings::DefaultFile() {
#ifdef Q_OS_WIN
    // Windows programs keep their settings in the registry; an XDG config
    // folder given on purpose (MSYS2 users, the tests) still holds them.
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/tavlin/tavlin.conf");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/tavlin/tavlin.conf");
#endif
}

CAppSettings::CAppSettings(const QString& file)
    : m_settings(file.isEmpty() ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                              QStringLiteral("tavlin"), QStringLiteral("tavlin"))
                                : std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

CAppSettings::CAppSettings(std::unique_ptr<QSettings> store) : m_settings(std::move(store)) {}

void CAppSettings::Write(const QString& key, const QVariant& value) {
    if (m_settings->value(key) == value) return;
    m_settings->setValue(key, value);
    m_settings->sync();
}

std::vector<std::string> CAppSettings::RecentMaps() const {
    std::vector<std::string> maps;
    for (const QString& path : m_settings->value(kRecent).toStringList())
        if (!path.isEmpty() && static_cast<int>(maps.size()) < kRecentMaps) maps.push_back(path.toStdString());
    return maps;
}

void CAppSettings::AddRecentMap(const std::string& path) {
    QStringList maps = m_settings->value(kRecent).toStringList();
    const QString added = QString::fromStdString(path);
    maps.removeAll(added);
    maps.prepend(added);
    while (maps.size() > kRecentMaps) maps.removeLast();
    Write(kRecent, maps);
}

std::optional<QRect> CAppSettings::WindowGeometry() const {
    const QRect geometry = m_settings->value(kGeometry).toRect();
    if (!geometry.isValid() || geometry.width() < 100 || geometry.height() < 100) return std::nullopt;
    return geometry;
}

void CAppSettings::SetWindowGeometry(const QRect& geometry) {
    if (m_settings->contains(kState)) m_settings->remove(kState);
    Write(kGeometry, geometry);
}

QByteArray CAppSettings::WindowState() const { return m_settings->value(kState).toByteArray(); }

void CAppSettings::SetWindowState(const QByteArray& state, const QRect& geometry) {
    if (m_settings->value(kState).toByteArray() != state) m_settings->setValue(kState, state);
    Write(kGeometry, geometry);
    m_settings->sync();
}

bool CAppSettings::FittedToMap() const { return m_settings->value(kFitted).toBool(); }

void CAppSettings::SetFittedToMap() { Write(kFitted, true); }

QList<int> CAppSettings::ColumnWidths() const {
    QList<int> widths;
    // Widths stand by their column's place, so the first one not given ends them.
    for (const QVariant& width : m_settings->value(kColumns).toList()) {
        const int w = width.toInt();
        if (w <= 0) break;
        widths.append(std::min(w, 4000));
    }
    return widths;
}

void CAppSettings::SetColumnWidths(const QList<int>& widths) {
    QVariantList list;
    for (const int width : widths) list.append(width);
    Write(kColumns, list);
}

std::string CAppSettings::LastServer() const { return m_settings->value(kServer).toString().toStdString(); }

void CAppSettings::SetLastServer(const std::string& server) { Write(kServer, QString::fromStdString(server)); }

std::string CAppSettings::LastValuesFolder() const { return m_settings->value(kValuesFolder).toString().toStdString(); }

void CAppSettings::SetLastValuesFolder(const std::string& folder) {
    Write(kValuesFolder, QString::fromStdString(folder));
}

QStringList CAppSettings::PackFolders() const { return m_settings->value(kPackFolders).toStringList(); }

void CAppSettings::SetPackFolders(const QStringList& folders) { Write(kPackFolders, folders); }
