// SPDX-License-Identifier: MIT
#pragma once
// The environment a test that finds installed packs runs in: HOME,
// LOCALAPPDATA and XDG_DATA_HOME at empty folders of its own, so the
// machine's real packs never come in; CMSIS_PACK_ROOT at the root the test
// names (or unset); the pack index's cache (TAVLIN_CACHE_DIR) in a folder of
// its own. Everything is set back when the object goes away.
#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FilePaths.h"
#include "tests/TempDir.h"

class PackTestEnvironment {
public:
    explicit PackTestEnvironment(const std::string& cmsisPackRoot = {}) {
        Set("HOME", Utf8FromPath(m_home.Path()));
        Set("USERPROFILE", Utf8FromPath(m_home.Path()));
        Set("LOCALAPPDATA", Utf8FromPath(m_home.Path()));
        Set("XDG_DATA_HOME", Utf8FromPath(m_home.Path()));
        Set("TAVLIN_CACHE_DIR", Utf8FromPath(m_cache.Path()));
        Set("CMSIS_PACK_ROOT", cmsisPackRoot);
    }
    ~PackTestEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second)
                qputenv(it->first.c_str(), QByteArray::fromStdString(*it->second));
            else
                qunsetenv(it->first.c_str());
        }
    }
    PackTestEnvironment(const PackTestEnvironment&) = delete;
    PackTestEnvironment& operator=(const PackTestEnvironment&) = delete;

    // The index's folder, as UTF-8.
    std::string CacheFolder() const { return Utf8FromPath(m_cache.Path()); }
    // The empty home folder, as UTF-8.
    std::string HomeFolder() const { return Utf8FromPath(m_home.Path()); }

private:
    // Sets `name` to `value`; an empty value unsets it.
    void Set(const char* name, const std::string& value) {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name)
                                       ? std::optional<std::string>(qgetenv(name).toStdString())
                                       : std::nullopt);
        if (value.empty())
            qunsetenv(name);
        else
            qputenv(name, QByteArray::fromStdString(value));
    }

    TempDir m_home;
    TempDir m_cache;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};
