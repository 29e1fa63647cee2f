// SPDX-License-Identifier: MIT
#pragma once
// What tavlin keeps between runs: the recently opened maps, the window's
// place and size, the tree's column widths, the last GDB server, the last
// folder values came from and the user's pack folders. Kept in
// tavlin/tavlin.conf under the XDG config folder ($XDG_CONFIG_HOME, or
// ~/.config), and written out at every change, so a tavlin that is killed
// loses nothing.
#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CAppSettings {
public:
    static constexpr int kRecentMaps = 10;

    // The settings file of the user now, read again at each start; empty
    // where the settings are kept in the system's own store (Windows).
    static QString DefaultFile();
    // The settings in `file`, an INI file; in the system's own store
    // (QSettings' native form, for tavlin/tavlin) when `file` is empty.
    explicit CAppSettings(const QString& file = DefaultFile());
    // The settings in `store`, wherever it keeps them.
    explicit CAppSettings(std::unique_ptr<QSettings> store);

    // Where and how the settings are kept: the file or registry key, and the form.
    QString Location() const { return m_settings->fileName(); }
    QSettings::Format Form() const { return m_settings->format(); }

    // Most recent first, at most kRecentMaps, each path once.
    std::vector<std::string> RecentMaps() const;
    void AddRecentMap(const std::string& path);

    std::optional<QRect> WindowGeometry() const;
    // A place given as a rectangle alone: what Qt kept of the window before (WindowState) is dropped.
    void SetWindowGeometry(const QRect& geometry);
    // What QWidget::saveGeometry() gives for the window (its screen, whether it
    // was maximised), kept beside its rectangle, which older settings hold alone.
    QByteArray WindowState() const;
    void SetWindowState(const QByteArray& state, const QRect& geometry);

    // Whether the window was once made wide enough for a map's columns; after that its remembered size wins.
    bool FittedToMap() const;
    void SetFittedToMap();

    QList<int> ColumnWidths() const;
    void SetColumnWidths(const QList<int>& widths);

    std::string LastServer() const;
    void SetLastServer(const std::string& server);

    std::string LastValuesFolder() const;
    void SetLastValuesFolder(const std::string& folder);

    // The folders the user added to look for CMSIS packs in, searched before
    // $CMSIS_PACK_ROOT and the tools' own (ui/InstalledPacks.h).
    QStringList PackFolders() const;
    void SetPackFolders(const QStringList& folders);

private:
    void Write(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
};
