// SPDX-License-Identifier: MIT
#pragma once
// Points every variable the pack roots and the index's cache folder depend
// on (HOME, LOCALAPPDATA, XDG_DATA_HOME, XDG_CACHE_HOME, CMSIS_PACK_ROOT) at
// folders of the test's own for as long as it lives, so no test reads the
// packs of the machine it runs on or writes its cache.
#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FilePaths.h"
#include "tests/TempDir.h"

class PackHome {
public:
    // `cmsisPackRoot` is CMSIS_PACK_ROOT; empty leaves it unset.
    explicit PackHome(const std::string& cmsisPackRoot = {}) {
        Set("HOME", Folder("home"));
        Set("LOCALAPPDATA", Folder("local"));
        Set("XDG_DATA_HOME", Folder("data"));
        Set("XDG_CACHE_HOME", Folder("cache"));
        Set("CMSIS_PACK_ROOT", cmsisPackRoot.empty() ? std::optional<std::string>() : cmsisPackRoot);
    }
    ~PackHome() {
        for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it) {
            if (it->second)
                qputenv(it->first, QByteArray::fromStdString(*it->second));
            else
                qunsetenv(it->first);
        }
    }
    PackHome(const PackHome&) = delete;
    PackHome& operator=(const PackHome&) = delete;

    // The folder XDG_CACHE_HOME names, as UTF-8.
    std::string CacheHome() const { return Utf8FromPath(m_dir.Path() / "cache"); }

private:
    std::string Folder(const char* name) const {
        std::filesystem::create_directories(m_dir.Path() / name);
        return Utf8FromPath(m_dir.Path() / name);
    }
    void Set(const char* name, const std::optional<std::string>& value) {
        m_previous.emplace_back(name, qEnvironmentVariableIsSet(name)
                                          ? std::optional<std::string>(qgetenv(name).toStdString())
                                          : std::nullopt);
        if (value)
            qputenv(name, QByteArray::fromStdString(*value));
        else
            qunsetenv(name);
    }

    TempDir m_dir;
    std::vector<std::pair<const char*, std::optional<std::string>>> m_previous;
};
