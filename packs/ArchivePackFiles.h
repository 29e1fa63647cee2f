// SPDX-License-Identifier: MIT
#pragma once
// The files of a pack held as a .pack file (a zip archive), read in place:
// never unpacked to disk. The pack's top is the folder of its pdsc: the
// archive's top where a .pdsc lies there (as CMSIS packs are made), else the
// folder of the only .pdsc the archive holds.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "archive/ZipArchive.h"
#include "packs/PackFiles.h"

class ArchivePackFiles final : public PackFiles {
public:
    // Opens the archive named in UTF-8 and finds its pdsc. `expectedPdsc`
    // ("VENDOR.NAME.pdsc", from the file's name) chooses among several at the
    // top. Fails with the archive's problem for a damaged one, and with
    // kBadPackDescription for one holding no .pdsc, or several and none at
    // its top that is the one expected.
    static Result<std::unique_ptr<ArchivePackFiles>> Open(std::string_view utf8Path, std::string_view expectedPdsc = {});
    // The same over an archive already open (`where` names it in messages).
    static Result<std::unique_ptr<ArchivePackFiles>> Over(CZipArchive archive, std::string where,
                                                          std::string_view expectedPdsc = {});

    // The pdsc's name, relative to the pack's top.
    const std::string& PdscName() const { return m_pdsc; }

    // An entry missing is kCannotRead; one beyond `limit` kTooLarge; a hostile
    // or damaged entry keeps the archive's own problem.
    Result<std::string> Read(std::string_view relativePath, std::uint64_t limit) const override;
    bool Exists(std::string_view relativePath) const override;
    std::string Where() const override { return m_where; }

private:
    ArchivePackFiles(CZipArchive archive, std::string where, std::string top, std::string pdsc);
    // The archive's own name of a file of the pack: exact, else one that differs only in case
    // (packs are made on systems that ignore it); empty when it holds none.
    std::string EntryName(std::string_view relativePath) const;

    CZipArchive m_archive;
    std::string m_where;
    std::string m_top;   // "" or "folder/" inside the archive
    std::string m_pdsc;
    std::unordered_map<std::string, std::string> m_byLoweredName;  // the first entry of each name, ignoring case
};
