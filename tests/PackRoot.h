// SPDX-License-Identifier: MIT
#pragma once
// A pack root the test writes itself: packs laid out VENDOR/NAME/VERSION/
// VENDOR.NAME.pdsc with the files they hold, under a fresh temporary folder.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/FilePaths.h"
#include "tests/TempDir.h"
#include "tests/ZipWriter.h"

// A file a pack holds: its name inside the pack ('/' between parts) and its bytes.
struct PackFile {
    std::string name;
    std::string bytes;
};

// A pdsc's text: the package's vendor, name and releases around `devices`
// (the <devices> element's content).
inline std::string PdscText(const std::string& vendor, const std::string& name,
                            const std::vector<std::string>& releases, const std::string& devices) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package schemaVersion=\"1.7\">\n  <vendor>" +
                       vendor + "</vendor>\n  <name>" + name + "</name>\n  <releases>\n";
    for (const std::string& release : releases) text += "    <release version=\"" + release + "\">notes</release>\n";
    return text + "  </releases>\n  <devices>\n" + devices + "\n  </devices>\n</package>\n";
}

// A small SVD text naming one device, enough for the SVD loader.
inline std::string PackSvdText(const std::string& device) {
    return "<?xml version=\"1.0\"?>\n<device><name>" + device +
           "</name><addressUnitBits>8</addressUnitBits><width>32</width><peripherals><peripheral><name>GPIO</name>"
           "<baseAddress>0x40000000</baseAddress><registers><register><name>ODR</name><addressOffset>0</addressOffset>"
           "<size>32</size></register></registers></peripheral></peripherals></device>\n";
}

class PackRootDir {
public:
    // The root's folder, as UTF-8.
    std::string Folder() const { return Utf8FromPath(m_dir.Path()); }
    // A folder beside the root's packs (another root, a cache), made, as UTF-8.
    std::string SubFolder(const std::string& name) const {
        std::filesystem::create_directories(m_dir.Path() / PathFromUtf8(name));
        return Utf8FromPath(m_dir.Path() / PathFromUtf8(name));
    }

    // Writes the pack VENDOR/NAME/VERSION under `root` (a folder of this
    // directory, "" for its top) with its pdsc and files; returns the pack's folder.
    std::string AddPack(const std::string& root, const std::string& vendor, const std::string& name,
                        const std::string& version, const std::string& pdsc, const std::vector<PackFile>& files = {}) const {
        const std::string folder = (root.empty() ? "" : root + "/") + vendor + "/" + name + "/" + version;
        Write(folder + "/" + vendor + "." + name + ".pdsc", pdsc);
        for (const PackFile& file : files) Write(folder + "/" + file.name, file.bytes);
        return Utf8FromPath(m_dir.Path() / PathFromUtf8(folder));
    }

    // Writes a .pack file `file` (relative to the directory): a zip archive of
    // the pdsc (named `pdscName`) and the files, under `top` ("" for the
    // archive's top, else "FOLDER/"); returns its path.
    std::string AddPackArchive(const std::string& file, const std::string& pdscName, const std::string& pdsc,
                               const std::vector<PackFile>& files = {}, const std::string& top = "") const {
        ZipWriter zip;
        zip.Add(top + pdscName, pdsc);
        for (const PackFile& packFile : files) zip.Add(top + packFile.name, packFile.bytes);
        return Write(file, zip.Finish());
    }

    // Writes `bytes` to `name` (relative to the directory), making its folders; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = m_dir.Path() / PathFromUtf8(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Utf8FromPath(path);
    }

private:
    TempDir m_dir;
};
